// The import items and the column mapping: part editing, the button states and the automatic mapping.
#include "dataexchange/ImportItems.h"

#include <gtest/gtest.h>

namespace {

AnsiString A(const char* utf8) { return ToAnsi(QString::fromUtf8(utf8)); }

QList<AnsiString> Fields(std::initializer_list<const char*> texts)
{
    QList<AnsiString> out;
    for (const char* t : texts)
        out.append(A(t));
    return out;
}

// "column" per part, "=text" for a constant, joined by blanks.
QString Parts(const TImportMapping& m, int item)
{
    QStringList out;
    for (int part = 1; part <= ImportPartCount && m.Spec(item, part).kind != TImportPartSpec::Empty; ++part)
        out.append(m.Spec(item, part).kind == TImportPartSpec::Constant ? u'=' + m.CellText(item, part)
                                                                         : QString::number(m.Spec(item, part).column));
    return out.join(u' ');
}

} // namespace

TEST(ImportItemsTest, TableHasCaptionsFieldsAndUserNames)
{
    const QStringList keywords{"趣味", "k2", "k3", "k4", "k5", "k6", "k7", "k8"};
    const QStringList memos{"m1", "m2", "m3", "m4", "m5", "m6", "m7", "m8", "m9", "メモ十"};
    EXPECT_EQ(ImportItemCaption(1, keywords, memos), "グループ名");
    EXPECT_EQ(ImportItemCaption(55, keywords, memos), "趣味");
    EXPECT_EQ(ImportItemCaption(73, keywords, memos), "メモ十");
    EXPECT_EQ(ImportItemCaption(81, keywords, memos), "小分類コード");
    EXPECT_STREQ(ImportItemTable(77).field, "SymbolColor");
    EXPECT_EQ(ImportItemTable(63).constantMax, 0);
    EXPECT_EQ(ImportItemTable(10).constantMax, 40);
    EXPECT_EQ(ImportHeaderAliases(55, keywords, memos), QStringList({"キーワード", "キーワード１", "趣味"}));
    EXPECT_EQ(ImportHeaderAliases(24, keywords, memos).size(), 8);
    for (int item : {18, 41, 45, 64, 74})
        EXPECT_TRUE(IsProtectedImportItem(item)) << item;
    for (int item : {17, 40, 46, 63, 75})
        EXPECT_FALSE(IsProtectedImportItem(item)) << item;
}

TEST(ImportItemsTest, PartsFillWithoutGapAndButtonsFollow)
{
    TImportMapping m;
    EXPECT_EQ(m.Buttons(5), (TImportPartButtons{true, true, false, false, false, false}));
    for (int i = 0; i < ImportPartCount; ++i)
        EXPECT_TRUE(m.AddColumn(5, i, A("列")));
    EXPECT_FALSE(m.AddColumn(5, 0, A("x")));
    EXPECT_FALSE(m.AddConstant(5, "c"));
    EXPECT_EQ(m.Buttons(5), (TImportPartButtons{false, false, true, true, true, true}));
    m.DeleteLast(5);
    EXPECT_TRUE(m.Buttons(5).add);
    EXPECT_TRUE(m.AddConstant(5, QStringLiteral("  定数 ")));
    EXPECT_EQ(Parts(m, 5), "0 1 2 3 4 5 6 7 =定数");

    m.ClearRow(5);
    m.AddColumn(5, 3, A("a"));
    m.DeleteLast(5);
    EXPECT_EQ(m.Buttons(5), (TImportPartButtons{true, true, false, false, false, false}));
    m.DeleteLast(5); // nothing to delete
    EXPECT_FALSE(m.IsSet(5));
}

TEST(ImportItemsTest, UpAndDownExchangeWholeMappings)
{
    TImportMapping m;
    m.AddColumn(2, 4, A("b"));
    m.AddConstant(2, "k");
    EXPECT_TRUE(m.MoveUp(2));
    EXPECT_EQ(Parts(m, 1), "4 =k");
    EXPECT_EQ(Parts(m, 2), "");
    EXPECT_FALSE(m.Buttons(1).up);
    EXPECT_FALSE(m.MoveUp(1));
    EXPECT_FALSE(m.MoveDown(2)); // not set
    m.AddColumn(81, 0, A("z"));
    EXPECT_TRUE(m.Buttons(81).up);
    EXPECT_FALSE(m.Buttons(81).down);
    m.ClearAll();
    EXPECT_FALSE(m.AnySet());
}

TEST(ImportItemsTest, BlankFirstLineColumnShowsItsNumber)
{
    struct Case
    {
        const char* text;
        TImportPartSpec::Kind kind;
        const char* cell;
    };
    for (const Case& c : {Case{"", TImportPartSpec::BlankColumn, "項目3"},
                          Case{"\"\"", TImportPartSpec::BlankColumn, "項目3"},
                          Case{" 　 ", TImportPartSpec::BlankColumn, "項目3"},
                          Case{" 電話 ", TImportPartSpec::Column, "電話"},
                          Case{"\"名前\"", TImportPartSpec::Column, "\"名前\""}}) {
        TImportMapping m;
        m.SetPart(3, 1, 2, A(c.text));
        EXPECT_EQ(m.Spec(3, 1).kind, c.kind) << c.text;
        EXPECT_EQ(m.Spec(3, 1).column, 2);
        EXPECT_EQ(m.CellText(3, 1), QString::fromUtf8(c.cell)) << c.text;
    }
}

TEST(ImportItemsTest, AutoSetMapsByHeaderTexts)
{
    TImportMapping m;
    m.AddConstant(40, "old");
    const QStringList keywords{"部署", "", "", "", "", "", "", ""};
    m.AutoSetAll(Fields({"会社名", "電話", "〒", "都道府県", "住所", "ｔｅｌ", "キーワード1", "部署", "\"備考\""}),
                 keywords, QStringList(10));
    EXPECT_EQ(Parts(m, 19), "0");
    EXPECT_EQ(Parts(m, 3), "1");
    EXPECT_EQ(Parts(m, 9), "2");
    EXPECT_EQ(Parts(m, 10), "3 4");
    EXPECT_EQ(m.CellText(10, 1), "都道府県");
    EXPECT_EQ(m.CellText(10, 2), "住所");
    EXPECT_EQ(Parts(m, 55), "6");         // キーワード1 read as キーワード１
    EXPECT_EQ(Parts(m, 21), "7");
    EXPECT_EQ(Parts(m, 56), "");          // keyword name 2 is empty
    EXPECT_EQ(Parts(m, 40), "");          // cleared first
    EXPECT_EQ(Parts(m, 63), "");          // quoted header is not recognised

    TImportMapping lower;
    lower.AutoMapItem(3, Fields({"x", "ｔｅｌ"}), ImportHeaderAliases(3, {}, {}));
    EXPECT_EQ(Parts(lower, 3), "1");
    EXPECT_EQ(lower.CellText(3, 1), "TEL");
}
