// Whole-file reads and writes for tests, and rows of tables: counted in a file, or appended field by field.
#pragma once

#include "core/TableDefs.h"
#include "platform/TableEngine.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

#include <gtest/gtest.h>

// The file's bytes; empty when it cannot be read.
inline QByteArray ReadFileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes bytes as the whole file, making its folder first.
inline void WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

inline int TableRowCount(const QString& path)
{
    TableSession session;
    session.addPassword(TablePassword);
    Table t(session);
    t.setTableName(path);
    t.open();
    return t.recordCount();
}

// Appends one row with the values set by field name; answers its record number.
inline qint64 AppendRow(Table& table, const QList<std::pair<const char*, QVariant>>& values)
{
    table.append();
    for (const auto& [name, v] : values)
        table.fieldByName(QLatin1String(name)).setValue(v);
    return table.post();
}
