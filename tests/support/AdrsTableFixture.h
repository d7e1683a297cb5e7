// A real Adrs.DB (and Sender.DB) in a temporary folder, with rows added field by field.
#pragma once

#include "core/TableDefs.h"
#include "platform/TableEngine.h"

#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

class AdrsTableFixture
{
public:
    using Fields = std::initializer_list<std::pair<const char*, QVariant>>;

    AdrsTableFixture()
    {
        Table::createTable(m_dir.filePath(QStringLiteral("Adrs.DB")), AdrsTableDef());
        m_adrs.setDatabaseName(m_dir.path());
        m_adrs.setTableName(QStringLiteral("Adrs.DB"));
        m_adrs.open();
    }

    Table& adrs() { return m_adrs; }
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

    // Appends one row; texts are given as CP932 bytes (QByteArray) or wide text (QString). Answers its RecNo.
    qint32 add(Fields fields) { return add(m_adrs, fields); }

    static qint32 add(Table& table, Fields fields)
    {
        table.append();
        for (const auto& [name, value] : fields) {
            TableField f = table.fieldByName(QString::fromLatin1(name));
            if (value.typeId() == QMetaType::QString)
                f.setString(value.toString());
            else
                f.setValue(value);
        }
        return qint32(table.post());
    }

    // Sender.DB beside Adrs.DB, created on first use.
    Table& sender()
    {
        if (!m_senderCreated) {
            m_senderCreated = true;
            Table::createTable(m_dir.filePath(QStringLiteral("Sender.DB")), SenderTableDef());
            m_sender.setDatabaseName(m_dir.path());
            m_sender.setTableName(QStringLiteral("Sender.DB"));
        }
        return m_sender;
    }

private:
    QTemporaryDir m_dir;
    Table m_adrs;
    Table m_sender;
    bool m_senderCreated = false;
};
