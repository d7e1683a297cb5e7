// Fuzz target: layout scenes. Any bytes either make frames or raise the scene error; the frames that come out
// are laid out and printed on a recording printer.
#include "layoutobjects/LayoutScene.h"
#include "platform/MessageSeam.h"
#include "platform/Printers.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

namespace {

TPrinter* recordingPrinter()
{
    static int argc = 1;
    static char name[] = "LayoutSceneFuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Frames may report (a library that does not load); there are no widgets for boxes.
        MsgSeam::SetHandler([](const MsgSeam::Request&) { return int(MsgSeam::IdOk); });
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("Recorder"), 96, 96));
    TPrinter* printer = printers.back().get();
    TPrinterList::Instance().SetPrinters(std::move(printers));
    return printer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TPrinter* printer = recordingPrinter();
    try {
        const TLayoutScene scene =
            ReadLayoutScene(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        QString error;
        PrintLayoutScene(scene, *printer, &error);
    } catch (const ESceneError&) {
    }
    return 0;
}
