// The lines of the directory export files: header and data line of a hit from the chosen items, CP932.
#pragma once

#include "DirRecords.h"
#include "addressbook/Inquiry.h"
#include "platform/Cp932.h"

#include <QList>

// The entries in table order, all chosen.
QList<TExportItemRec> DefaultDirExportItems();
// Whether a chosen item takes its value from the entry's detail.
bool DirExportNeedsDetail(const QList<TExportItemRec>& items);
// The captions of the chosen items joined by ",".
AnsiString DirExportHeader(const QList<TExportItemRec>& items);
// The values of the chosen items joined by ","; from the detail when one is given, else from the hit row.
// A value holding "," is quoted (inner quotes doubled). Empty when the line comes out empty.
AnsiString DirExportLine(const TDirHitRec& hit, const TDirDetailRec* detail,
                         const QList<TExportItemRec>& items);
