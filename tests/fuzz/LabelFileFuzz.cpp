// Fuzz target: ".gpa" and ".gpc" files. Each file is offered to both modes: it is either refused with the
// invalid-file message or read into a fresh document that encodes, reads back and encodes to the same bytes.
#include "FuzzSupport.h"

#include "designers/LabelDocument.h"
#include "designers/LayoutDocument.h"
#include "platform/MessageSeam.h"
#include "platform/Printers.h"

#include <QGuiApplication>

namespace {

QStringList messages;

void setUp()
{
    static int argc = 1;
    static char name[] = "LabelFileFuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        MsgSeam::SetHandler([](const MsgSeam::Request& request) {
            messages << request.text;
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
    const QString path = Fuzz::ScratchFolder() + QStringLiteral("fuzz.gpa");
    for (const quint8 mode : {LabelModeLabel, LabelModeCard}) {
        Fuzz::WriteFile(path, bytes);
        messages.clear();
        std::unique_ptr<TLayoutDocument> document = LoadLabelDocument(TLayoutContext{}, mode, path);
        if (!document) {
            Fuzz::Check(!messages.isEmpty() && messages.last() == InvalidFileMessage);
            continue;
        }
        const QByteArray written = document->EncodeLayoutFile(QByteArray());
        Fuzz::WriteFile(path, written);
        std::unique_ptr<TLayoutDocument> again = LoadLabelDocument(TLayoutContext{}, mode, path);
        Fuzz::Check(again != nullptr);
        Fuzz::Check(again->EncodeLayoutFile(QByteArray()) == written);
    }
    return 0;
}
