// Faults planted in table files for tests: rows whose deletion or update the database refuses.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>
#include <sqlite3.h>

// Makes statement ("DELETE" or "UPDATE") of the given rows of an Adrs.DB file fail, as a damaged or locked
// row would.
inline void RefuseChanging(const QString& file, const char* statement, const QList<int>& recNos)
{
    QStringList list;
    for (int r : recNos)
        list.append(QString::number(r));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    const QByteArray sql =
        QStringLiteral("CREATE TRIGGER keep%1 BEFORE %1 ON \"Adrs\" WHEN old.rowid IN (%2) "
                       "BEGIN SELECT RAISE(ABORT, 'kept'); END")
            .arg(QLatin1String(statement), list.join(QLatin1Char(',')))
            .toUtf8();
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

inline void RefuseDeleting(const QString& file, const QList<int>& recNos)
{
    RefuseChanging(file, "DELETE", recNos);
}
