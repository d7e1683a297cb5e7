// Reading the name tables by search name.
#include "search/NameLists.h"

#include "core/AppSub.h"
#include "core/MsgBoxPos.h"
#include "platform/MessageSeam.h"
#include "platform/TableEngine.h"

QList<TNameListRow> ReadNameListRows(Table& table, const AnsiString& category, bool withFlag)
{
    QList<TNameListRow> rows;
    table.setIndexName(QStringLiteral("Category"));
    table.findNearest({category});
    for (; !table.eof(); table.next()) {
        const AnsiString value = table.fieldByName(QStringLiteral("Category")).asAnsi();
        if (TableEngine::compareIgnoringCase(value.constData(), int(value.size()), category.constData(),
                                             int(category.size())) != 0)
            break;
        if (value != category)
            continue;
        TNameListRow row;
        row.recNo = table.fieldByName(QStringLiteral("RecNo")).asInteger();
        row.name = table.fieldByName(QStringLiteral("Name")).asString();
        row.show = table.fieldByName(QStringLiteral("Show")).asBoolean();
        if (withFlag)
            row.flag = int(table.fieldByName(QStringLiteral("Flag")).asInteger());
        rows << row;
    }
    return rows;
}

qint64 NextRecNo(Table& table)
{
    const QString index = table.indexName();
    table.setIndexName(QString());
    table.last();
    const qint64 next = table.isEmpty() ? 0 : table.fieldByName(QStringLiteral("RecNo")).asInteger() + 1;
    table.setIndexName(index);
    return next;
}

void ShowTableWriteFailure(QWidget* owner, const QString& tableName, const QString& reason)
{
    MessageBoxPos(owner, QStringLiteral("「%1」に書き込めませんでした  \r\n%2  ").arg(tableName, reason),
                  ProductTitle, MsgSeam::MbIconStop);
}
