// What the message-side design tests share: the designer folders and sender rows.
#pragma once

#include "core/MainSettings.h"
#include "designers/DesignerData.h"
#include "platform/Printers.h"
#include "support/DesignerFolders.h"
#include "support/TestFiles.h"

// A person sender at "千代田区1-1" whose name is printed.
inline TMemoryRow SenderRow(qint32 recNo, const char* title, const QString& name)
{
    TMemoryRow row;
    row.Fields = {{"RecNo", recNo},
                  {"Title", QByteArray(title)},
                  {"Pos", QByteArray("1000001")},
                  {"Tdfkn", QByteArray()},
                  {"Adrs1", ToAnsi("千代田区1-1")},
                  {"SelectInfo", 1},
                  {"NamePrint", true},
                  {"Name", ToAnsi(name)}};
    return row;
}
