// The program's folders for a design window test: the build's program folder, the data folders in a
// temporary folder with "Design/" inside it, and no printer; the folders are restored when it goes.
#pragma once

#include "core/MainSettings.h"
#include "platform/Printers.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

class DesignWindowFolders
{
public:
    DesignWindowFolders() : m_saved{ProgramFolder, DataRootFolder, DataFolder, DesignFolder}
    {
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        DesignFolder = m_dir.path() + QStringLiteral("/Design/");
        QDir().mkpath(DesignFolder);
        TPrinterList::Instance().SetPrinters({});
    }
    ~DesignWindowFolders()
    {
        TPrinterList::Instance().SetPrinters({});
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
        DesignFolder = m_saved[3];
    }
    DesignWindowFolders(const DesignWindowFolders&) = delete;
    DesignWindowFolders& operator=(const DesignWindowFolders&) = delete;

    bool IsValid() const { return m_dir.isValid(); }
    QString FilePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QStringList m_saved;
};
