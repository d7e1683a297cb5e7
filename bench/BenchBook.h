// The start the benchmarks over an address book share: an offscreen application whose messages answer OK,
// the data folders in a folder on the working disc, and one empty book opened in the data module.
#pragma once

#include "core/DBInfo.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "platform/MessageSeam.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

inline void UseOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Points the folders into dir, creates the book's empty Adrs.DB, loads the hyphenation library and opens
// the book; false when it cannot be opened.
inline bool OpenBenchBook(const QTemporaryDir& dir, const QString& book, TDMQuenrid215& dm)
{
    MsgSeam::SetHandler([](const MsgSeam::Request&) { return int(MsgSeam::IdOk); });
    DataRootFolder = dir.path() + QStringLiteral("/");
    DataFolder = DataRootFolder + QStringLiteral("Data/");
    SetDataSubFolders();
    QDir().mkpath(AdrsFolder + book);
    Table::createTable(AdrsFolder + book + QStringLiteral("/Adrs.DB"), AdrsTableDef(), TablePassword);
    ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
    LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
    dm.CreateAdrsTable(book);
    return dm.OpenAdrs();
}
