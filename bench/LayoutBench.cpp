// Postcard recipient frames for 1,000 generated records at 600 dpi: laying out a postal code, a 3-line
// vertical address and a 3-column vertical name block (name and two joint names, laid out by the vertical
// column engine until the name frame exists); then replaying the renderings onto a 96-dpi postcard image.
#include "layoutobjects/PosRect.h"
#include "platform/Printers.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kRecords = 1000;

struct Record
{
    QString postal;
    QString address[3];
    QString names[3];
};

std::vector<Record> makeRecords()
{
    static const char16_t* const towns[] = {u"東京都千代田区霞が関", u"大阪府大阪市北区梅田",
                                            u"北海道札幌市中央区北一条西", u"福岡県福岡市博多区博多駅前",
                                            u"愛知県名古屋市中村区名駅"};
    static const char16_t* const buildings[] = {u"見本ビルディング", u"第二見本ハイツ",
                                                u"サンプルタワー（本館）", u""};
    static const char16_t* const surnames[] = {u"山田", u"佐藤", u"鈴木", u"高橋", u"渡辺"};
    static const char16_t* const given[] = {u"太郎", u"花子", u"一郎", u"美咲", u"健太"};
    std::mt19937 rng(20261210);
    auto pick = [&](auto& list) {
        return QString::fromUtf16(list[std::uniform_int_distribution<size_t>(0, std::size(list) - 1)(rng)]);
    };
    auto number = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<Record> records(kRecords);
    for (Record& r : records) {
        r.postal = QString::number(number(1000000, 9999999));
        r.address[0] = pick(towns);
        r.address[1] =
            QStringLiteral("%1丁目%2番%3号").arg(number(1, 9)).arg(number(1, 30)).arg(number(1, 200));
        r.address[1] = ToFullWidthW(r.address[1]);
        r.address[2] = pick(buildings);
        if (!r.address[2].isEmpty())
            r.address[2] += ToFullWidthW(QString::number(number(1, 30))) + QStringLiteral("階");
        const QString surname = pick(surnames);
        r.names[0] = surname + u'　' + pick(given) + QStringLiteral("　様");
        r.names[1] = pick(given) + QStringLiteral("　様");
        r.names[2] = pick(given) + QStringLiteral("　様");
    }
    return records;
}

struct Postcard
{
    TPosRect postal;
    TAddressRect address;
    TAddressRect names;

    Postcard()
    {
        postal.SetDesignRect({166, 45, 363, 84});
        address.SetDesignRect({290, 100, 360, 440});
        names.SetDesignRect({150, 100, 280, 440});
        names.SetLevel(5);
        for (TMetaRect* frame : frames())
            frame->UpdateFontHeight();
    }
    std::array<TMetaRect*, 3> frames() { return {&postal, &address, &names}; }
    void Merge(const Record& r)
    {
        postal.SetText(r.postal);
        for (int i = 0; i < 3; ++i) {
            address.SetLine(i, r.address[i]);
            names.SetLine(i, r.names[i]);
        }
    }
    void Render()
    {
        for (TMetaRect* frame : frames())
            frame->UpdateImage(false);
    }
};

void useRecordingPrinter()
{
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("Recorder"), 600, 600));
    TPrinterList::Instance().SetPrinters(std::move(printers));
}

// Layout of one record's three frames, per record.
void BM_LayoutPerRecord(benchmark::State& state)
{
    useRecordingPrinter();
    const std::vector<Record> records = makeRecords();
    Postcard card;
    size_t i = 0;
    for (auto _ : state) {
        card.Merge(records[i++ % records.size()]);
        card.Render();
        benchmark::DoNotOptimize(card.address.Metafile().Items().size());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LayoutPerRecord)->Unit(benchmark::kMillisecond);

// Replay of one record's three renderings onto a 96-dpi postcard image, per record.
void BM_ReplayPerRecord(benchmark::State& state)
{
    useRecordingPrinter();
    const std::vector<Record> records = makeRecords();
    std::vector<std::unique_ptr<Postcard>> cards;
    for (int i = 0; i < 100; ++i) {
        cards.push_back(std::make_unique<Postcard>());
        cards.back()->Merge(records[size_t(i)]);
        cards.back()->Render();
    }
    QImage image(378, 559, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    size_t i = 0;
    for (auto _ : state) {
        for (TMetaRect* frame : cards[i++ % cards.size()]->frames())
            frame->Draw(painter, 0, 0);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReplayPerRecord)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
