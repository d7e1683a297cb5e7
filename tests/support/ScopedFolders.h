// Points the program's folders at a temporary data folder (with its "Label/" and "Card/" folders) and the
// program folder at the built program's, and puts them all back afterwards; no printers in between.
#pragma once

#include "core/MainSettings.h"
#include "platform/Printers.h"

#include <QDir>
#include <QStringList>

#include <array>

class ScopedFolders
{
public:
    explicit ScopedFolders(const QString& dataFolder)
    {
        for (QString* folder : m_folders)
            m_saved.append(*folder);
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = dataFolder + u'/';
        LabelFolder = DataFolder + QStringLiteral("Label/");
        CardFolder = DataFolder + QStringLiteral("Card/");
        for (const QString& folder : {LabelFolder, CardFolder})
            QDir().mkpath(folder);
        TPrinterList::Instance().SetPrinters({});
    }
    ~ScopedFolders()
    {
        for (size_t i = 0; i < m_folders.size(); ++i)
            *m_folders[i] = m_saved[qsizetype(i)];
        TPrinterList::Instance().SetPrinters({});
    }
    ScopedFolders(const ScopedFolders&) = delete;
    ScopedFolders& operator=(const ScopedFolders&) = delete;

private:
    const std::array<QString*, 5> m_folders{&ProgramFolder, &DataRootFolder, &DataFolder, &LabelFolder,
                                            &CardFolder};
    QStringList m_saved;
};
