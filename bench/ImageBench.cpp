// The resampler beside Qt's smooth scaling: area averaging of 4000 × 3000 to 1000 × 750 and a bicubic
// enlargement of 600 × 400 to 2400 × 1600; and the work rows a transparent or cut-out print of a large
// picture holds.
#include "layoutobjects/ImageUtils.h"
#include "platform/DisplayList.h"

#include <QImage>
#include <QPainter>

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

// The same picture through a heart-shaped cut-out, recorded as a printer page would be.
void maskedPrintCutOut(benchmark::State& state)
{
    const int w = 3780, h = 2835;
    const QImage source = picture(4000, 3000);
    const TMaskPicture heart = TMaskPicture::FromData(
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100' preserveAspectRatio='none'><path "
        "d='M50,96 C42,88 0,62 0,30 C0,12 13,2 27,2 C38,2 46,9 50,18 C54,9 62,2 73,2 C87,2 100,12 100,30 "
        "C100,62 58,88 50,96 Z'/></svg>");
    for (auto _ : state) {
        TDisplayList page(QSize(w, h), 600, 600);
        QPainter painter(&page);
        DrawMaskedByMetafile(painter, source, heart, TRect{0, 0, w, h}, TRect{0, 0, w, h});
    }
    state.counters["work_bytes"] = double(MaskedStripBytes(w, h));
}
BENCHMARK(maskedPrintCutOut)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
