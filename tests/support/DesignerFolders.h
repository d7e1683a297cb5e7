// Designer window tests: the program's folders in a temporary folder (with "Design/", "Label/" and "Card/"),
// put back afterwards, no printers; and the names of a menu's items.
#pragma once

#include "core/MainSettings.h"
#include "platform/Printers.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>

class DesignerFolders
{
public:
    DesignerFolders()
        : m_saved{ProgramFolder, DataRootFolder, DataFolder, DesignFolder, LabelFolder, CardFolder}
    {
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        DesignFolder = DataFolder + QStringLiteral("Design/");
        LabelFolder = DataFolder + QStringLiteral("Label/");
        CardFolder = DataFolder + QStringLiteral("Card/");
        for (const QString* folder : {&DesignFolder, &LabelFolder, &CardFolder})
            QDir().mkpath(*folder);
        TPrinterList::Instance().SetPrinters({});
    }
    ~DesignerFolders()
    {
        for (QString* folder :
             {&ProgramFolder, &DataRootFolder, &DataFolder, &DesignFolder, &LabelFolder, &CardFolder})
            *folder = m_saved.takeFirst();
        TPrinterList::Instance().SetPrinters({});
    }
    DesignerFolders(const DesignerFolders&) = delete;
    DesignerFolders& operator=(const DesignerFolders&) = delete;
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
    QStringList m_saved;
};

// The object names of the menu's items, "|" for a separator, separated by blanks.
inline QString MenuItemNames(const QMenu& menu)
{
    QStringList items;
    for (QAction* a : menu.actions())
        items << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    return items.join(u' ');
}
