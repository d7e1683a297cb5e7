// The message-side designer's settings: first start, minimum size, clamped grid and zoom, recent files of
// the design folder without repeats, and keys written back into a file that others change too.
#include "designers/DesignSettings.h"
#include "platform/IniFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

class DesignSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_ini = m_dir.filePath("Quenrid215.ini");
    }
    void Write(const QString& text) { WriteFileBytes(m_ini, text.toUtf8()); }
    QTemporaryDir m_dir;
    QString m_ini;
    const QString m_folder = QStringLiteral("/data/Design/");
};

TEST_F(DesignSettingsTest, FirstStartIsCentredOnTheWorkArea)
{
    const TDesignWindowSettings s = LoadDesignSettings(m_ini, m_folder);
    EXPECT_FALSE(s.HasBounds);
    EXPECT_TRUE(s.Menu && s.PrintRange && s.ToolBar);
    EXPECT_EQ(std::tuple(s.Grid, s.Ratio, s.AdjustGrid, s.Max), std::tuple(0, 0, false, false));
    EXPECT_EQ(DesignWindowGeometry(s, QRect(0, 0, 1280, 1000), 30, 96), QRect(295, 160, 690, 680));
    EXPECT_EQ(DesignWindowGeometry(s, QRect(0, 20, 1024, 600), 30, 96), QRect(167, 45, 690, 550));
}

TEST_F(DesignSettingsTest, StoredValuesAreRaisedAndClamped)
{
    Write(QStringLiteral("[DESIGN]\r\nLeft=10\r\nTop=20\r\nWidth=400\r\nHeight=300\r\nRatio=9\r\nMax=1\r\n"
                         "[LAYOUT]\r\nGrid=7\r\nMenu=0\r\nAdjustGrid=1\r\n"));
    TDesignWindowSettings s = LoadDesignSettings(m_ini, m_folder);
    EXPECT_EQ(std::tuple(s.Width, s.Height), std::tuple(529, 500));
    EXPECT_EQ(DesignWindowGeometry(s, QRect(0, 0, 1280, 1000), 30, 96), QRect(10, 20, 529, 530));
    EXPECT_EQ(DesignWindowGeometry(s, QRect(0, 0, 1280, 1000), 30, 144), QRect(10, 20, 794, 780));
    EXPECT_EQ(std::tuple(s.Grid, s.Ratio), std::tuple(0, 0));
    EXPECT_TRUE(s.Max && s.AdjustGrid);
    EXPECT_FALSE(s.Menu);

    Write(QStringLiteral("[DESIGN]\r\nRatio=7\r\n[LAYOUT]\r\nGrid=3\r\n"));
    s = LoadDesignSettings(m_ini, m_folder);
    EXPECT_EQ(std::tuple(s.Grid, s.Ratio), std::tuple(3, 7));

    StoreDesignWindowGeometry(s, QRect(5, 6, 794, 780), 30, 144);
    EXPECT_EQ(std::tuple(s.Left, s.Top, s.Width, s.Height), std::tuple(5, 6, 529, 500));
}

TEST_F(DesignSettingsTest, HistoryOfTheDesignFolderOnceEach)
{
    Write(QStringLiteral("[DESIGN]\r\nHistory1=/data/Design/a.gpd\r\nHistory2=/elsewhere/b.gpd\r\n"
                         "History3=/DATA/design/c.gpd\r\nHistory4=\r\nHistory5=/data/Design/e.gpd\r\n"
                         "[OTHER]\r\nKey=kept\r\n"));
    TDesignWindowSettings s = LoadDesignSettings(m_ini, m_folder);
    EXPECT_EQ(s.History, QStringList({"/data/Design/a.gpd", "/DATA/design/c.gpd"}));

    // Saving reads the file afresh: a key written meanwhile by someone else stays.
    TMemIniFile other(m_ini);
    other.WriteString("OTHER", "New", "also kept");
    ASSERT_TRUE(other.UpdateFile());
    s.History = {"/data/Design/x.gpd", "/data/Design/a.gpd", "/data/Design/x.gpd"};
    s.Grid = 2;
    ASSERT_TRUE(SaveDesignSettings(m_ini, s));
    const TMemIniFile saved(m_ini);
    EXPECT_EQ(saved.ReadString("DESIGN", "History1", ""), "/data/Design/x.gpd");
    EXPECT_EQ(saved.ReadString("DESIGN", "History2", ""), "/data/Design/a.gpd");
    for (const char* gone : {"History3", "History4", "History5"})
        EXPECT_FALSE(saved.ValueExists("DESIGN", gone)) << gone;
    EXPECT_EQ(saved.ReadString("OTHER", "New", ""), "also kept");
    EXPECT_EQ(saved.ReadString("OTHER", "Key", ""), "kept");
    EXPECT_EQ(saved.ReadInteger("LAYOUT", "Grid", 0), 2);
    EXPECT_FALSE(saved.ValueExists("DESIGN", "Left")); // no bounds yet
}

} // namespace
