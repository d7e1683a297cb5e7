// Fuzz target: ".gpl" files and "DrRect.def". A file is either refused with the invalid-file message or read
// into a document that saves and reads back the same bytes; the default frames file never fails outward.
#include "FuzzSupport.h"

#include "designers/LayoutDocument.h"
#include "platform/MessageSeam.h"
#include "platform/Printers.h"

#include <QGuiApplication>

namespace {

QString lastMessage;

void setUp()
{
    static int argc = 1;
    static char name[] = "LayoutFileFuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        MsgSeam::SetHandler([](const MsgSeam::Request& request) {
            lastMessage = request.text;
            return int(MsgSeam::IdOk);
        });
        TPrinterList::Instance().SetPrinters({});
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    setUp();
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const QString path = Fuzz::ScratchFolder() + QStringLiteral("fuzz.gpl");
    Fuzz::WriteFile(path, bytes);
    lastMessage.clear();
    TLayoutDocument document;
    if (document.LoadFromFile(path)) {
        TPrintFilePreamble preamble;
        Fuzz::Check(ReadPrintFilePreamble(bytes, LayoutFileSignature, LayoutFileHeaderSize, preamble) > 0);
        const QByteArray written = document.EncodeLayoutFile(preamble.Preview);
        Fuzz::WriteFile(path, written);
        TLayoutDocument again;
        Fuzz::Check(again.LoadFromFile(path));
        Fuzz::Check(again.EncodeLayoutFile(preamble.Preview) == written);
    } else {
        Fuzz::Check(lastMessage == InvalidFileMessage);
    }

    TDefaultRects rects;
    LoadDefaultRects(path, rects);
    EncodeDefaultRects(rects);
    return 0;
}
