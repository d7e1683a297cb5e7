// The lines of the directory export files: header and data line of a hit from the chosen items, CP932.
#pragma once

#include "DirRecords.h"
#include "addressbook/Inquiry.h"
#include "platform/Cp932.h"

#include <QList>

#include <functional>

class TMemIniFile;

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

// What one write of an export adds to the file: the header when writeHeader (then cleared), then the line of
// each of the n hits that does not come out empty, each ended by CR LF; lines counts them.
AnsiString DirExportText(const QList<TExportItemRec>& items, bool& writeHeader, int n,
                         const std::function<AnsiString(int)>& lineOf, int& lines);

// The item choice of a window's settings section (ExportItemIndex, ExportItemExport): table order with all
// chosen unless 19 numbers are stored; the marks only when 19 are stored.
QList<TExportItemRec> ReadDirExportItems(const TMemIniFile& ini, const QString& section);
void WriteDirExportItems(TMemIniFile& ini, const QString& section, const QList<TExportItemRec>& items);
