// The prefix and the address conversion, pack and index repair over 100,000 generated address rows, a third
// of them with a number or an address to change; each conversion against plain SQLite applying the same
// changes with UPDATEs in one transaction (figures printed side by side).
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "maintenance/CnvAdPos.h"
#include "maintenance/CnvKykbn.h"
#include "maintenance/Dladcvor.h"
#include "maintenance/Dlzpcvor.h"
#include "maintenance/TableTools.h"
#include "search/PosDicClass.h"
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

void report(const char* what, double engine, double plain)
{
    if (plain > 0)
        std::printf("%-44s %11.2f %11.2f %7.2fx\n", what, engine, plain, engine / plain);
    else
        std::printf("%-44s %11.2f %11s %8s\n", what, engine, "-", "-");
}

// Fills a new table file: names and numbers, every third number an old 06 one; the others (03 and a digit
// other than 0) stay.
void fill(const QString& path, const QString& password)
{
    Table::createTable(path, AdrsTableDef(), password);
    Table table;
    table.setTableName(path);
    table.open();
    std::mt19937 rng(20261211);
    const auto digits = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + int(rng() % 10));
        return s;
    };
    table.startTransaction();
    for (int i = 0; i < kRows; ++i) {
        table.append();
        table.fieldByName(QStringLiteral("NameKanji")).setString(QStringLiteral("山田%1").arg(i));
        table.fieldByName(QStringLiteral("Tel"))
            .setString(i % 3 == 0 ? QStringLiteral("06") + digits(7)
                                  : QStringLiteral("03") + QChar(u'1' + int(rng() % 9)) + digits(7));
        table.fieldByName(QStringLiteral("Fax"))
            .setString(QStringLiteral("03") + QChar(u'1' + int(rng() % 9)) + digits(7));
        table.post();
    }
    table.commit();
}

// The same changes through plain statements: read all numbers, UPDATE the changed rows in one transaction.
int plainConvert(const QString& path, const QDateTime& now)
{
    sqlite3* db = nullptr;
    check(sqlite3_open(QFile::encodeName(path).constData(), &db), db);
    sqlite3_create_collation(db, "CP932NOCASE", SQLITE_UTF8, nullptr, collate);
    check(sqlite3_exec(db, "PRAGMA synchronous=FULL; BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* update = nullptr;
    check(
        sqlite3_prepare_v2(db, "SELECT rowid, Tel, Fax, Portable1, Portable2 FROM Adrs", -1, &read, nullptr),
        db);
    check(sqlite3_prepare_v2(
              db,
              "UPDATE Adrs SET Tel = ?1, Fax = ?2, Portable1 = ?3, Portable2 = ?4, UpdDateTime = ?5 "
              "WHERE rowid = ?6",
              -1, &update, nullptr),
          db);
    int changed = 0;
    while (sqlite3_step(read) == SQLITE_ROW) {
        bool any = false;
        for (int c = 1; c <= 4; ++c) {
            const QByteArray bytes(static_cast<const char*>(sqlite3_column_blob(read, c)),
                                   sqlite3_column_bytes(read, c));
            const auto value = ConvertPhoneNumber(ToWide(bytes), now.date());
            const QByteArray out = value ? ToAnsi(*value) : bytes;
            any = any || value.has_value();
            if (out.isEmpty())
                sqlite3_bind_null(update, c);
            else
                sqlite3_bind_blob(update, c, out.constData(), int(out.size()), SQLITE_TRANSIENT);
        }
        if (!any)
            continue;
        sqlite3_bind_int64(update, 5, now.toMSecsSinceEpoch());
        sqlite3_bind_int64(update, 6, sqlite3_column_int64(read, 0));
        check(sqlite3_step(update), db);
        sqlite3_reset(update);
        ++changed;
    }
    sqlite3_finalize(read);
    sqlite3_finalize(update);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return changed;
}

// Addresses of the address conversion: every third one of a former municipality, the others already in
// the form the conversion gives them (so they stay).
const char* const FormerAddresses[][4] = {
    {"埼玉県", "浦和市", "駒場１－２－３", ""},
    {"静岡県", "清水市", "旭町６－８", "清水ビル"},
    {"大阪府", "堺市", "深井沢町３２９０", ""},
};

void fillAddresses(const QString& path, const QString& password, const TAdrsPosCalls& calls)
{
    Table::createTable(path, AdrsTableDef(), password);
    Table table;
    table.setTableName(path);
    table.open();
    QList<TAdrsPosFields> former, today;
    for (const auto& a : FormerAddresses) {
        TAdrsPosFields f{ToAnsi(QString::fromUtf8(a[0])),
                         ToAnsi(QString::fromUtf8(a[1])),
                         ToAnsi(QString::fromUtf8(a[2])),
                         ToAnsi(QString::fromUtf8(a[3])),
                         {},
                         {},
                         {}};
        former.append(f);
        ConvertRecord(f, calls);
        today.append(f);
    }
    const char* const names[] = {"Tdfkn", "Adrs1", "Adrs2", "Adrs3", "Pos", "JisCode", "AdrsKana"};
    table.startTransaction();
    for (int i = 0; i < kRows; ++i) {
        const TAdrsPosFields& f = (i % 3 == 0 ? former : today)[(i / 3) % 3];
        const AnsiString values[] = {f.Tdfkn, f.Adrs1, f.Adrs2, f.Adrs3, f.Pos, f.JisCode, f.AdrsKana};
        table.append();
        table.fieldByName(QStringLiteral("NameKanji")).setString(QStringLiteral("山田%1").arg(i));
        for (int n = 0; n < 7; ++n)
            table.fieldByName(QLatin1String(names[n])).setAnsi(values[n]);
        table.post();
    }
    table.commit();
}

// The address conversion through plain statements: read the seven fields, UPDATE the changed rows in one
// transaction.
int plainConvertAddresses(const QString& path, const TAdrsPosCalls& calls, const QDateTime& now)
{
    sqlite3* db = nullptr;
    check(sqlite3_open(QFile::encodeName(path).constData(), &db), db);
    sqlite3_create_collation(db, "CP932NOCASE", SQLITE_UTF8, nullptr, collate);
    check(sqlite3_exec(db, "PRAGMA synchronous=FULL; BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* update = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT rowid, Tdfkn, Adrs1, Adrs2, Adrs3, Pos, JisCode, AdrsKana FROM Adrs",
                             -1, &read, nullptr),
          db);
    check(sqlite3_prepare_v2(db,
                             "UPDATE Adrs SET Tdfkn = ?1, Adrs1 = ?2, Adrs2 = ?3, Adrs3 = ?4, Pos = ?5, "
                             "JisCode = ?6, AdrsKana = ?7, UpdDateTime = ?8 WHERE rowid = ?9",
                             -1, &update, nullptr),
          db);
    int changed = 0;
    while (sqlite3_step(read) == SQLITE_ROW) {
        TAdrsPosFields r;
        AnsiString* fields[] = {&r.Tdfkn, &r.Adrs1, &r.Adrs2, &r.Adrs3, &r.Pos, &r.JisCode, &r.AdrsKana};
        for (int c = 0; c < 7; ++c)
            *fields[c] = QByteArray(static_cast<const char*>(sqlite3_column_blob(read, c + 1)),
                                    sqlite3_column_bytes(read, c + 1));
        if (!ConvertRecord(r, calls))
            continue;
        for (int c = 0; c < 7; ++c) {
            if (fields[c]->isEmpty())
                sqlite3_bind_null(update, c + 1);
            else
                sqlite3_bind_blob(update, c + 1, fields[c]->constData(), int(fields[c]->size()),
                                  SQLITE_TRANSIENT);
        }
        sqlite3_bind_int64(update, 8, now.toMSecsSinceEpoch());
        sqlite3_bind_int64(update, 9, sqlite3_column_int64(read, 0));
        check(sqlite3_step(update), db);
        sqlite3_reset(update);
        ++changed;
    }
    sqlite3_finalize(read);
    sqlite3_finalize(update);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return changed;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    TableSession::global().addPassword(TablePassword);
    const QString enginePath = dir.path() + QStringLiteral("/engine/Adrs.DB");
    const QString plainPath = dir.path() + QStringLiteral("/plain/Adrs.DB");
    QDir().mkpath(QFileInfo(enginePath).path());
    QDir().mkpath(QFileInfo(plainPath).path());
    fill(enginePath, TablePassword);
    fill(plainPath, QString());
    const QDateTime now = QDateTime::currentDateTime();

    std::printf("%d rows of Adrs.DB, a third to change; times in ms\n", kRows);
    std::printf("%-44s %11s %11s %8s\n", "work", "engine", "plain SQL", "ratio");
    QElapsedTimer t;
    Table table;
    table.setTableName(enginePath);
    table.open();
    int steps = 0;
    t.start();
    const int converted = ConvertPhoneFields(table,
                                             {QStringLiteral("Tel"), QStringLiteral("Fax"),
                                              QStringLiteral("Portable1"), QStringLiteral("Portable2")},
                                             QStringLiteral("UpdDateTime"), now, [&] { ++steps; });
    const double engineConvert = ms(t);
    table.close();
    t.restart();
    const int plainChanged = plainConvert(plainPath, now);
    report(qPrintable(QStringLiteral("prefix conversion (%1 / %2 changed)").arg(converted).arg(plainChanged)),
           engineConvert, ms(t));

    table.setExclusive(true);
    table.open();
    t.restart();
    table.pack();
    report("pack (exclusive)", ms(t), 0);
    t.restart();
    table.regenerateIndexes();
    const bool sound = table.integrityCheck().isEmpty();
    report(sound ? "index repair with integrity check" : "index repair: PROBLEMS FOUND", ms(t), 0);
    table.close();

    // The address conversion, the libraries loaded as the dialog loads them.
    ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
    if (LoadDladcvor() != ConvLibOk || LoadDlzpcvor() != ConvLibOk)
        return 1;
    TPosSearch posSearch(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
    const TAdrsPosCalls calls =
        LibraryAdrsPosCalls([&](const AnsiString& pos) { return KeepPostalCode(posSearch, pos); });
    const QString engineAdrs = dir.path() + QStringLiteral("/engine2/Adrs.DB");
    const QString plainAdrs = dir.path() + QStringLiteral("/plain2/Adrs.DB");
    QDir().mkpath(QFileInfo(engineAdrs).path());
    QDir().mkpath(QFileInfo(plainAdrs).path());
    fillAddresses(engineAdrs, TablePassword, calls);
    fillAddresses(plainAdrs, QString(), calls);
    Table book;
    book.setTableName(engineAdrs);
    book.open();
    int addressSteps = 0;
    t.restart();
    const int addresses = ConvertInBatches(
        book, [&] { return ConvertBookRecord(book, calls, now); }, [&] { ++addressSteps; });
    const double engineAddresses = ms(t);
    book.close();
    t.restart();
    const int plainAddresses = plainConvertAddresses(plainAdrs, calls, now);
    report(
        qPrintable(QStringLiteral("address conversion (%1 / %2 changed)").arg(addresses).arg(plainAddresses)),
        engineAddresses, ms(t));
    FreeDladcvor();
    FreeDlzpcvor();
    return steps == kRows && addressSteps == kRows && addresses == kRows / 3 + 1 ? 0 : 1;
}
