// layoutrender SCENE.json OUT.pdf: prints the frames of a layout scene on one full PDF page.
// layoutrender (--layout FILE | --new INDEX) [--adrs ADRS.DB] [--sender SENDER.DB] [--save FILE] [--pdf
// OUT.pdf [print choices]] [--png OUT.png]: opens a layout (".gpl", label ".gpa" or card ".gpc") or makes a new
// one on a "Lyt.fmt" record (negative: a custom paper; a label sheet or card paper makes a label or card layout),
// merges the table's records and saves it. Every layout prints through the print loop with the print wizard's
// choices (its defaults when not given): every record, or a card's sender once.
// --png writes a label or card layout's preview picture.
#include "platform/IniFile.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "designers/LabelDocument.h"
#include "designers/LabelPrint.h"
#include "designers/LayoutDocument.h"
#include "designers/LayoutPrint.h"
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

// The wizard's choices from the options; false and the reason for a value out of its range.
bool printChoices(const QCommandLineParser& options, TPrintSettings& settings, QString* error)
{
    auto number = [&](const char* name, int low, int high, qint32& value) {
        if (!options.isSet(name))
            return true;
        bool ok = false;
        const int n = options.value(name).toInt(&ok);
        if (!ok || n < low || n > high) {
            *error = QStringLiteral("--%1 takes a number from %2 to %3").arg(name).arg(low).arg(high);
            return false;
        }
        value = n;
        return true;
    };
    if (!number("prints", 1, 100, settings.Prints) || !number("start", 1, 1000, settings.Start) ||
        !number("flap", 0, 500, settings.Flap))
        return false;
    if (options.isSet("offset")) {
        const QStringList parts = options.value("offset").split(u',');
        bool okX = false, okY = false;
        const int x = parts.size() == 2 ? parts[0].toInt(&okX) : 0;
        const int y = parts.size() == 2 ? parts[1].toInt(&okY) : 0;
        if (!okX || !okY || qAbs(x) > 500 || qAbs(y) > 500) {
            *error = QStringLiteral("--offset takes X,Y in 0.1 mm, each from -500 to 500");
            return false;
        }
        settings.Offset = QPoint(x, y);
    }
    settings.Reverse = options.isSet("reverse");
    return true;
}

// The mode a file or paper asks for: 0 the address side, else a label or card document.
quint8 FileMode(const QString& path)
{
    if (path.endsWith(QStringLiteral(".gpa"), Qt::CaseInsensitive))
        return LabelModeLabel;
    return path.endsWith(QStringLiteral(".gpc"), Qt::CaseInsensitive) ? LabelModeCard : 0;
}

quint8 PaperMode(int index)
{
    int kind = -1;
    if (index >= 0) {
        TStandardFormats formats;
        if (LoadLayoutFormats(LayoutFormatPath(), formats) == FormatFileState::Read &&
            size_t(index) < formats.Formats.size())
            kind = formats.Formats[size_t(index)].Kind;
    } else {
        TCustomFormats formats;
        LoadCustomFormats(CustomFormatPath(), formats);
        const int at = formats.Find(-index);
        if (at >= 0)
            kind = formats.Formats[size_t(at)].Format.Kind;
    }
    return kind == PaperLabel ? LabelModeLabel : kind == PaperCard ? LabelModeCard : 0;
}

// Prints the layout into the PDF with the wizard's choices: every record of the table, or the layout as shown
// when it does not merge records.
int printPdf(TLayoutDocument& document, TPrinter& printer, const QCommandLineParser& options,
             const TMemoryAddressList& list, const QString& title)
{
    TPrintSettings settings;
    QString error;
    if (!printChoices(options, settings, &error))
        return fail(error);
    // Flap and reverse printing are for envelopes, as in the wizard.
    if (document.Paper.Kind != PaperEnvelope && (settings.Flap != 0 || settings.Reverse))
        return fail(QStringLiteral("--flap and --reverse are for envelopes"));
    for (int i = 0; i < list.GetRecordCount(); ++i)
        settings.RecNos.push_back(list.GetRecNo(i));
    const TPrintResult result = RunPrintJob(*MakePrintClient(document), printer, settings, title);
    if (!result.Ok)
        return fail(result.Error);
    std::printf("%d page(s), %d piece(s)\n", result.Pages, result.Pieces);
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
    const quint8 mode = isNew ? PaperMode(newIndex) : FileMode(options.value("layout"));
    if (mode != 0) {
        std::unique_ptr<TLayoutDocument> label =
            isNew ? NewLabelDocument(context, mode, newIndex, mode == LabelModeCard ? 2 : 1)
                  : LoadLabelDocument(context, mode, options.value("layout"));
        if (!label)
            return isNew ? fail(QStringLiteral("no paper of index %1").arg(newIndex)) : 1;
        if (options.isSet("save") && !label->SaveToFile(options.value("save")))
            return 1;
        if (!pdf.isEmpty())
            if (const int failed = printPdf(*label, *printer, options, list, LabelTitle(mode)))
                return failed;
        if (options.isSet("png") && !label->CreateThumbnail(1).save(options.value("png")))
            return fail(QStringLiteral("cannot write %1").arg(options.value("png")));
        return 0;
    }
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
    if (options.isSet("barcode")) {
        const int points = options.value("barcode").toInt();
        const auto size = std::find(BarcodeSizes.begin(), BarcodeSizes.end(), points);
        if (size == BarcodeSizes.end())
            return fail(QStringLiteral("--barcode takes a size of 8, 9, 10 or 11 points"));
        if (!ShowPaperBarcode(document, int(size - BarcodeSizes.begin())))
            return fail(QStringLiteral("the paper has no room for the customer barcode"));
    }
    if (options.isSet("save") && !document.SaveToFile(options.value("save")))
        return 1;
    return pdf.isEmpty() ? 0 : printPdf(document, *printer, options, list, QStringLiteral("宛名印刷"));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt takes "-reverse" for itself: read the arguments before it does.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QGuiApplication app(argc, argv);
    // No message boxes without widgets: messages go to stderr.
    MsgSeam::SetHandler([](const MsgSeam::Request& request) {
        std::fprintf(stderr, "layoutrender: %s\n", request.text.simplified().toUtf8().constData());
        return int(MsgSeam::IdOk);
    });
    if (args.size() == 3 && !args[1].startsWith(QStringLiteral("--")))
        return renderScene(args);

    QCommandLineParser options;
    options.addOptions({{"layout", "A .gpl file to open.", "FILE"},
                        {"new", "A new layout on this paper index.", "INDEX"},
                        {"adrs", "Merge the records of this address table.", "ADRS.DB"},
                        {"sender", "The sender table (with Sender.ini beside it).", "SENDER.DB"},
                        {"save", "Save the layout as this .gpl file.", "FILE"},
                        {"pdf", "Print the records into this PDF.", "OUT.pdf"},
                        {"prints", "Prints per record (1-100).", "N"},
                        {"start", "Start face on the first sheet.", "K"},
                        {"offset", "Print offset in 0.1 mm.", "X,Y"},
                        {"flap", "Envelope flap length in 0.1 mm (0-500).", "N"},
                        {"reverse", "Print the envelope upside down."},
                        {"barcode", "Show the customer barcode at this size in points (8-11).", "SIZE"},
                        {"png", "Write the preview picture of a label or card layout.", "OUT.png"}});
    if (args.size() < 2 || !options.parse(args) || !options.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "usage: layoutrender SCENE.json OUT.pdf\n"
                             "       layoutrender (--layout FILE | --new INDEX) [--adrs ADRS.DB] "
                             "[--sender SENDER.DB] [--save FILE] [--barcode SIZE]\n"
                             "         [--pdf OUT.pdf [--prints N] [--start K] [--offset X,Y] [--flap N] "
                             "[--reverse]] [--png OUT.png]\n");
        return 2;
    }
    return renderLayout(options);
}
