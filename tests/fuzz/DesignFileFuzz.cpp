// Fuzz target: ".gpd" files and "Dsn.fmt" tables. A design file is either refused or read into objects that
// write back to bytes which read again to the same bytes; a table reads only whole records and writes back
// the records it read.
#include "FuzzSupport.h"

#include "designers/DesignFile.h"
#include "designers/DesignPaperFormat.h"

#include <QGuiApplication>

namespace {

void setUp()
{
    static int argc = 1;
    static char name[] = "DesignFileFuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

QByteArray Reencode(const TDesignFileContents& contents)
{
    TDesignFileSource source;
    source.PaperIndex = contents.Header.PaperIndex;
    source.Settings = contents.Settings;
    source.Background = contents.Background.get();
    std::vector<TDrawRect*> zOrder(contents.Sender ? 1 : 0);
    for (const auto& list : contents.Frames)
        zOrder.resize(zOrder.size() + list.size());
    for (int kind = 0; kind < FreeKindCount; ++kind)
        for (const TStackedFrame& entry : contents.Frames[size_t(kind)]) {
            source.Frames[size_t(kind)].push_back(entry.Frame.get());
            zOrder[size_t(entry.ZOrder)] = entry.Frame.get();
        }
    if (contents.Sender) {
        source.Sender = contents.Sender.get();
        zOrder[size_t(contents.SenderZOrder)] = contents.Sender.get();
    }
    source.ZOrder = &zOrder;
    return TDesignFile::Encode(source, contents.Preview);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    setUp();
    const QByteArray bytes = Fuzz::Bytes(data, size);
    TDesignFileContents contents;
    if (TDesignFile::Decode(bytes, contents)) {
        const QByteArray written = Reencode(contents);
        TDesignFileContents again;
        Fuzz::Check(TDesignFile::Decode(written, again));
        Fuzz::Check(Reencode(again) == written);
    }

    std::vector<TDesignPaperFormat> formats;
    if (DecodeDesignFormats(bytes, formats)) {
        std::vector<TDesignPaperFormat> again;
        Fuzz::Check(DecodeDesignFormats(EncodeDesignFormats(formats), again) && again == formats);
        for (int kind : {0, 1})
            for (const TDesignFormatEntry& entry : DesignFormatList(formats, kind))
                Fuzz::Check(entry.Index >= 0 && size_t(entry.Index) < formats.size());
    } else {
        Fuzz::Check(formats.empty());
    }
    return 0;
}
