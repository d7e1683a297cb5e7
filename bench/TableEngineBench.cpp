// Table engine against plain SQLite statements on 100,000 generated address rows (figures printed side by
// side).
#include "core/TableDefs.h"
#include "platform/TableEngine.h"
#include "PlainSqlite.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <random>

namespace {

constexpr int kRows = 100000;

// Synthetic but realistic contents: kana readings, kanji names and addresses, telephone and postal numbers.
struct Generator
{
    std::mt19937 rng{20261210};
    template <size_t N> const char16_t* pick(const char16_t* const (&list)[N])
    {
        return list[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
    }
    int number(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    QByteArray digits(int n)
    {
        QByteArray s;
        for (int i = 0; i < n; ++i)
            s += char('0' + number(0, 9));
        return s;
    }

    struct Row
    {
        QByteArray nameKana, nameKanji, tel, pos, tdfkn, adrs1, adrs2, adrs3, corpKanji, corpKana, keyword1;
        int group;
    };

    Row make()
    {
        static const char16_t* const surnamesKana[] = {u"ｻﾄｳ", u"ｽｽﾞｷ", u"ﾀｶﾊｼ", u"ﾀﾅｶ",   u"ﾜﾀﾅﾍﾞ",
                                                       u"ｲﾄｳ", u"ﾔﾏﾓﾄ", u"ﾅｶﾑﾗ", u"ｺﾊﾞﾔｼ", u"ｶﾄｳ"};
        static const char16_t* const surnames[] = {u"佐藤", u"鈴木", u"高橋", u"田中", u"渡辺",
                                                   u"伊藤", u"山本", u"中村", u"小林", u"加藤"};
        static const char16_t* const givenKana[] = {u"ﾀﾛｳ",  u"ﾊﾅｺ", u"ｹﾝｼﾞ",  u"ﾕｲ",
                                                    u"ｼｮｳﾀ", u"ﾐｻｷ", u"ﾀﾞｲｽｹ", u"ｱｵｲ"};
        static const char16_t* const given[] = {u"太郎", u"花子", u"健二", u"結衣",
                                                u"翔太", u"美咲", u"大輔", u"葵"};
        static const char16_t* const prefs[] = {u"東京都", u"大阪府", u"神奈川県", u"愛知県",
                                                u"福岡県", u"北海道", u"鹿児島県"};
        static const char16_t* const cities[] = {u"千代田区",     u"横浜市中区",   u"名古屋市中村区",
                                                 u"福岡市博多区", u"札幌市中央区", u"鹿児島市"};
        static const char16_t* const towns[] = {u"本町", u"栄", u"中央", u"錦", u"南町", u"桜ケ丘", u"旭町"};
        static const char16_t* const corps[] = {u"株式会社山田商事", u"有限会社ソフト工房", u"合同会社表計算",
                                                u"株式会社日本ＡＢＣ"};
        static const char16_t* const corpsKana[] = {u"ﾔﾏﾀﾞｼｮｳｼﾞ", u"ｿﾌﾄｺｳﾎﾞｳ", u"ﾋｮｳｹｲｻﾝ", u"ﾆﾎﾝABC"};
        Row r;
        const int s = number(0, 9);
        const int g = number(0, 7);
        r.nameKana =
            ToAnsi(QString::fromUtf16(surnamesKana[s]) + QLatin1Char(' ') + QString::fromUtf16(givenKana[g]));
        r.nameKanji = ToAnsi(QString::fromUtf16(surnames[s]) + QChar(0x3000) + QString::fromUtf16(given[g]));
        r.tel = "0" + digits(9);
        r.pos = digits(7);
        r.tdfkn = ToAnsi(QString::fromUtf16(pick(prefs)));
        r.adrs1 = ToAnsi(QString::fromUtf16(pick(cities)));
        r.adrs2 = ToAnsi(QString::fromUtf16(pick(towns))) + QByteArray::number(number(1, 9)) + "-" +
                  QByteArray::number(number(1, 30)) + "-" + QByteArray::number(number(1, 20));
        r.adrs3 = number(0, 3) ? QByteArray() : ToAnsi(QStringLiteral("第２ビル%1階").arg(number(1, 12)));
        const int c = number(0, 3);
        r.corpKanji = ToAnsi(QString::fromUtf16(corps[c]));
        r.corpKana = ToAnsi(QString::fromUtf16(corpsKana[c]));
        r.keyword1 = number(0, 1) ? QByteArray("VIP") : QByteArray("vip");
        r.group = number(0, 10);
        return r;
    }
};

void report(const char* what, double engine, double plain)
{
    if (plain > 0)
        std::printf("%-52s %11.2f %11.2f %7.2fx\n", what, engine, plain, engine / plain);
    else // no plain counterpart
        std::printf("%-52s %11.2f %11s %8s\n", what, engine, "-", "-");
}

sqlite3* openPlain(const QString& path)
{
    sqlite3* db = nullptr;
    check(sqlite3_open(QFile::encodeName(path).constData(), &db), db);
    sqlite3_create_collation(db, "CP932NOCASE", SQLITE_UTF8, nullptr, collate);
    check(sqlite3_exec(db, "PRAGMA synchronous=FULL; PRAGMA cache_size=-32768", nullptr, nullptr, nullptr),
          db);
    return db;
}

void bindBytes(sqlite3_stmt* st, int i, const QByteArray& v)
{
    if (v.isEmpty())
        sqlite3_bind_null(st, i);
    else
        sqlite3_bind_blob(st, i, v.constData(), int(v.size()), SQLITE_TRANSIENT);
}

double plainWalk(sqlite3* db, const char* sql)
{
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db);
    qint64 sum = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        sum += sqlite3_column_int64(st, 0);
        sum += QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 1)), sqlite3_column_bytes(st, 1))
                   .size();
    }
    sqlite3_finalize(st);
    if (sum == 0)
        std::puts("(empty walk)");
    return ms(t);
}

double engineWalk(Table& t, bool forward)
{
    QElapsedTimer timer;
    timer.start();
    const TableField recNo = t.fieldByName(QStringLiteral("RecNo"));
    const TableField kana = t.fieldByName(QStringLiteral("NameKana"));
    qint64 sum = 0;
    if (forward)
        for (t.first(); !t.eof(); t.next())
            sum += recNo.asInteger() + kana.asAnsi().size();
    else
        for (t.last(); !t.bof(); t.prior())
            sum += recNo.asInteger() + kana.asAnsi().size();
    if (sum == 0)
        std::puts("(empty walk)");
    return ms(timer);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString engineDir = dir.path() + QStringLiteral("/engine/");
    const QString plainDir = dir.path() + QStringLiteral("/plain/");
    QDir().mkpath(engineDir);
    QDir().mkpath(plainDir);
    TableSession::global().addPassword(TablePassword);

    Generator gen;
    std::vector<Generator::Row> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        rows.push_back(gen.make());

    std::printf("%d rows of Adrs.DB (85 fields, 22 indexes); times in ms\n", kRows);
    std::printf("%-52s %11s %11s %8s\n", "work", "engine", "plain SQL", "ratio");

    // Create and fill: both files have the same schema; the plain side writes with one prepared INSERT.
    QElapsedTimer t;
    t.start();
    Table::createTable(engineDir + QStringLiteral("Adrs.DB"), AdrsTableDef(), TablePassword);
    Table table;
    table.setDatabaseName(engineDir);
    table.setTableName(QStringLiteral("Adrs.DB"));
    table.open();
    const int fGroup = table.fieldIndex(QStringLiteral("Group"));
    const int fNameKana = table.fieldIndex(QStringLiteral("NameKana"));
    const int fNameKanji = table.fieldIndex(QStringLiteral("NameKanji"));
    const int fTel = table.fieldIndex(QStringLiteral("Tel"));
    const int fPos = table.fieldIndex(QStringLiteral("Pos"));
    const int fTdfkn = table.fieldIndex(QStringLiteral("Tdfkn"));
    const int fAdrs1 = table.fieldIndex(QStringLiteral("Adrs1"));
    const int fAdrs2 = table.fieldIndex(QStringLiteral("Adrs2"));
    const int fAdrs3 = table.fieldIndex(QStringLiteral("Adrs3"));
    const int fCorpKanji = table.fieldIndex(QStringLiteral("CorpKanji"));
    const int fCorpKana = table.fieldIndex(QStringLiteral("CorpKana"));
    const int fKeyword1 = table.fieldIndex(QStringLiteral("Keyword1"));
    const int fAdd = table.fieldIndex(QStringLiteral("AddDateTime"));
    const QDateTime now = QDateTime::currentDateTime();
    table.startTransaction();
    for (const Generator::Row& r : rows) {
        table.append();
        table.field(fGroup).setInteger(r.group);
        table.field(fNameKana).setAnsi(r.nameKana);
        table.field(fNameKanji).setAnsi(r.nameKanji);
        table.field(fTel).setAnsi(r.tel);
        table.field(fPos).setAnsi(r.pos);
        table.field(fTdfkn).setAnsi(r.tdfkn);
        table.field(fAdrs1).setAnsi(r.adrs1);
        table.field(fAdrs2).setAnsi(r.adrs2);
        table.field(fAdrs3).setAnsi(r.adrs3);
        table.field(fCorpKanji).setAnsi(r.corpKanji);
        table.field(fCorpKana).setAnsi(r.corpKana);
        table.field(fKeyword1).setAnsi(r.keyword1);
        table.field(fAdd).setDateTime(now);
        table.post();
    }
    table.commit();
    table.close();
    const double engineFill = ms(t);

    t.restart();
    Table::createTable(plainDir + QStringLiteral("Adrs.DB"), AdrsTableDef());
    sqlite3* db = openPlain(plainDir + QStringLiteral("Adrs.DB"));
    sqlite3_stmt* ins = nullptr;
    check(sqlite3_prepare_v2(
              db,
              "INSERT INTO Adrs (\"Group\", NameKana, NameKanji, Tel, Pos, Tdfkn, Adrs1, Adrs2, Adrs3, "
              "CorpKanji, CorpKana, Keyword1, AddDateTime) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
              -1, &ins, nullptr),
          db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    for (const Generator::Row& r : rows) {
        sqlite3_bind_int64(ins, 1, r.group);
        bindBytes(ins, 2, r.nameKana);
        bindBytes(ins, 3, r.nameKanji);
        bindBytes(ins, 4, r.tel);
        bindBytes(ins, 5, r.pos);
        bindBytes(ins, 6, r.tdfkn);
        bindBytes(ins, 7, r.adrs1);
        bindBytes(ins, 8, r.adrs2);
        bindBytes(ins, 9, r.adrs3);
        bindBytes(ins, 10, r.corpKanji);
        bindBytes(ins, 11, r.corpKana);
        bindBytes(ins, 12, r.keyword1);
        sqlite3_bind_int64(ins, 13, now.toMSecsSinceEpoch());
        check(sqlite3_step(ins), db);
        sqlite3_reset(ins);
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_finalize(ins);
    report("create and fill 100,000 rows (one transaction)", engineFill, ms(t));

    // Open, then walks reading RecNo and NameKana of every row.
    t.restart();
    Table walker;
    walker.setDatabaseName(engineDir);
    walker.setTableName(QStringLiteral("Adrs.DB"));
    walker.open();
    const double engineOpen = ms(t);
    t.restart();
    sqlite3_stmt* cnt = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid FROM Adrs ORDER BY rowid", -1, &cnt, nullptr);
    while (sqlite3_step(cnt) == SQLITE_ROW) {
    }
    sqlite3_finalize(cnt);
    report("open (engine: reads the primary-key order)", engineOpen, ms(t));

    report("walk primary key, forward", engineWalk(walker, true),
           plainWalk(db, "SELECT RecNo, NameKana FROM Adrs ORDER BY rowid"));
    report("walk primary key, backward", engineWalk(walker, false),
           plainWalk(db, "SELECT RecNo, NameKana FROM Adrs ORDER BY rowid DESC"));
    t.restart();
    walker.setIndexName(QStringLiteral("NameKana"));
    const double engineSetIndex = ms(t);
    report("set index NameKana (engine: reads its order)", engineSetIndex, 0);
    report(
        "walk NameKana, forward", engineWalk(walker, true),
        plainWalk(
            db,
            "SELECT RecNo, NameKana FROM Adrs ORDER BY CAST(NameKana AS TEXT) COLLATE CP932NOCASE, rowid"));
    report("walk NameKana, backward", engineWalk(walker, false),
           plainWalk(
               db,
               "SELECT RecNo, NameKana FROM Adrs ORDER BY CAST(NameKana AS TEXT) COLLATE CP932NOCASE DESC, "
               "rowid DESC"));

    // Find key on Tel: 1,000 numbers that exist.
    constexpr int kFinds = 1000;
    walker.setIndexName(QStringLiteral("Tel"));
    t.restart();
    int found = 0;
    for (int i = 0; i < kFinds; ++i)
        found += walker.findKey({rows[size_t(i * 97)].tel}) ? 1 : 0;
    const double engineFind = ms(t) * 1000.0 / kFinds;
    t.restart();
    sqlite3_stmt* find = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid FROM Adrs WHERE Tel = ? ORDER BY Tel, rowid LIMIT 1", -1, &find,
                       nullptr);
    int plainFound = 0;
    for (int i = 0; i < kFinds; ++i) {
        bindBytes(find, 1, rows[size_t(i * 97)].tel);
        plainFound += sqlite3_step(find) == SQLITE_ROW ? 1 : 0;
        sqlite3_reset(find);
    }
    sqlite3_finalize(find);
    report("find key on Tel (us per find)", engineFind, ms(t) * 1000.0 / kFinds);
    if (found != kFinds || plainFound != kFinds)
        std::printf("(finds missed: %d %d)\n", kFinds - found, kFinds - plainFound);

    // Append + post of one row into the full table, each committed on its own (synchronous=FULL).
    constexpr int kAppends = 20;
    walker.setIndexName(QStringLiteral("NameKana"));
    t.restart();
    for (int i = 0; i < kAppends; ++i) {
        walker.append();
        walker.fieldByName(QStringLiteral("NameKana")).setAnsi(rows[size_t(i)].nameKana);
        walker.fieldByName(QStringLiteral("Tel")).setAnsi(rows[size_t(i)].tel);
        walker.post();
    }
    const double engineAppend = ms(t) / kAppends;
    t.restart();
    sqlite3_stmt* one = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Adrs (NameKana, Tel) VALUES (?, ?)", -1, &one, nullptr);
    for (int i = 0; i < kAppends; ++i) {
        bindBytes(one, 1, rows[size_t(i)].nameKana);
        bindBytes(one, 2, rows[size_t(i)].tel);
        check(sqlite3_step(one), db);
        sqlite3_reset(one);
    }
    sqlite3_finalize(one);
    report("append + post one row into the full table (per row)", engineAppend, ms(t) / kAppends);

    sqlite3_close(db);
    return 0;
}
