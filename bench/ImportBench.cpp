// Benchmark of the text import: a 100,000-line CP932 CSV, every unprotected item mapped by the automatic
// mapping, half the lines with customer codes, completion off; appended into an empty book and into one of
// 50,000 rows. Beside it the same lines read, converted and inserted by plain SQLite (one prepared INSERT
// plus the customer-code look-up, one transaction). Then the peak memory of 10,000 and 100,000 lines.
#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "dataexchange/ImportTable.h"
#include "platform/MessageSeam.h"

#include "PlainSqlite.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

const QStringList Groups = {"指定なし", "得意先", "仕入先", "社内"};

// The header: one accepted text per unprotected item (the address in two columns).
QList<QString> HeaderTexts()
{
    QList<QString> out{QStringLiteral("都道府県")};
    for (int item = 1; item <= ImportItemCount; ++item)
        if (!IsProtectedImportItem(item))
            out << ImportHeaderAliases(item, {}, {}).constFirst();
    return out;
}

// A realistic value for each column of the header.
AnsiString Line(const QList<QString>& header, int i, const QString& codePrefix)
{
    static const char* const names[] = {"山田 太郎", "佐藤 花子", "鈴木 一郎", "高橋 美咲", "田中 健"};
    static const char* const corps[] = {"東都商事", "北斗精機", "青葉建設", "みなと物産", "桜井印刷"};
    QStringList fields;
    for (const QString& h : header) {
        QString v;
        if (h == "都道府県")
            v = "東京都";
        else if (h == "住所１")
            v = QStringLiteral("千代田区丸の内%1丁目").arg(i % 9 + 1);
        else if (h == "住所２")
            v = QStringLiteral("%1-%2").arg(i % 20 + 1).arg(i % 7 + 1);
        else if (h == "顧客コード")
            v = i % 2 ? QString() : codePrefix + QString::number(i);
        else if (h == "グループ")
            v = Groups[i % 4];
        else if (h == "電話番号")
            v = QStringLiteral("03-%1-%2").arg(5200 + i % 800).arg(1000 + i % 9000);
        else if (h == "FAX番号")
            v = QStringLiteral("06-%1-%2").arg(6300 + i % 700).arg(2000 + i % 8000);
        else if (h == "携帯番号")
            v = QStringLiteral("090%1").arg(12340000 + i);
        else if (h == "郵便番号")
            v = "100-0005";
        else if (h == "会社名")
            v = QString::fromUtf8(corps[i % 5]) + QString::number(i);
        else if (h == "会社名カナ")
            v = "ﾄｳﾄｼｮｳｼﾞ";
        else if (h == "部署")
            v = QStringLiteral("営業%1課").arg(i % 5);
        else if (h == "役職")
            v = "課長";
        else if (h == "名前")
            v = QString::fromUtf8(names[i % 5]);
        else if (h == "名前カナ")
            v = "ﾔﾏﾀﾞ ﾀﾛｳ";
        else if (h == "敬称")
            v = "様";
        else if (h == "メールアドレス")
            v = QStringLiteral("user%1@example.com").arg(i);
        else if (h == "連名")
            v = i % 3 ? QString() : QStringLiteral("花子");
        else if (h == "キーワード")
            v = "取引先";
        else if (h == "備考")
            v = QStringLiteral("一行目\t二行目 %1").arg(i);
        else if (h == "登録日付")
            v = "2024/04/01";
        else if (h == "登録時刻")
            v = QStringLiteral("09:%1:%2")
                    .arg(i % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 59, 2, 10, QLatin1Char('0'));
        else if (h == "シンボル色")
            v = "00FF8000";
        fields << QLatin1Char('"') + v + QLatin1Char('"');
    }
    return ToAnsi(fields.join(QLatin1Char(',')));
}

void WriteCsv(const QString& path, int lines, const QString& codePrefix = QStringLiteral("K"))
{
    const QList<QString> header = HeaderTexts();
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(ToAnsi(QStringList(header).join(QLatin1Char(','))) + "\r\n");
    for (int i = 0; i < lines; ++i)
        file.write(Line(header, i, codePrefix) + "\r\n");
}

struct Fixture
{
    TImportMapping mapping;
    TImportRunSettings settings;
    TImportLookups lookups;
};

Fixture Prepare(const QString& csv)
{
    Fixture f;
    QFile file(csv);
    file.open(QIODevice::ReadOnly);
    TImportLineReader reader(file);
    AnsiString first;
    reader.ReadLine(first);
    const QList<AnsiString> fields = ImportPreviewFields(first);
    f.mapping.AutoSetAll(fields, {}, {});
    f.settings.skipFirst = true;
    f.settings.columnCount = int(fields.size());
    f.settings.options.noCompletion = true;
    f.lookups.groupNames = Groups;
    f.lookups.isMajorCode = [](int) { return false; };
    f.lookups.isMinorCode = [](int, int) { return false; };
    f.lookups.now = QDateTime(QDate(2024, 5, 1), QTime(12, 0));
    f.lookups.today = f.lookups.now.date();
    return f;
}

QString NewBook(const QString& folder)
{
    QDir().mkpath(folder);
    Table::createTable(folder + QStringLiteral("/Adrs.DB"), AdrsTableDef());
    return folder;
}

TImportRunResult Import(const QString& book, const QString& csv, const Fixture& f, double* seconds)
{
    Table table;
    table.setDatabaseName(book);
    table.setTableName(QStringLiteral("Adrs.DB"));
    table.open();
    TAdrsImportTable target(table);
    TImportErrorFile errors(book + QStringLiteral("/InError.txt"));
    TImportHistories histories({});
    TImportRun run(f.settings, f.mapping, f.lookups, target, errors, histories);
    QFile file(csv);
    file.open(QIODevice::ReadOnly);
    QElapsedTimer timer;
    timer.start();
    const TImportRunResult result = run.Run(file);
    if (seconds)
        *seconds = double(timer.nsecsElapsed()) / 1e9;
    return result;
}

void Report(const char* name, const TImportRunResult& r, double seconds)
{
    std::printf("%-48s %6lld read %6lld stored in %7.3f s: %8.0f lines/s\n", name,
                static_cast<long long>(r.readCount), static_cast<long long>(r.doneCount), seconds,
                double(r.readCount) / seconds);
}

// Binds the converted record to the INSERT by field name.
class TInsertBinder : public TAdrsFieldSink
{
public:
    TInsertBinder(sqlite3_stmt* st, const QHash<QByteArray, int>& columns) : m_st(st), m_columns(columns) {}
    void Bytes(const QByteArray& name, const AnsiString& v) override
    {
        if (v.isEmpty())
            sqlite3_bind_null(m_st, index(name));
        else
            sqlite3_bind_blob(m_st, index(name), v.constData(), int(v.size()), SQLITE_TRANSIENT);
    }
    void Integer(const QByteArray& name, qint64 v) override { sqlite3_bind_int64(m_st, index(name), v); }
    void Boolean(const QByteArray& name, bool v) override { sqlite3_bind_int(m_st, index(name), v ? 1 : 0); }
    void Moment(const QByteArray& name, const QDateTime& v) override
    {
        sqlite3_bind_int64(m_st, index(name), v.toMSecsSinceEpoch());
    }

private:
    int index(const QByteArray& name) const { return m_columns.value(name); }
    sqlite3_stmt* m_st;
    const QHash<QByteArray, int>& m_columns;
};

// The same lines read, prepared and converted; stored with one prepared INSERT after a look-up of the code.
double Baseline(const QString& book, const QString& csv, const Fixture& f, qint64* stored)
{
    sqlite3* db = nullptr;
    check(sqlite3_open(QFile::encodeName(book + QStringLiteral("/Adrs.DB")).constData(), &db), db);
    sqlite3_create_collation(db, "CP932NOCASE", SQLITE_UTF8, nullptr, collate);
    check(sqlite3_exec(db, "PRAGMA synchronous=FULL; PRAGMA cache_size=-32768", nullptr, nullptr, nullptr),
          db);
    sqlite3_stmt* names = nullptr;
    check(sqlite3_prepare_v2(db,
                             "SELECT name FROM sqlite_master WHERE type='table' AND sql LIKE '%\"RecNo\"%'",
                             -1, &names, nullptr),
          db);
    QByteArray tableName = "data";
    if (sqlite3_step(names) == SQLITE_ROW)
        tableName = reinterpret_cast<const char*>(sqlite3_column_text(names, 0));
    sqlite3_finalize(names);
    QByteArrayList fields, marks;
    QHash<QByteArray, int> columns;
    for (const FieldDef& def : AdrsTableDef().fields) {
        if (def.name == QLatin1String("RecNo"))
            continue;
        fields << '"' + def.name.toLatin1() + '"';
        marks << "?";
        columns.insert(def.name.toLatin1(), int(fields.size()));
    }
    sqlite3_stmt* insert = nullptr;
    const QByteArray sql =
        "INSERT INTO \"" + tableName + "\" (" + fields.join(',') + ") VALUES (" + marks.join(',') + ")";
    check(sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr), db);
    sqlite3_stmt* find = nullptr;
    const QByteArray findSql = "SELECT \"RecNo\" FROM \"" + tableName + "\" WHERE \"CustomCode\" = ? LIMIT 1";
    check(sqlite3_prepare_v2(db, findSql.constData(), -1, &find, nullptr), db);

    QFile file(csv);
    file.open(QIODevice::ReadOnly);
    TImportLineReader reader(file);
    AnsiString text;
    TImportLine line;
    TInsertBinder binder(insert, columns);
    QElapsedTimer timer;
    timer.start();
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    reader.ReadLine(text);
    *stored = 0;
    while (reader.ReadLine(text)) {
        PrepareImportLine(text, f.settings.columnCount, 0, f.mapping, line);
        const AnsiString code = TrimAnsiText(line.Item(ImportItem::CustomCode));
        if (!code.isEmpty()) {
            sqlite3_bind_blob(find, 1, code.constData(), int(code.size()), SQLITE_TRANSIENT);
            const bool used = sqlite3_step(find) == SQLITE_ROW;
            sqlite3_reset(find);
            if (used)
                continue;
        }
        const TAdrsDataRec rec = BuildAppendRecord(line.itemTexts, f.settings.options, f.lookups);
        VisitAdrsDataRec(rec, binder);
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
        ++*stored;
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    sqlite3_finalize(insert);
    sqlite3_finalize(find);
    sqlite3_close(db);
    return seconds;
}

// The peak resident size since the last reset, in MB.
double PeakMb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb / 1024;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MsgSeam::SetHandler([](const MsgSeam::Request&) { return int(MsgSeam::IdOk); });
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/import-bench-XXXXXX"));
    const QString root = dir.path() + QStringLiteral("/");
    const QString csv = root + QStringLiteral("in.csv");
    const QString small = root + QStringLiteral("small.csv");
    const QString half = root + QStringLiteral("half.csv");
    WriteCsv(csv, 100000);
    WriteCsv(small, 10000);
    WriteCsv(half, 50000, QStringLiteral("X"));
    std::printf("file: %lld bytes, %lld columns\n", static_cast<long long>(QFileInfo(csv).size()),
                static_cast<long long>(HeaderTexts().size()));
    const Fixture f = Prepare(csv);

    qint64 baselineStored = 0;
    const double baseline = Baseline(NewBook(root + QStringLiteral("plain")), csv, f, &baselineStored);
    std::printf("%-48s %6d read %6lld stored in %7.3f s: %8.0f lines/s\n",
                "baseline: plain SQLite, empty book", 100000, static_cast<long long>(baselineStored),
                baseline, 100000 / baseline);

    double seconds = 0;
    TImportRunResult r = Import(NewBook(root + QStringLiteral("empty")), csv, f, &seconds);
    Report("import into an empty book", r, seconds);
    std::printf("ratio of rows/s to the baseline: %.2f\n",
                (double(r.doneCount) / seconds) / (double(baselineStored) / baseline));

    // A book of 50,000 rows (codes of another range): the run stops at the 100,000 limit.
    const QString full = NewBook(root + QStringLiteral("full"));
    Import(full, half, f, nullptr);
    r = Import(full, csv, f, &seconds);
    Report("import into a book of 50,000 rows (limit)", r, seconds);

    ResetPeak();
    Import(NewBook(root + QStringLiteral("peak10k")), small, f, nullptr);
    const double peakSmall = PeakMb();
    ResetPeak();
    Import(NewBook(root + QStringLiteral("peak100k")), csv, f, nullptr);
    const double peakLarge = PeakMb();
    std::printf("peak resident size: 10,000 lines %.1f MB, 100,000 lines %.1f MB, difference %.1f MB\n",
                peakSmall, peakLarge, peakLarge - peakSmall);
    return 0;
}
