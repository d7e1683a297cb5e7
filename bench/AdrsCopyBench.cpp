// Benchmark of the address copy: 10,000 rows into another book with the number check on, in rows per second.
#include "addressbook/AdrsCopy.h"
#include "addressbook/AdrsListRows.h"
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "platform/MessageSeam.h"

#include "support/FakeListRows.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int SourceRows = 10000;

// Every row shown, none selected.
using AllRows = FakeListRows;

QByteArray Number(const char* prefix, int i)
{
    return QByteArray(prefix) + QByteArray::number(i).rightJustified(8, '0');
}

void FillRow(Table& table, int i, int stride)
{
    table.append();
    table.fieldByName("Group").setInteger(i % 7);
    table.fieldByName("CustomCode").setAnsi(QByteArray("K") + QByteArray::number(i * stride));
    table.fieldByName("Tel").setAnsi(Number("03", i * stride));
    table.fieldByName("Fax").setAnsi(Number("06", i * stride));
    table.fieldByName("Portable1").setAnsi(Number("090", i * stride));
    table.fieldByName("Pos").setAnsi("1000001");
    table.fieldByName("Adrs2").setString(QStringLiteral("千代田区丸の内%1丁目").arg(i % 9 + 1));
    table.fieldByName("Adrs3").setString(QStringLiteral("%1番%2号").arg(i % 30 + 1).arg(i % 20 + 1));
    table.fieldByName("CorpKanji").setString(QStringLiteral("株式会社サンプル%1").arg(i));
    table.fieldByName("CorpKana").setString(QStringLiteral("ｻﾝﾌﾟﾙ"));
    table.fieldByName("NameKanji").setString(QStringLiteral("山田 太郎"));
    table.fieldByName("NameKana").setString(QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"));
    table.fieldByName("Note").setString(QStringLiteral("備考の文章がここに入ります。%1").arg(i));
    table.fieldByName("PrivCorp").setBoolean(i % 2);
    table.fieldByName("AddDateTime").setDateTime(QDateTime::currentDateTime());
    table.fieldByName("UpdDateTime").setDateTime(QDateTime::currentDateTime());
    table.post();
}

void Populate(Table& table, int rows, int stride)
{
    table.startTransaction();
    for (int i = 0; i < rows; ++i)
        FillRow(table, i, stride);
    table.commit();
}

// One copy of every source row into a fresh target holding targetRows rows; prints rows per second.
void Run(TDMQuenrid215& dm, const AllRows& rows, const char* name, int targetRows, int batchSize)
{
    const QString folder = AdrsFolder + QStringLiteral("Dst/");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    Table::createTable(folder + QStringLiteral("Adrs.DB"), AdrsTableDef(), TablePassword);
    if (!dm.OpenAdrsExclusive(QStringLiteral("Dst")))
        return;
    // Half the source rows find their numbers in the target.
    Populate(*dm.AdrsExclusiveTable(), targetRows, 2);
    dm.AdrsExclusiveTable()->refresh();

    TAddressCopySettings settings;
    settings.DataSelect = 2;
    settings.Tel = settings.Fax = true;
    settings.BothType = 1;
    settings.SameNumCheck = 1;
    settings.SameCustomCheck = 1;
    TAddressCopyJob job(*dm.AdrsTable(), *dm.AdrsExclusiveTable(), settings);
    job.BatchSize = batchSize;
    QElapsedTimer timer;
    timer.start();
    job.CopyRecords(rows);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    dm.CloseAdrsExclusive();
    const TAddressCopyCounts& c = job.Counts();
    std::printf("%-46s %6d rows in %7.3f s: %9.0f rows/s (added %d, skipped %d, failed %d)\n", name,
                c.DataCount, seconds, c.DataCount / seconds, c.Added, c.Skipped, c.Failed);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MsgSeam::SetHandler([](const MsgSeam::Request&) { return int(MsgSeam::IdOk); });
    // A folder on the working disc, not a memory file system, so that commits cost what they cost.
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/adrscopy-bench-XXXXXX"));
    DataRootFolder = dir.path() + QStringLiteral("/");
    DataFolder = DataRootFolder + QStringLiteral("Data/");
    SetDataSubFolders();
    QDir().mkpath(AdrsFolder + QStringLiteral("Src"));
    Table::createTable(AdrsFolder + QStringLiteral("Src/Adrs.DB"), AdrsTableDef(), TablePassword);

    TDMQuenrid215 dm;
    dm.CreateAdrsTable(QStringLiteral("Src"));
    if (!dm.OpenAdrs())
        return 1;
    Populate(*dm.AdrsTable(), SourceRows, 1);
    dm.AdrsTable()->refresh();
    AllRows rows;
    for (dm.AdrsTable()->first(); !dm.AdrsTable()->eof(); dm.AdrsTable()->next())
        rows.recNos.append(int(dm.AdrsTable()->currentKey()));

    Run(dm, rows, "into an empty book, batched commits", 0, 500);
    Run(dm, rows, "into a book of 10,000 rows, batched commits", SourceRows, 500);
    Run(dm, rows, "into an empty book, one commit per row", 0, 1);
    dm.CloseAdrs();
    return 0;
}
