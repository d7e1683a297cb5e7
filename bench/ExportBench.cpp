// Benchmark of the text export: 100,000 rows, every unprotected item, header, quotes and hyphens on, in lines
// per second; beside it the same rows read by RecNo straight from SQLite and formatted by the same routine.
#include "addressbook/AdrsTableRow.h"
#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "dataexchange/ExportWriter.h"
#include "platform/MessageSeam.h"

#include "support/FakeListRows.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>

namespace {

constexpr int Rows = 100000;

// Every row shown, none selected.
using AllRows = FakeListRows;

void Populate(Table& table)
{
    const QDateTime stamp(QDate(2024, 4, 1), QTime(9, 0));
    table.startTransaction();
    for (int i = 0; i < Rows; ++i) {
        table.append();
        table.fieldByName("Group").setInteger(i % 11);
        table.fieldByName("CustomCode").setAnsi(QByteArray("K") + QByteArray::number(i));
        table.fieldByName("Tel").setAnsi(QByteArray("03") + QByteArray::number(52000000 + i));
        table.fieldByName("Fax").setAnsi(QByteArray("06") + QByteArray::number(63000000 + i));
        table.fieldByName("Portable1").setAnsi(QByteArray("090") + QByteArray::number(12340000 + i));
        table.fieldByName("Pos").setAnsi("1000001");
        table.fieldByName("PubDate").setAnsi("200504");
        table.fieldByName("Tdfkn").setString(QStringLiteral("東京都"));
        table.fieldByName("Adrs1").setString(QStringLiteral("千代田区"));
        table.fieldByName("Adrs2").setString(QStringLiteral("丸の内%1丁目").arg(i % 9 + 1));
        table.fieldByName("CorpKanji").setString(QStringLiteral("株式会社サンプル%1").arg(i));
        table.fieldByName("NameKanji").setAnsi(WideToHexText(QStringLiteral("山田 太郎")));
        table.fieldByName("Honor").setString(QStringLiteral("様"));
        table.fieldByName("Keyword1").setString(QStringLiteral("取引先"));
        table.fieldByName("Note").setString(QStringLiteral("一行目\r\n二行目 %1").arg(i));
        table.fieldByName("SymbolColor").setInteger(0xFF8000);
        table.fieldByName("AddDateTime").setDateTime(stamp.addSecs(i));
        table.fieldByName("UpdDateTime").setDateTime(stamp.addSecs(2 * i));
        table.post();
    }
    table.commit();
}

// A row of the table file read by RecNo through SQLite's own interface.
class SqliteRow : public TAdrsTableCursor
{
public:
    explicit SqliteRow(const QString& path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* names = nullptr;
        sqlite3_prepare_v2(m_db,
                           "SELECT name FROM sqlite_master WHERE type='table' AND sql LIKE '%\"RecNo\"%'", -1,
                           &names, nullptr);
        QByteArray table = "data";
        if (sqlite3_step(names) == SQLITE_ROW)
            table = reinterpret_cast<const char*>(sqlite3_column_text(names, 0));
        sqlite3_finalize(names);
        const QByteArray sql = "SELECT * FROM \"" + table + "\" WHERE \"RecNo\" = ?";
        sqlite3_prepare_v2(m_db, sql.constData(), -1, &m_select, nullptr);
        for (int i = 0; i < sqlite3_column_count(m_select); ++i)
            m_columns.insert(QByteArray(sqlite3_column_name(m_select, i)), i);
    }
    ~SqliteRow() override
    {
        sqlite3_finalize(m_select);
        sqlite3_close(m_db);
    }
    bool FindRecNo(qint32 recNo) override
    {
        sqlite3_reset(m_select);
        sqlite3_bind_int(m_select, 1, recNo);
        return sqlite3_step(m_select) == SQLITE_ROW;
    }
    AnsiString FieldBytes(const char* name) const override
    {
        const int c = m_columns.value(name);
        return AnsiString(static_cast<const char*>(sqlite3_column_blob(m_select, c)),
                          sqlite3_column_bytes(m_select, c));
    }
    qint32 FieldInt(const char* name) const override
    {
        return sqlite3_column_int(m_select, m_columns.value(name));
    }
    bool FieldBool(const char* name) const override { return FieldInt(name) != 0; }
    QDateTime FieldDateTime(const char* name) const override
    {
        const int c = m_columns.value(name);
        if (sqlite3_column_type(m_select, c) == SQLITE_NULL)
            return {};
        const QDateTime u = QDateTime::fromMSecsSinceEpoch(sqlite3_column_int64(m_select, c), Qt::UTC);
        return QDateTime(u.date(), u.time());
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_select = nullptr;
    QHash<QByteArray, int> m_columns;
};

double Run(const char* name, const TExportLayout& layout, const TExportContext& context, const AllRows& rows,
           TAdrsTableCursor& cursor, const QString& target)
{
    TRecordRange range;
    range.DataSelect = dsAll;
    TExportTextFile file(target);
    if (!file.Open(false, nullptr))
        return 0;
    QElapsedTimer timer;
    timer.start();
    const int lines = WriteRecords(layout, context, range, rows, cursor,
                                   [&](const AnsiString& line) { file.WriteLine(line); }, {});
    file.Commit(nullptr);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("%-40s %6d lines in %7.3f s: %9.0f lines/s (%lld bytes)\n", name, lines, seconds,
                lines / seconds, static_cast<long long>(QFileInfo(target).size()));
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MsgSeam::SetHandler([](const MsgSeam::Request&) { return int(MsgSeam::IdOk); });
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/export-bench-XXXXXX"));
    DataRootFolder = dir.path() + QStringLiteral("/");
    DataFolder = DataRootFolder + QStringLiteral("Data/");
    SetDataSubFolders();
    QDir().mkpath(AdrsFolder + QStringLiteral("Book"));
    const QString tablePath = AdrsFolder + QStringLiteral("Book/Adrs.DB");
    Table::createTable(tablePath, AdrsTableDef(), TablePassword);
    ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
    LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));

    TDMQuenrid215 dm;
    dm.CreateAdrsTable(QStringLiteral("Book"));
    if (!dm.OpenAdrs())
        return 1;
    Populate(*dm.AdrsTable());
    dm.AdrsTable()->refresh();
    AllRows rows;
    for (dm.AdrsTable()->first(); !dm.AdrsTable()->eof(); dm.AdrsTable()->next())
        rows.recNos.append(int(dm.AdrsTable()->currentKey()));

    TExportLayout layout;
    for (int item = 0; item < ExportItemCount; ++item)
        if (!IsProtectedExportItem(item))
            layout.Set(layout.Count(), item);
    TExportContext context;
    context.Options.BindDblQuote = true;
    context.GroupNames = {"指定なし", "得意先", "仕入先"};
    context.KeywordNames = {"区分"};
    context.Hyphenate = AdrsHyphenateFunc();

    SqliteRow baselineRow(tablePath);
    const double baseline = Run("baseline: SQLite by RecNo, same routine", layout, context, rows, baselineRow,
                                DataRootFolder + QStringLiteral("baseline.csv"));
    TAdrsTableRow row(*dm.AdrsTable());
    const double export_ = Run("export through the table engine", layout, context, rows, row,
                               DataRootFolder + QStringLiteral("out.csv"));
    std::printf("ratio to the baseline: %.2f\n", export_ / baseline);
    // How much of it is the hyphenation library.
    context.Options.EditHyphen = false;
    Run("export, hyphen editing off", layout, context, rows, row,
        DataRootFolder + QStringLiteral("plain.csv"));
    dm.CloseAdrs();
    FreeHyphenLibrary();
    return 0;
}
