// Benchmarks of the owner-data list view: loading 100,000 keys, refreshing, and painting a screen.
#include "core/SortListView.h"

#include <benchmark/benchmark.h>
#include <QApplication>

namespace {

std::vector<qint64> makeKeys(size_t n)
{
    std::vector<qint64> keys(n);
    for (size_t i = 0; i < n; ++i)
        keys[i] = qint64(i) * 3 + 1;
    return keys;
}

void setUp(TCustomSortListView& view)
{
    view.SetColumns({{"Name", 150}, {"Tel", 100}, {"Address", 200}});
    view.Items()->SetOwnerData(true);
    view.Items()->SetTextProvider([](int, qint64 key) {
        return QStringList{QString::number(key), QStringLiteral("03-0000-0000"), QStringLiteral("Tokyo")};
    });
    view.resize(600, 800);
}

void BM_SetKeys100k(benchmark::State& state)
{
    TCustomSortListView view;
    setUp(view);
    const auto keys = makeKeys(100000);
    for (auto _ : state)
        view.Items()->SetKeys(keys);
}
BENCHMARK(BM_SetKeys100k)->Unit(benchmark::kMillisecond);

void BM_RefreshAndPaint100k(benchmark::State& state)
{
    TCustomSortListView view;
    setUp(view);
    view.Items()->SetKeys(makeKeys(100000));
    view.show();
    view.scrollToBottom();
    for (auto _ : state) {
        view.Items()->Refresh();
        benchmark::DoNotOptimize(view.grab());
    }
}
BENCHMARK(BM_RefreshAndPaint100k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
