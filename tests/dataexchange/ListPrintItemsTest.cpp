// The list-print catalogue, the column lists and the template files with their save and delete rules.
#include "dataexchange/ListPrintItems.h"

#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Section(const QString& name, const char* no, const char* size, const char* align)
{
    return ToAnsi(QStringLiteral("[%1]\r\n").arg(name)) + "ItemNo=" + no + "\r\nItemSize=" + size +
           "\r\nItemAlign=" + align + "\r\n";
}

TListPrintColumns Cols(std::initializer_list<ListPrintColumn> columns)
{
    return TListPrintColumns(columns);
}

} // namespace

TEST(ListPrintItemsTest, CatalogueTakesTheUsersNamesAndHeadings)
{
    const TItemCatalogue catalogue =
        BuildItemTable({QStringLiteral("趣味")}, {QString(), QStringLiteral(" 口座 ")});
    ASSERT_EQ(catalogue.size(), ListPrintItemCount);
    EXPECT_EQ(catalogue[36].Caption, QStringLiteral("趣味"));
    EXPECT_EQ(catalogue[37].Caption, QString());
    EXPECT_EQ(catalogue[5].Align, 1);
    EXPECT_EQ(catalogue[11].Width, 50);
    EXPECT_EQ(ListPrintHeading(0, catalogue), QString());
    EXPECT_EQ(ListPrintHeading(1, catalogue), QStringLiteral("No."));
    EXPECT_EQ(ListPrintHeading(10, catalogue), QStringLiteral("〒"));
    EXPECT_EQ(ListPrintHeading(46, catalogue), QStringLiteral("口座")); // the caption, trimmed
    EXPECT_EQ(ListPrintHeading(33, catalogue), QStringLiteral("連名ﾏｲﾅﾝﾊﾞｰ3"));
    EXPECT_EQ(ListPrintHeading(65, catalogue), QString());
    for (int item : {15, 31, 35, 45, 54, 55})
        EXPECT_TRUE(IsProtectedListItem(item)) << item;
    for (int item : {14, 30, 36, 44, 56})
        EXPECT_FALSE(IsProtectedListItem(item)) << item;
}

TEST(ListPrintItemsTest, StoredListsAreCheckedEntryByEntry)
{
    struct Case
    {
        const char *no, *size, *align;
        std::optional<TListPrintColumns> expected;
    };
    const Case cases[] = {
        {"1,21,11", "4,14,50", "0,0,2", Cols({{1, 4, 0}, {21, 14, 0}, {11, 50, 2}})},
        // outside 0..64 and repeats go; the blank item may repeat
        {"0,65,-1,21,21,0", "2,3,3,14,9,2", "0,0,0,0,0,0", Cols({{0, 2, 0}, {21, 14, 0}, {0, 2, 0}})},
        // widths to 1..999, alignments to 0..2
        {"3,4", "0,1200", "-1,7", Cols({{3, 1, 0}, {4, 999, 2}})},
        {"1,2", "4", "0", std::nullopt},  // counts differ
        {"1,x", "4,4", "0,0", std::nullopt}, // not a number
        {"", "", "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseListPrintColumns(c.no, c.size, c.align), c.expected) << c.no;

    QStringList hundred, hundredOne;
    for (int i = 0; i < 101; ++i)
        (i < 100 ? hundred : hundredOne) << QStringLiteral("0");
    hundredOne = hundred + hundredOne;
    const QString ok = hundred.join(u','), tooMany = hundredOne.join(u',');
    EXPECT_EQ(ParseListPrintColumns(ok, ok, ok)->size(), 100);
    EXPECT_FALSE(ParseListPrintColumns(tooMany, tooMany, tooMany));

    const auto keys = ListPrintColumnKeys(Cols({{1, 4, 0}, {21, 14, 2}}));
    EXPECT_EQ(keys[0], QStringLiteral("1,21"));
    EXPECT_EQ(keys[1], QStringLiteral("4,14"));
    EXPECT_EQ(keys[2], QStringLiteral("0,2"));
}

TEST(ListPrintItemsTest, TemplateFileSkipsMalformedSectionsAndStopsAtTen)
{
    QTemporaryDir dir;
    QByteArray file = Section(QStringLiteral("住所録"), "1,21,11", "4,14,50", "0,0,0");
    file += ToAnsi(QStringLiteral("[欠け]\r\nItemNo=1\r\nItemSize=4\r\n"));
    file += Section(QStringLiteral("数が違う"), "1,21", "4", "0");
    // A full-width comma is no separator: its count differs from the others.
    file += Section(QStringLiteral("全角"), "1,21", ToAnsi(QStringLiteral("4，14")).constData(), "0,0");
    file += Section(QStringLiteral("文字"), "1,a", "4,4", "0,0");
    for (int i = 2; i <= 11; ++i)
        file += Section(QStringLiteral("T%1").arg(i), "21", "14", "0");
    WriteFileBytes(dir.filePath("LstPrint.tpl"), file);

    TListPrintTemplates templates;
    ReadTemplateFile(dir.filePath("LstPrint.tpl"), templates);
    ASSERT_EQ(templates.size(), 10);
    EXPECT_EQ(templates[0].Name, QStringLiteral("住所録"));
    EXPECT_EQ(templates[0].Columns, Cols({{1, 4, 0}, {21, 14, 0}, {11, 50, 0}}));
    EXPECT_EQ(templates[1].Name, QStringLiteral("T2"));
    EXPECT_EQ(templates[9].Name, QStringLiteral("T10")); // T11 is the eleventh

    ReadTemplateFile(dir.filePath("missing.tpl"), templates);
    EXPECT_EQ(templates.size(), 10);
}

TEST(ListPrintItemsTest, ListColumnsMapToCatalogueItems)
{
    const std::pair<int, int> cases[] = {{0, 1}, {1, 2}, {11, 12}, {12, 14}, {42, 44}, {43, 56}, {51, 64},
                                         {52, -1}, {-1, -1}};
    for (auto [column, item] : cases)
        EXPECT_EQ(ListPrintItemOfListColumn(column), item) << column;
    const TItemCatalogue catalogue = BuildItemTable({}, {});
    EXPECT_EQ(ListColumnsLayout({0, 20, 10, 99}, catalogue), Cols({{1, 4, 0}, {22, 14, 0}, {11, 50, 0}}));
}

TEST(ListPrintItemsTest, BuiltInTemplatesComeFirstAndUserTemplatesFollowTheRules)
{
    QTemporaryDir dir;
    const QString custom = dir.filePath("LPCustom.tpl");
    QByteArray file;
    for (int i = 1; i <= 9; ++i)
        file += Section(QStringLiteral("U%1").arg(i), "21", "14", "0");
    WriteFileBytes(custom, file);
    const TListPrintColumns listColumns = Cols({{1, 4, 0}});
    const TListPrintColumns last = Cols({{21, 14, 0}});

    TListPrintTemplateStore store;
    store.Load(dir.filePath("none.tpl"), custom, listColumns, last);
    ASSERT_EQ(store.Custom.size(), 11);
    EXPECT_EQ(store.Custom[0].Name, LastLayoutTemplateName);
    EXPECT_EQ(store.Custom[1].Name, ListLayoutTemplateName);
    EXPECT_EQ(store.Custom[1].Columns, listColumns);
    EXPECT_EQ(store.UserCount(), 9);

    using S = TListPrintTemplateStore;
    EXPECT_EQ(store.Save(QStringLiteral("  "), 2, last), S::SaveNoName);
    EXPECT_EQ(store.Save(ListLayoutTemplateName, 1, last), S::SaveReservedName);
    EXPECT_EQ(store.Save(QStringLiteral("U3"), 2, last), S::SaveOtherExists); // U1 is selected
    EXPECT_EQ(store.Save(QStringLiteral("U1"), 2, Cols({{3, 20, 0}})), S::SaveReplaced);
    EXPECT_EQ(store.Custom[2].Columns, Cols({{3, 20, 0}}));
    EXPECT_EQ(store.Save(QStringLiteral("新規"), 0, last), S::SaveAdded);
    EXPECT_FALSE(store.CanSave());
    EXPECT_EQ(store.Save(QStringLiteral("十一番目"), 0, last), S::SaveFull);

    int index = -1;
    EXPECT_EQ(store.FindForDelete(LastLayoutTemplateName, index), S::DeleteReservedName);
    EXPECT_EQ(store.FindForDelete(QStringLiteral("ない"), index), S::DeleteNotFound);
    EXPECT_EQ(store.FindForDelete(QStringLiteral(" U5 "), index), S::Deleted);
    EXPECT_EQ(index, 6);

    // The file holds the user's templates only, and reads back the same.
    ASSERT_TRUE(store.WriteCustomFile(custom, nullptr));
    TListPrintTemplates back;
    ReadTemplateFile(custom, back);
    EXPECT_EQ(back.size(), 10);
    EXPECT_EQ(back[0].Name, QStringLiteral("U1"));
    EXPECT_EQ(back[0].Columns, Cols({{3, 20, 0}}));
    EXPECT_EQ(back[9].Name, QStringLiteral("新規"));

    // Without a saved layout only the list's template is built in.
    store.Load(dir.filePath("none.tpl"), dir.filePath("none.tpl"), listColumns, {});
    EXPECT_EQ(store.Custom.size(), 1);
    EXPECT_EQ(store.ListLayoutIndex(), 0);
    EXPECT_TRUE(store.IsBuiltIn(0));
}

TEST(ListPrintItemsTest, RewritingTheCustomFileReplacesItWhole)
{
    QTemporaryDir dir;
    const QString custom = dir.filePath("LPCustom.tpl");
    WriteFileBytes(custom, Section(QStringLiteral("古い"), "21", "14", "0"));
    TListPrintTemplateStore store;
    store.Load({}, custom, {}, {});
    store.Custom.removeAt(1);
    ASSERT_TRUE(store.WriteCustomFile(custom, nullptr));
    EXPECT_EQ(ReadFileBytes(custom), QByteArray());
    // A folder that cannot be written leaves the old file as it was.
    EXPECT_FALSE(store.WriteCustomFile(dir.filePath("no/such/LPCustom.tpl"), nullptr));
}
