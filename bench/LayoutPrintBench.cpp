// Postcards printed to PDF through the print loop at 600 dpi: a new postcard layout with the customer
// barcode, merged from a generated "Adrs.DB" of 1,000 rows (persons with joint names, companies with
// departments and titles) and a "Sender.DB": total time, time per postcard and peak RSS at 100 and 1,000
// postcards; beside it the same 1,000 pages without merging (the layout as shown) and 1,000 address labels
// on A4 sheets of 12 (84 pages). Set TOVAREL_BENCH_OUT to a folder to keep the PDFs. Run pinned to two cores: taskset -c 0,1 bench_LayoutPrintBench
#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "designers/LabelDocument.h"
#include "designers/LabelPrint.h"
#include "designers/LayoutDocument.h"
#include "designers/LayoutPrint.h"
#include "layoutobjects/BarcodeRect.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/Cp932.h"
#include "platform/MessageSeam.h"
#include "platform/Printers.h"
#include "platform/TableEngine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>
#include <sys/resource.h>

namespace {

constexpr int kRows = 1000;

void WriteAddressBook(const QString& folder)
{
    static const char16_t* const surnames[] = {u"山田", u"佐藤", u"鈴木", u"高橋", u"渡辺", u"伊藤", u"中村"};
    static const char16_t* const given[] = {u"太郎", u"花子", u"一郎", u"美咲", u"健太", u"由美", u"誠"};
    static const char16_t* const corps[] = {u"株式会社東都商事", u"北斗精機株式会社", u"青葉建設有限会社",
                                            u"みなと物産株式会社"};
    static const char16_t* const depts[] = {u"営業部", u"総務部第二課", u"開発本部"};
    static const char16_t* const posts[] = {u"部長", u"課長", u"主任"};
    // Real towns with their postal codes, so that every record gets its customer barcode.
    static const char16_t* const prefs[] = {u"東京都", u"大阪府", u"北海道", u"福岡県", u"愛知県"};
    static const char16_t* const cities[] = {u"千代田区霞が関", u"大阪市北区梅田", u"札幌市中央区北一条西",
                                             u"福岡市博多区博多駅前", u"名古屋市中村区名駅"};
    static const char* const postals[] = {"1000013", "5300001", "0600001", "8120011", "4500002"};
    static const char16_t* const buildings[] = {u"見本ビルディング", u"第二見本ハイツ", u"サンプルタワー本館",
                                                u""};
    std::mt19937 rng(20261211);
    auto pick = [&](auto& list) {
        return QString::fromUtf16(list[std::uniform_int_distribution<size_t>(0, std::size(list) - 1)(rng)]);
    };
    auto number = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

    Table::createTable(folder + QStringLiteral("Adrs.DB"), AdrsTableDef(), TablePassword);
    Table adrs;
    adrs.setTableName(folder + QStringLiteral("Adrs.DB"));
    adrs.open();
    for (int i = 0; i < kRows; ++i) {
        adrs.append();
        auto set = [&](const QString& field, const QString& text) {
            adrs.fieldByName(field).setAnsi(Cp932::fromUnicode(text));
        };
        const bool person = i % 3 != 0;
        const QString surname = pick(surnames);
        adrs.fieldByName(QStringLiteral("NameKanji")).setAnsi(WideToHexText(surname + u' ' + pick(given)));
        adrs.fieldByName(QStringLiteral("PrivCorp")).setValue(person);
        if (person) {
            for (int j = 1; j <= 2; ++j) {
                adrs.fieldByName(QStringLiteral("Joint%1").arg(j)).setAnsi(WideToHexText(surname + u' ' + pick(given)));
                adrs.fieldByName(QStringLiteral("JointPrint%1").arg(j)).setValue(j == 1 || i % 2 == 0);
            }
        } else {
            set(QStringLiteral("CorpKanji"), pick(corps));
            set(QStringLiteral("Dptmnt"), pick(depts));
            set(QStringLiteral("Post"), pick(posts));
        }
        const int town = number(0, int(std::size(prefs)) - 1);
        set(QStringLiteral("Pos"), QString::fromLatin1(postals[town]));
        set(QStringLiteral("Tdfkn"), QString::fromUtf16(prefs[town]));
        set(QStringLiteral("Adrs1"), QString::fromUtf16(cities[town]));
        set(QStringLiteral("Adrs2"), QStringLiteral("%1-%2-%3").arg(number(1, 9)).arg(number(1, 30)).arg(number(1, 200)));
        const QString building = pick(buildings);
        if (!building.isEmpty())
            set(QStringLiteral("Adrs3"), building + QString::number(number(1, 30)) + QStringLiteral("階"));
        adrs.fieldByName(QStringLiteral("Sender")).setValue(1 + i % 2);
        adrs.post();
    }
    adrs.close();

    Table::createTable(folder + QStringLiteral("Sender.DB"), SenderTableDef(), TablePassword);
    Table sender;
    sender.setTableName(folder + QStringLiteral("Sender.DB"));
    sender.open();
    for (const char16_t* name : {u"見本 一郎", u"見本 花子"}) {
        sender.append();
        sender.fieldByName(QStringLiteral("Name")).setAnsi(Cp932::fromUnicode(QString::fromUtf16(name)));
        sender.fieldByName(QStringLiteral("Pos")).setAnsi("1000013");
        sender.fieldByName(QStringLiteral("Tdfkn")).setAnsi(Cp932::fromUnicode(QStringLiteral("東京都")));
        sender.fieldByName(QStringLiteral("Adrs1")).setAnsi(Cp932::fromUnicode(QStringLiteral("千代田区霞が関1-2-3")));
        sender.fieldByName(QStringLiteral("NamePrint")).setValue(true);
        sender.post();
    }
    sender.close();
}

// The address side as the window has it: the table behind the list, the senders, a postcard with the
// barcode, printing to a PDF file.
struct Fixture
{
    QTemporaryDir work;
    QString out;
    std::unique_ptr<Table> adrs;
    std::unique_ptr<TTableAddressSource> list;
    TMemorySenders senders;
    std::unique_ptr<TPrinterInfo> printerInfo;
    std::unique_ptr<TLayoutDocument> document;
    std::unique_ptr<TLayoutDocument> labels; // A4, 2 × 6 address labels
    TPrinter* printer = nullptr;

    Fixture()
    {
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = work.path() + u'/';
        out = qEnvironmentVariable("TOVAREL_BENCH_OUT", work.path());
        QDir().mkpath(out);
        TableSession::global().addPassword(TablePassword);
        LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        WriteAddressBook(DataFolder);
        adrs = std::make_unique<Table>();
        adrs->setTableName(DataFolder + QStringLiteral("Adrs.DB"));
        adrs->open();
        std::vector<qint32> recNos;
        for (adrs->first(); !adrs->eof(); adrs->next())
            recNos.push_back(qint32(adrs->fieldByName(QStringLiteral("RecNo")).asInteger()));
        list = std::make_unique<TTableAddressSource>(
            *adrs, [recNos] { return int(recNos.size()); },
            [recNos](int i) { return i >= 0 && i < int(recNos.size()) ? recNos[size_t(i)] : -1; },
            [] { return 0; });
        QString error;
        ReadTableRows(DataFolder + QStringLiteral("Sender.DB"), senders.Rows, &error);
        senders.Default = 1;

        std::vector<std::unique_ptr<TPrinter>> printers;
        printers.push_back(std::make_unique<TPdfPrinter>(VirtualPdfPrinterName, out, true, 600));
        printer = printers.back().get();
        TPrinterList::Instance().SetPrinters(std::move(printers));
        printerInfo = std::make_unique<TPrinterInfo>(work.filePath(QStringLiteral("Layout.pi")));

        TLayoutContext context;
        context.Printer = printerInfo.get();
        context.AddressList = list.get();
        context.Senders = &senders;
        document = std::make_unique<TLayoutDocument>(context);
        document->PaperIndex = 0;
        document->LoadPaperFormat();
        document->FitPaperBarcode();
        document->SetIndividualLayout(false, true);
        document->NewLayout();
        ShowPaperBarcode(*document, 3);

        TStandardFormats formats;
        LoadLayoutFormats(LayoutFormatPath(), formats);
        for (size_t i = 0; i < formats.Formats.size() && !labels; ++i) {
            const TPaperFormat& f = formats.Formats[i];
            const TMultiUpSheet sheet = formats.SheetOf(f);
            if (f.Kind == PaperLabel && f.Direction == 0 && sheet.Columns * sheet.Rows == 12)
                labels = NewLabelDocument(context, LabelModeLabel, qint32(i), 1);
        }
    }
    TDataList RecNos(int n) const
    {
        TDataList recNos;
        for (int i = 0; i < n; ++i)
            recNos.push_back(list->GetRecNo(i));
        return recNos;
    }
};

Fixture& TheFixture()
{
    static Fixture fixture;
    return fixture;
}

// Prints as shown: no merge.
class TUnmergedClient : public TLayoutPrintClient
{
public:
    using TLayoutPrintClient::TLayoutPrintClient;
    bool MergesRecords() const override { return false; }
};

double PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Prints the settings through client, once, and reports pages, time per postcard and peak RSS.
void Print(benchmark::State& state, TPrintClient& client, const TPrintSettings& settings, int postcards)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const TPrintResult result =
            RunPrintJob(client, *TheFixture().printer, settings, QStringLiteral("宛名印刷"));
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (!result.Ok)
            state.SkipWithError(result.Error.toStdString().c_str());
        state.counters["pages"] = result.Pages;
        state.counters["ms_per_postcard"] = seconds * 1000.0 / postcards;
        state.counters["peak_rss_MB"] = PeakRssMb();
    }
}

void BM_PrintMerged(benchmark::State& state)
{
    Fixture& f = TheFixture();
    const int n = int(state.range(0));
    TPrintSettings settings;
    settings.RecNos = f.RecNos(n);
    f.document->SetPrintArea(); // the printer takes the postcard again
    TLayoutPrintClient client(*f.document);
    Print(state, client, settings, n);
}
BENCHMARK(BM_PrintMerged)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

void BM_PrintUnmerged(benchmark::State& state)
{
    Fixture& f = TheFixture();
    const int n = int(state.range(0));
    TPrintSettings settings;
    settings.Prints = n;
    f.document->SetPrintArea();
    TUnmergedClient client(*f.document);
    Print(state, client, settings, n);
}
BENCHMARK(BM_PrintUnmerged)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

void BM_PrintLabels(benchmark::State& state)
{
    Fixture& f = TheFixture();
    if (!f.labels) {
        state.SkipWithError("no A4 sheet of 12 labels");
        return;
    }
    const int n = int(state.range(0));
    TPrintSettings settings;
    settings.RecNos = f.RecNos(n);
    f.labels->SetPrintArea(); // the printer takes the sheet
    TLabelPrintClient client(*f.labels);
    Print(state, client, settings, n);
}
BENCHMARK(BM_PrintLabels)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    MsgSeam::SetHandler([](const MsgSeam::Request& request) {
        std::fprintf(stderr, "message: %s\n", request.text.simplified().toUtf8().constData());
        return int(MsgSeam::IdOk);
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
