// Fuzz target: the record conversion's reading of what the address conversion libraries answer, over
// arbitrary record fields.
#include "maintenance/CnvAdPos.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < sizeof(TCvtAdrsResult) + sizeof(TYAdrsToResult) + 2)
        return 0;
    const uint8_t* cvt = data;
    const uint8_t* found = cvt + sizeof(TCvtAdrsResult);
    const uint8_t flags = found[sizeof(TYAdrsToResult)];
    const char* text = reinterpret_cast<const char*>(found + sizeof(TYAdrsToResult) + 1);
    const size_t textSize = size - sizeof(TCvtAdrsResult) - sizeof(TYAdrsToResult) - 1;

    TAdrsPosCalls calls;
    calls.cvtAdrs = [&](const TCvtAdrsRequest&, TCvtAdrsResult& r) {
        std::memcpy(&r, cvt, sizeof r);
        return (flags & 1) != 0;
    };
    calls.yAdrsTo = [&](const TYAdrsToRequest&, TYAdrsToResult& r) {
        std::memcpy(&r, found, sizeof r);
        return (flags & 2) != 0;
    };
    calls.keepPostalCode = [&](const AnsiString&) { return (flags & 4) != 0; };
    // The record's fields: the rest of the input cut into seven parts at NUL bytes, each as wide as the
    // table allows at most.
    TAdrsPosFields record;
    AnsiString* fields[] = {&record.Tdfkn, &record.Adrs1,   &record.Adrs2,   &record.Adrs3,
                            &record.Pos,   &record.JisCode, &record.AdrsKana};
    const int widths[] = {8, 32, 100, 116, 7, 5, 100};
    const QList<QByteArray> parts = QByteArray(text, qsizetype(textSize)).split('\0');
    for (qsizetype i = 0; i < parts.size() && i < 7; ++i)
        *fields[i] = parts[i].left(widths[i]);
    ConvertRecord(record, calls);
    for (int i = 0; i < 7; ++i)
        if (fields[i]->size() > widths[i])
            __builtin_trap(); // a value the table would refuse
    return 0;
}
