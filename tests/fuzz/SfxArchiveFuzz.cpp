// Fuzz target: the restorer's reading of its own file (the ELF image's end, then the archive behind it).
#include "CryptSfxArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CryptSfx::Archive archive;
    const size_t end = CryptSfx::ElfImageEnd(data, size);
    if (CryptSfx::ParseArchive(data, size, end, archive)) {
        // Everything the archive points at lies inside the input.
        volatile uint8_t sink = archive.tag[CryptSfx::TagSize - 1] ^ archive.nonce[0] ^ archive.salt[0];
        if (archive.cipherSize > 0)
            sink = sink ^ archive.cipherText[archive.cipherSize - 1];
        (void)sink;
    }
    CryptSfx::ParseArchive(data, size, 0, archive);
    return 0;
}
