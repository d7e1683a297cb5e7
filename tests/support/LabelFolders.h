// The folders of a label or card window test in a temporary folder, restored afterwards, and pictures
// written there.
#pragma once

#include "core/MainSettings.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <array>

class LabelFolders
{
public:
    LabelFolders()
    {
        EXPECT_TRUE(Dir.isValid());
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = DataFolder = Dir.path() + u'/';
        LabelFolder = DataFolder + QStringLiteral("Label/");
        CardFolder = DataFolder + QStringLiteral("Card/");
        QDir().mkpath(LabelFolder);
        QDir().mkpath(CardFolder);
    }
    ~LabelFolders()
    {
        for (size_t i = 0; i < m_globals.size(); ++i)
            *m_globals[i] = m_saved[i];
    }
    LabelFolders(const LabelFolders&) = delete;
    LabelFolders& operator=(const LabelFolders&) = delete;

    QString FilePath(const QString& name) const { return Dir.filePath(name); }
    // A green BMP picture of a size, by name in the folder.
    QString Picture(const QString& name, QSize size) const
    {
        QImage image(size, QImage::Format_RGB888);
        image.fill(Qt::green);
        EXPECT_TRUE(image.save(FilePath(name), "BMP"));
        return FilePath(name);
    }

    QTemporaryDir Dir;

private:
    const std::array<QString*, 5> m_globals{&ProgramFolder, &DataRootFolder, &DataFolder, &LabelFolder,
                                            &CardFolder};
    const std::array<QString, 5> m_saved{ProgramFolder, DataRootFolder, DataFolder, LabelFolder, CardFolder};
};
