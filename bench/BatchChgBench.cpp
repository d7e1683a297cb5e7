// Benchmark of the batch edit: 10,000 selected rows of a generated book, keyword 1 alone, keyword 1 with
// the municipality codes, and as a baseline the same rows edited directly on the table in one transaction.
#include "addressbook/BatchChg.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "platform/MessageSeam.h"
#include "platform/TableEngine.h"
#include "search/ConAdrsDicClass.h"

#include "support/FakeListRows.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

constexpr int Rows = 10000;

const char* const Towns[] = {"千代田１－１", "丸の内１－１", "大手町２－３", "霞が関１－２", "永田町１－７"};

void Populate(Table& table)
{
    table.startTransaction();
    for (int i = 0; i < Rows; ++i) {
        table.append();
        table.fieldByName("Tel").setAnsi(QByteArray("03") + QByteArray::number(i).rightJustified(8, '0'));
        table.fieldByName("Tdfkn").setString(QStringLiteral("東京都"));
        table.fieldByName("Adrs1").setString(QStringLiteral("千代田区"));
        table.fieldByName("Adrs2").setString(QString::fromUtf8(Towns[i % 5]));
        table.fieldByName("Keyword1").setString(QStringLiteral("旧%1").arg(i));
        table.fieldByName("NameKanji").setString(QStringLiteral("山田 太郎"));
        table.fieldByName("UpdDateTime").setDateTime(QDateTime::currentDateTime());
        table.post();
    }
    table.commit();
}

double Report(const char* name, const QElapsedTimer& timer, int rows)
{
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("%-44s %6d rows in %7.3f s: %9.0f rows/s\n", name, rows, seconds, rows / seconds);
    return seconds;
}

double RunBatch(Table& table, const FakeListRows& rows, const char* name, const QByteArray& keyword,
                bool codes)
{
    TBatchChoice choice;
    choice.flags[biKeyword1] = true;
    choice.values.Keyword1 = keyword;
    std::optional<TContinualAdrsSearch> converter;
    TBatchConvert convert;
    if (codes) {
        choice.flags[biCodes] = true;
        converter.emplace(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        convert = [&converter](const AnsiString& address, AnsiString& jis, AnsiString& block) {
            if (converter->Search(address) != 0)
                return false;
            const TAdrsConvResultRec& r = converter->GetResult(false);
            jis = FieldText(r.JisCode);
            block = FieldText(r.BlockCode);
            return true;
        };
    }
    TBatchChangeRun run(table, choice, convert);
    QElapsedTimer timer;
    timer.start();
    const TBatchOutcome out = run.Run(rows);
    if (out.changed != Rows)
        std::printf("  (changed %d)\n", out.changed);
    return Report(name, timer, Rows);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MsgSeam::SetHandler([](const MsgSeam::Request&) { return int(MsgSeam::IdOk); });
    ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
    // A folder on the working disc, not a memory file system, so that commits cost what they cost.
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/batchchg-bench-XXXXXX"));
    TableSession session;
    session.addPassword(TablePassword);
    Table::createTable(dir.path() + QStringLiteral("/Adrs.DB"), AdrsTableDef(), TablePassword);
    Table table(session);
    table.setDatabaseName(dir.path());
    table.setTableName(QStringLiteral("Adrs.DB"));
    table.open();
    Populate(table);
    table.refresh();
    FakeListRows rows;
    for (table.first(); !table.eof(); table.next()) {
        rows.selected.insert(int(rows.recNos.size()));
        rows.recNos.append(int(table.currentKey()));
    }

    // (c) the baseline: each row read, changed and posted in one transaction.
    QElapsedTimer timer;
    timer.start();
    table.setIndexName(QString());
    table.startTransaction();
    for (const int recNo : rows.recNos) {
        table.findKey({recNo});
        table.edit();
        table.fieldByName("Keyword1").setAnsi("baseline");
        table.fieldByName("UpdDateTime").setDateTime(QDateTime::currentDateTime());
        table.post();
    }
    table.commit();
    table.flushBuffers();
    const double baseline = Report("(c) direct edits in one transaction", timer, Rows);

    const double a = RunBatch(table, rows, "(a) keyword 1", "一括", false);
    const double b = RunBatch(table, rows, "(b) keyword 1 and municipality codes", "一括２", true);
    std::printf("(a) / (c) = %.2f (target 2), (b) / (c) = %.2f (target 4)\n", a / baseline, b / baseline);
    table.close();
    return 0;
}
