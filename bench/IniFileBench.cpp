// Cost of reading an INI file by its number of sections (the parse must stay linear).
#include "platform/IniFile.h"

#include <benchmark/benchmark.h>

namespace {

void BM_IniParseSections(benchmark::State& state)
{
    QByteArray bytes;
    for (int i = 0; i < state.range(0); ++i)
        bytes += "[Section" + QByteArray::number(i) + "]\r\nKey=" + QByteArray::number(i) + "\r\n";
    for (auto _ : state) {
        TMemIniFile ini(QString{});
        ini.SetBytes(bytes);
        benchmark::DoNotOptimize(ini.ReadString(QStringLiteral("Section7"), QStringLiteral("Key"), {}));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_IniParseSections)->RangeMultiplier(4)->Range(256, 65536)->Complexity();

} // namespace

BENCHMARK_MAIN();
