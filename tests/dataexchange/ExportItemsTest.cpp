// The export items and the column layout: reading and writing Layout1..Layout150 and the editing steps.
#include "dataexchange/ExportItems.h"

#include "platform/IniFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Section = QStringLiteral("FILE EXPORT");

// "column:item" per entry, e.g. "1:23 0:25 2:3".
QString Show(const TExportLayout& layout)
{
    QStringList parts;
    for (const TExportEntry& e : layout.Entries())
        parts.append(QStringLiteral("%1:%2").arg(e.Column).arg(e.Item));
    return parts.join(QLatin1Char(' '));
}

class ExportItemsTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    TMemIniFile ini{m_dir.filePath("Quenrid215.ini")};

    TExportLayout load(const QList<std::pair<QString, QString>>& keys)
    {
        ini.EraseSection(Section);
        for (const auto& [key, value] : keys)
            ini.WriteString(Section, key, value);
        TExportLayout layout;
        layout.Load(ini, Section);
        return layout;
    }

    static TExportLayout made(const QList<int>& items) // item < 0: joined
    {
        TExportLayout layout;
        for (int item : items)
            item >= 0 ? (void)layout.Set(layout.Count(), item) : (void)layout.Join(layout.Count(), -item);
        return layout;
    }
};

} // namespace

TEST_F(ExportItemsTest, LayoutKeysReadBackAndWriteTheSameKeys)
{
    TExportLayout layout = load({{"Layout1", "23,25"}, {"Layout2", "3"}, {"Layout3", ""}, {"Layout4", "7"}});
    EXPECT_EQ(Show(layout), "1:23 0:25 2:3");
    ini.WriteString(Section, "Layout3", "9"); // left from before
    ini.WriteString(Section, "Layout150", "9");
    layout.Save(ini, Section);
    EXPECT_EQ(ini.ReadString(Section, "Layout1", ""), "23,25");
    EXPECT_EQ(ini.ReadString(Section, "Layout2", ""), "3");
    EXPECT_FALSE(ini.ValueExists(Section, "Layout3"));
    EXPECT_FALSE(ini.ValueExists(Section, "Layout150"));

    ini.SetBytes(ini.ToBytes() + "Layout1=7\r\n"); // a key written twice by hand
    TExportLayout().Save(ini, Section);
    EXPECT_TRUE(ini.ReadSection(Section).filter("Layout").isEmpty());
}

TEST_F(ExportItemsTest, AMissingKeyEndsTheLayoutAndPartsThatAreNoItemAreSkipped)
{
    EXPECT_EQ(Show(load({{"Layout1", "23"}, {"Layout3", "3"}})), "1:23");
    EXPECT_EQ(Show(load({{"Layout1", "x,23,85,-1, 5"}, {"Layout2", "abc"}, {"Layout3", "84"}})),
              "1:23 0:5 2:84");
    QString many;
    for (int i = 0; i < 200; ++i)
        many += QStringLiteral("%1,").arg(i % 85);
    EXPECT_EQ(load({{"Layout1", many}}).Count(), MaxExportEntries);
}

TEST_F(ExportItemsTest, SetJoinAndDeleteKeepTheColumnsNumbered)
{
    TExportLayout layout = made({23, 3});
    EXPECT_EQ(Show(layout), "1:23 2:3");
    EXPECT_TRUE(layout.Set(0, 9)); // before a starting row: the columns behind it grow
    EXPECT_EQ(Show(layout), "1:9 2:23 3:3");
    EXPECT_EQ(layout.Join(1, 25), 2);
    EXPECT_EQ(Show(layout), "1:9 2:23 0:25 3:3");
    EXPECT_EQ(layout.Join(layout.Count(), 5), 4); // the empty last row joins the last column
    EXPECT_EQ(Show(layout), "1:9 2:23 0:25 3:3 0:5");

    EXPECT_EQ(layout.Delete(1), 1); // the joined entry takes over the column
    EXPECT_EQ(Show(layout), "1:9 2:25 3:3 0:5");
    EXPECT_EQ(layout.Delete(layout.Count()), 3); // the empty last row deletes the last entry
    EXPECT_EQ(Show(layout), "1:9 2:25 3:3");

    TExportLayout empty;
    EXPECT_EQ(empty.Join(0, 1), -1);
    EXPECT_EQ(empty.Delete(0), -1);
}

TEST_F(ExportItemsTest, TheHundredAndFiftyFirstEntryIsRefused)
{
    TExportLayout layout;
    for (int i = 0; i < MaxExportEntries; ++i)
        ASSERT_TRUE(layout.Set(layout.Count(), i % ExportItemCount));
    EXPECT_TRUE(layout.IsFull());
    EXPECT_FALSE(layout.Set(0, 1));
    EXPECT_EQ(layout.Join(0, 1), -1);
    EXPECT_EQ(layout.Count(), MaxExportEntries);
}

TEST_F(ExportItemsTest, UpAndDownMoveEntriesWithTheirColumnRole)
{
    struct Case
    {
        QList<int> items;
        bool down;
        int row;
        const char* want;
        int wantRow;
    };
    const Case cases[] = {
        {{23, -25, 3}, true, 0, "1:25 2:23 3:3", 1},  // a joined entry reaching row 0 starts the column
        {{23, -25, 3}, false, 1, "1:23 0:25 2:3", 1}, // row 1 joined: stays
        {{23, -25, 3}, false, 2, "1:23 2:3 0:25", 1}, // a start moved above a joined entry takes it over
        {{23, 3}, true, 1, "1:23 2:3", 2},            // the last entry: only the selection moves
        {{23, 3}, false, 2, "1:23 2:3", 1},           // the empty last row: only the selection moves
        {{23, 3}, false, 0, "1:23 2:3", 0},
    };
    for (const Case& c : cases) {
        TExportLayout layout = made(c.items);
        const int row = c.down ? layout.Down(c.row) : layout.Up(c.row);
        EXPECT_EQ(Show(layout), c.want) << (c.down ? "down " : "up ") << c.row;
        EXPECT_EQ(row, c.wantRow) << (c.down ? "down " : "up ") << c.row;
    }
    TExportLayout layout = made({23, -25, 3});
    EXPECT_FALSE(layout.CanUp(0));
    EXPECT_FALSE(layout.CanUp(1));
    EXPECT_TRUE(layout.CanUp(2));
    EXPECT_TRUE(layout.CanDown(1));
    EXPECT_FALSE(layout.CanDown(2));
    EXPECT_FALSE(layout.CanDown(3));
}

TEST_F(ExportItemsTest, CaptionsAndProtectedItems)
{
    const QStringList keywords{"取引先区分", "", "", "", "", "", "", "担当"};
    const QStringList memos{"口座番号"};
    EXPECT_EQ(ExportItemCaption(54, keywords, memos), "取引先区分");
    EXPECT_EQ(ExportItemCaption(61, keywords, memos), "担当");
    EXPECT_EQ(ExportItemCaption(55, keywords, memos), "");
    EXPECT_EQ(ExportItemCaption(63, keywords, memos), "口座番号");
    EXPECT_EQ(ExportItemCaption(84, keywords, memos), "小分類コード");
    QList<int> protectedItems;
    for (int i = 0; i < ExportItemCount; ++i)
        if (IsProtectedExportItem(i))
            protectedItems.append(i);
    EXPECT_EQ(protectedItems,
              (QList<int>{17, 40, 41, 42, 43, 44, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73}));
    EXPECT_TRUE(made({3, -17}).HasProtectedItem());
    EXPECT_FALSE(made({3, 23}).HasProtectedItem());
}
