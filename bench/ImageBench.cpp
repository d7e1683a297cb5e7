// The resampler beside Qt's smooth scaling: area averaging of 4000 × 3000 to 1000 × 750 and a bicubic
// enlargement of 600 × 400 to 2400 × 1600; and the work rows a transparent print of a large picture holds.
#include "layoutobjects/ImageUtils.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

QImage picture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < w * 3; ++x)
            row[x] = uchar((x * 7 + y * 13) ^ (x >> 3));
    }
    return image;
}

void areaAverage(benchmark::State& state)
{
    const QImage source = picture(4000, 3000);
    for (auto _ : state) {
        QImage work = source;
        StretchBitmap(work, nullptr, 1000, 750, 2);
        benchmark::DoNotOptimize(work.constBits());
    }
}
BENCHMARK(areaAverage)->Unit(benchmark::kMillisecond);

void areaAverageQt(benchmark::State& state)
{
    const QImage source = picture(4000, 3000);
    for (auto _ : state)
        benchmark::DoNotOptimize(source.scaled(1000, 750, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).constBits());
}
BENCHMARK(areaAverageQt)->Unit(benchmark::kMillisecond);

void bicubic(benchmark::State& state)
{
    const QImage source = picture(600, 400);
    for (auto _ : state) {
        QImage work = source;
        StretchBitmap(work, nullptr, 2400, 1600, 1);
        benchmark::DoNotOptimize(work.constBits());
    }
}
BENCHMARK(bicubic)->Unit(benchmark::kMillisecond);

void bicubicQt(benchmark::State& state)
{
    const QImage source = picture(600, 400);
    for (auto _ : state)
        benchmark::DoNotOptimize(source.scaled(2400, 1600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).constBits());
}
BENCHMARK(bicubicQt)->Unit(benchmark::kMillisecond);

// A 4000 × 3000 picture printed 160 mm wide at 600 dpi: the work rows of one strip.
void maskedPrintWorkMemory(benchmark::State& state)
{
    const int w = 3780, h = 2835;
    for (auto _ : state)
        benchmark::DoNotOptimize(TransparentStripBytes(w, h));
    state.counters["work_bytes"] = double(TransparentStripBytes(w, h));
}
BENCHMARK(maskedPrintWorkMemory);

} // namespace

BENCHMARK_MAIN();
