// layoutrender SCENE.json OUT.pdf: prints the frames of a layout scene on one full PDF page.
// layoutrender (--layout FILE | --new INDEX) [--adrs ADRS.DB] [--sender SENDER.DB] [--save FILE] [--pdf
// OUT.pdf]: opens an address-side layout or makes a new one on a "Lyt.fmt" record (negative: a custom paper),
// merges the table's records, saves it and prints one page per record.
#include "platform/IniFile.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "designers/LayoutDocument.h"
#include "layoutobjects/LayoutScene.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/MessageSeam.h"
#include "platform/Printers.h"
#include "platform/TableEngine.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int fail(const QString& text)
{
    std::fprintf(stderr, "layoutrender: %s\n", text.toUtf8().constData());
    return 1;
}

int renderScene(const QStringList& args)
{
    QFile scene(args[1]);
    if (!scene.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(args[1], scene.errorString()));
    QString error;
    if (!RenderLayoutScene(scene.readAll(), args[2], &error))
        return fail(error);
    return 0;
}

int renderLayout(const QCommandLineParser& options)
{
    const bool isNew = options.isSet("new");
    if (isNew == options.isSet("layout"))
        return fail(QStringLiteral("give exactly one of --layout and --new"));
    bool isNumber = false;
    const int newIndex = isNew ? options.value("new").toInt(&isNumber) : 0;
    if (isNew && !isNumber)
        return fail(QStringLiteral("--new takes a paper index"));

    QTemporaryDir work;
    if (ProgramFolder.isEmpty())
        ProgramFolder = QCoreApplication::applicationDirPath() + u'/';
    if (DataRootFolder.isEmpty())
        DataRootFolder = work.path() + u'/';
    if (DataFolder.isEmpty())
        DataFolder = DataRootFolder;

    // Sender telephone numbers are hyphenated as in the program; without the library they stay as stored.
    LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
    TMemoryAddressList list;
    TMemorySenders senders;
    TableSession::global().addPassword(TablePassword);
    QString error;
    if (options.isSet("adrs") && !ReadTableRows(options.value("adrs"), list.Rows, &error))
        return fail(QStringLiteral("cannot read %1: %2").arg(options.value("adrs"), error));
    if (options.isSet("sender")) {
        const QString path = options.value("sender");
        if (!ReadTableRows(path, senders.Rows, &error))
            return fail(QStringLiteral("cannot read %1: %2").arg(path, error));
        TMemIniFile ini(QFileInfo(path).absolutePath() + QStringLiteral("/Sender.ini"));
        senders.Default = ini.ReadInteger("SENDER", "Default", 0);
    }

    // Printing goes to the PDF file (or nowhere) at 600 dpi.
    const QString pdf = options.value("pdf");
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TPdfPrinter>(VirtualPdfPrinterName,
                                                     pdf.isEmpty() ? work.filePath("none.pdf") : pdf, false));
    TPrinter* printer = printers.back().get();
    TPrinterList::Instance().SetPrinters(std::move(printers));
    TPrinterInfo printerInfo(work.filePath("Layout.pi"));

    TLayoutContext context;
    context.Printer = &printerInfo;
    context.AddressList = &list;
    context.Senders = &senders;
    TLayoutDocument document(context);
    if (isNew) {
        document.PaperIndex = newIndex;
        const bool found = newIndex < 0 ? document.LoadCustomPaperFormat() : document.LoadPaperFormat();
        if (!found)
            return fail(QStringLiteral("no paper of index %1").arg(newIndex));
        document.FitPaperBarcode();
        document.SenderDisplayMode = document.Paper.Count1 < 5 ? 1 : 0;
        document.SetIndividualLayout(false, true);
        document.NewLayout();
    } else if (!document.LoadFromFile(options.value("layout"))) {
        return 1;
    }
    if (options.isSet("save") && !document.SaveToFile(options.value("save")))
        return 1;
    if (!pdf.isEmpty()) {
        int pages = 0;
        if (!document.PrintPages(*printer, QStringLiteral("layoutrender"), &pages, &error))
            return fail(error);
        std::printf("%d page(s)\n", pages);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // No message boxes without widgets: messages go to stderr.
    MsgSeam::SetHandler([](const MsgSeam::Request& request) {
        std::fprintf(stderr, "layoutrender: %s\n", request.text.simplified().toUtf8().constData());
        return int(MsgSeam::IdOk);
    });
    const QStringList args = app.arguments();
    if (args.size() == 3 && !args[1].startsWith(QStringLiteral("--")))
        return renderScene(args);

    QCommandLineParser options;
    options.addOptions({{"layout", "A .gpl file to open.", "FILE"},
                        {"new", "A new layout on this paper index.", "INDEX"},
                        {"adrs", "Merge the records of this address table.", "ADRS.DB"},
                        {"sender", "The sender table (with Sender.ini beside it).", "SENDER.DB"},
                        {"save", "Save the layout as this .gpl file.", "FILE"},
                        {"pdf", "Print one page per record into this PDF.", "OUT.pdf"}});
    if (args.size() < 2 || !options.parse(args) || !options.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "usage: layoutrender SCENE.json OUT.pdf\n"
                             "       layoutrender (--layout FILE | --new INDEX) [--adrs ADRS.DB] "
                             "[--sender SENDER.DB] [--save FILE] [--pdf OUT.pdf]\n");
        return 2;
    }
    return renderLayout(options);
}
