// Fuzz target: cuts and splits of CP932 text at character boundaries.
//
// The first two bytes give the cut length and the split mode, the rest is the text.
#include "FuzzSupport.h"

#include "core/AppSub.h"
#include "platform/Cp932.h"

namespace {

// True when pos is a character boundary of bytes, walking from the start.
bool IsBoundary(const QByteArray& bytes, qsizetype pos)
{
    qsizetype at = 0;
    while (at < pos)
        at += Cp932::charLengthAt(bytes, int(at));
    return at == pos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int maxBytes = data[0];
    const int mode = data[1] % 4;
    const QByteArray text = Fuzz::Bytes(data + 2, size - 2);

    const QByteArray cut = Cp932::cutAtBoundary(text, maxBytes);
    Fuzz::Check(cut.size() <= maxBytes && text.startsWith(cut) && IsBoundary(text, cut.size()));
    // The cut is the largest such prefix: the next character no longer fits.
    if (cut.size() < text.size())
        Fuzz::Check(cut.size() + Cp932::charLengthAt(text, int(cut.size())) > maxBytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int start = Cp932::charStart(text, int(i));
        Fuzz::Check(start <= i && IsBoundary(text, start) && i < start + Cp932::charLengthAt(text, start));
        Fuzz::Check(!(Cp932::isLeadByteAt(text, int(i)) && Cp932::isTrailByteAt(text, int(i))));
    }

    const QString wide = Cp932::toUnicode(text);
    Fuzz::Check(Cp932::byteLength(Cp932::cutToBytes(wide, maxBytes)) <= maxBytes);

    QList<AnsiString> parts{text};
    SplitText(parts, 3, mode, maxBytes, mode == 1 ? AnsiString("\x81\x41") : AnsiString(","));
    return 0;
}
