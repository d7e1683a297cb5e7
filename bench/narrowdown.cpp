// Cost of testing address rows against a narrowing condition (the list filter runs it on every row).
#include "addressbook/NarrowDown.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

// In-memory row holding the fields the condition reads; a cheap lookup keeps the figure about the test.
class MemoryRow : public TAdrsRow
{
public:
    AnsiString customCode, corpKanji, note;
    qint32 codeMain = 0, codeSub = 0;

    AnsiString FieldBytes(const char* name) const override
    {
        if (std::strcmp(name, "CustomCode") == 0)
            return customCode;
        if (std::strcmp(name, "CorpKanji") == 0)
            return corpKanji;
        if (std::strcmp(name, "Note") == 0)
            return note;
        return {};
    }
    qint32 FieldInt(const char* name) const override
    {
        return std::strcmp(name, "CodeMain") == 0  ? codeMain
               : std::strcmp(name, "CodeSub") == 0 ? codeSub
                                                   : 0;
    }
    bool FieldBool(const char*) const override { return false; }
    QDateTime FieldDateTime(const char*) const override { return {}; }
};

std::vector<MemoryRow> MakeRows(int count)
{
    const AnsiString company = ToAnsi(QStringLiteral("株式会社山田商事"));
    const AnsiString note = ToAnsi(QStringLiteral("打ち合わせの記録です。")).repeated(40);
    std::vector<MemoryRow> rows(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        MemoryRow& row = rows[size_t(i)];
        row.customCode = "K" + QByteArray::number(i);
        row.corpKanji = company + QByteArray::number(i % 97);
        row.note = note + QByteArray::number(i);
        row.codeMain = i % 30;
        row.codeSub = i % 7;
    }
    return rows;
}

void BM_NarrowDownOr(benchmark::State& state)
{
    const std::vector<MemoryRow> rows = MakeRows(int(state.range(0)));
    TNarrowDownCondition condition;
    condition.andFlag = false;
    TNarrowDownItem code;
    code.item = 0;
    code.text = "K9999";
    code.condition = TNarrowDownItem::BeginsWith;
    TNarrowDownItem note;
    note.item = 32;
    note.text = ToAnsi(QStringLiteral("見積"));
    note.condition = TNarrowDownItem::Contains;
    TNarrowDownItem category;
    category.item = 34;
    category.kind = TNarrowDownItem::Category;
    category.value1 = 1203;
    condition.items = {code, note, category};
    for (auto _ : state) {
        int matched = 0;
        for (const MemoryRow& row : rows)
            matched += MatchesNarrowDown(condition, row, {}) ? 1 : 0;
        benchmark::DoNotOptimize(matched);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NarrowDownOr)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
