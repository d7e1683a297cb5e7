// Designer tests' surroundings: the program's folders pointed into a temporary folder (put back at the end),
// no printers, an empty frame clipboard, and BMP pictures written there.
#pragma once

#include "core/MainSettings.h"
#include "designers/FrameClipboard.h"
#include "platform/Printers.h"

#include <gtest/gtest.h>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

class DesignerTestFolders
{
public:
    DesignerTestFolders()
        : m_saved{ProgramFolder, DataRootFolder, DataFolder, DesignFolder}
    {
        EXPECT_TRUE(m_dir.isValid());
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = m_dir.path() + u'/';
        DesignFolder = m_dir.path() + QStringLiteral("/Design/");
        QDir().mkpath(DesignFolder);
        TPrinterList::Instance().SetPrinters({});
        FrameClipboard().reset();
    }
    ~DesignerTestFolders()
    {
        FrameClipboard().reset();
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
        DataFolder = m_saved[2];
        DesignFolder = m_saved[3];
    }
    DesignerTestFolders(const DesignerTestFolders&) = delete;
    DesignerTestFolders& operator=(const DesignerTestFolders&) = delete;

    QString FilePath(const QString& name) const { return m_dir.filePath(name); }
    // A one-colour BMP of a size at a dpi.
    QString Picture(const QString& name, QSize size, int dpi = 96, QColor colour = Qt::red) const
    {
        QImage image(size, QImage::Format_RGB888);
        image.fill(colour);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        const QString path = FilePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

private:
    QTemporaryDir m_dir;
    QStringList m_saved;
};
