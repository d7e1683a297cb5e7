// What the message-side design tests share: folders of their own (put back afterwards) with the built
// program folder and no printers, and sender rows.
#pragma once

#include "core/MainSettings.h"
#include "designers/DesignerData.h"
#include "platform/Printers.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

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

// The data root, data and design folders in a temporary folder while it lives.
class TDesignFolders
{
public:
    TDesignFolders() : m_saved{ProgramFolder, DataRootFolder, DataFolder, DesignFolder}
    {
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        DesignFolder = m_dir.path() + QStringLiteral("/Design/");
        QDir().mkpath(DesignFolder);
        TPrinterList::Instance().SetPrinters({});
    }
    ~TDesignFolders()
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
        DesignFolder = m_saved[3];
    }
    TDesignFolders(const TDesignFolders&) = delete;
    TDesignFolders& operator=(const TDesignFolders&) = delete;
    bool IsValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
    QStringList m_saved;
};
