// Fuzz target: the readers of "Lyt.fmt" and "CstmL.fmt"; whatever they accept must write back to the same lists.
#include "FuzzSupport.h"

#include "layoutobjects/PaperFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    TStandardFormats standard;
    if (DecodeLayoutFile(bytes, standard) == FormatFileState::Read) {
        TStandardFormats again;
        Fuzz::Check(DecodeLayoutFile(EncodeLayoutFile(standard), again) == FormatFileState::Read);
        Fuzz::Check(again.Formats.size() == standard.Formats.size());
        Fuzz::Check(again.Sheets == standard.Sheets);
        for (const TPaperFormat& f : standard.Formats)
            standard.SheetOf(f);
    } else {
        Fuzz::Check(standard.Formats.empty() && standard.Sheets.empty());
    }
    TCustomFormats custom;
    if (DecodeCustomFile(bytes, custom) == FormatFileState::Read) {
        TCustomFormats again;
        Fuzz::Check(DecodeCustomFile(EncodeCustomFile(custom), again) == FormatFileState::Read);
        Fuzz::Check(again.Formats.size() == custom.Formats.size() && again.LastId == custom.LastId);
        // What a dialog then does with the lists.
        if (!custom.Formats.empty()) {
            custom.SheetOf(custom.Formats.front().Format);
            custom.Remove(custom.Formats.front().Id);
        }
    } else {
        Fuzz::Check(custom.Formats.empty() && custom.Sheets.empty());
    }
    return 0;
}
