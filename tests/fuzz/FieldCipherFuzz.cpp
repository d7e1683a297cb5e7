// Fuzz target: the field cipher reader and the "@XXXX" name form, as they come from a table's fields.
//
// The first byte picks the shape: even takes the rest as the stored text; odd takes the hex of the rest, so
// that the fuzzer reaches the block cipher with well-formed digits.
#include "FuzzSupport.h"

#include "core/AppSub.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray rest = Fuzz::Bytes(data + 1, size - 1);
    const AnsiString stored = data[0] % 2 == 0 ? rest : BytesToHex(rest);
    try {
        const AnsiString plain = DecryptFieldText(stored, FieldCipherKey);
        // What was read enciphers and reads back unchanged.
        Fuzz::Check(DecryptFieldText(EncryptFieldText(plain, FieldCipherKey), FieldCipherKey) == plain);
    } catch (const EFieldCipherError&) {
    }
    try {
        HexTextToWide(stored);
    } catch (const EConvertError&) {
    }
    return 0;
}
