// The names a fuzzy name search adds or drops, per search name, as the three name tables hold them.
#pragma once

#include "platform/Cp932.h"

#include <QList>
#include <QString>

class QWidget;
class Table;

struct TNameListRow
{
    qint64 recNo = 0;
    QString name;
    bool show = false;
    int flag = 0; // own names: 0 include, 1 exclude
};

// The rows whose Category equals category exactly, in the order of the "Category" index. withFlag: the
// table has the Flag field. Rows whose Category differs only in letter case are skipped, not an end.
QList<TNameListRow> ReadNameListRows(Table& table, const AnsiString& category, bool withFlag);
// The highest RecNo + 1; 0 for an empty table.
qint64 NextRecNo(Table& table);
// Shows that a post or delete in a name table failed, naming the table; the caller has cancelled it.
void ShowTableWriteFailure(QWidget* owner, const QString& tableName, const QString& reason);
