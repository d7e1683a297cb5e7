// The program's folders of a designer test in a temporary folder: the data folders, the layout, label, card
// and design folders made there, no printer, an empty frame clipboard; all set back when the test goes. The
// main settings file lies in the temporary folder. Also the golden design, the entries of the selected-frame
// combo and the item names of a menu.
#pragma once

#include "core/MainSettings.h"
#include "designers/FrameClipboard.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QMenu>
#include <QStringList>
#include <QTemporaryDir>

#include <array>
#include <utility>

#include <gtest/gtest.h>

inline const QString GoldenDesignFile = QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/every-kind.gpd");

class TDesignerFolders
{
public:
    TDesignerFolders()
    {
        for (const QString* folder : Folders())
            m_saved << *folder;
        if (!m_dir.isValid())
            return;
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        LayoutFolder = DataFolder + QStringLiteral("Layout/");
        LabelFolder = DataFolder + QStringLiteral("Label/");
        CardFolder = DataFolder + QStringLiteral("Card/");
        DesignFolder = DataFolder + QStringLiteral("Design/");
        for (const QString& folder : {LayoutFolder, LabelFolder, CardFolder, DesignFolder})
            QDir().mkpath(folder);
        TPrinterList::Instance().SetPrinters({});
        FrameClipboard().reset();
    }
    ~TDesignerFolders()
    {
        FrameClipboard().reset();
        for (qsizetype i = 0; i < m_saved.size(); ++i)
            *Folders()[size_t(i)] = m_saved[i];
        TPrinterList::Instance().SetPrinters({});
    }
    TDesignerFolders(const TDesignerFolders&) = delete;
    TDesignerFolders& operator=(const TDesignerFolders&) = delete;

    bool FoldersMade() const { return m_dir.isValid(); }
    QString FilePath(const QString& name) const { return m_dir.filePath(name); }
    // A one-colour BMP picture of a size at a dpi, by name in the folder.
    QString Picture(const QString& name, QSize size, int dpi = 96, QColor colour = Qt::green) const
    {
        QImage image(size, QImage::Format_RGB888);
        image.fill(colour);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        EXPECT_TRUE(image.save(FilePath(name), "BMP"));
        return FilePath(name);
    }
    // The golden design with every frame kind, a background and a sender block, copied into the design
    // folder under the title.
    QString GoldenDesign(const QString& title) const
    {
        const QString path = DesignFolder + title + QStringLiteral(".gpd");
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(GoldenDesignFile, path));
        return path;
    }
    TMemIniFile Ini() const { return TMemIniFile(DataRootFolder + MainSettingsFileName); }
    void WriteSettings(const QString& section, const QList<std::pair<QString, QString>>& values)
    {
        TMemIniFile ini = Ini();
        for (const auto& [key, value] : values)
            ini.WriteString(section, key, value);
        ASSERT_TRUE(ini.UpdateFile());
    }

private:
    static std::array<QString*, 7> Folders()
    {
        return {&ProgramFolder, &DataRootFolder, &DataFolder, &LayoutFolder, &LabelFolder, &CardFolder, &DesignFolder};
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
};

// The entries of the window's selected-frame combo "cbxViewRect".
inline QStringList RectComboEntries(const QWidget& window)
{
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("cbxViewRect"));
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

// The object names of the menu's items, "|" for a separator, separated by blanks.
inline QString MenuItemNames(const QMenu& menu)
{
    QStringList items;
    for (QAction* a : menu.actions())
        items << (a->isSeparator() ? QStringLiteral("|") : a->menu() ? a->menu()->objectName() : a->objectName());
    return items.join(u' ');
}
