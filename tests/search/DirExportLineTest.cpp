// Tests of the directory export lines: values from the detail or the hit row, header, quoting.
#include "search/DirSearchFixture.h"

#include "search/DirExportLine.h"

namespace {

QList<TExportItemRec> Items(std::initializer_list<int> rows)
{
    QList<TExportItemRec> out;
    for (int r : rows)
        out.append({r, r, true});
    return out;
}

TDirHitRec Hit(const char* tel, int kind, const char* name, const char* address, const char* listing,
               const char* category)
{
    TDirHitRec h;
    std::memset(&h, 0, sizeof h);
    SetField(h.Tel, A(tel));
    h.PhoneKind = kind;
    SetField(h.Name, A(name));
    SetField(h.Address, A(address));
    SetField(h.FirstListing, A(listing));
    SetField(h.Category, A(category));
    return h;
}

} // namespace

TEST_F(DirSearchTest, ExportLinesFromTheHitRow)
{
    const TDirHitRec hit = Hit("03-1111-2222", 3, "株式会社港商事", "東京都港区芝１丁目", "199502", "0000");
    struct Case
    {
        std::initializer_list<int> rows;
        const char* line;
    };
    const Case cases[] = {
        {{0, 1, 2}, "03-1111-2222,代表,"},
        {{5, 6, 7, 8}, "東京都,,,"},
        {{9, 10, 11, 12, 13}, ",株式会社港商事,,株式会社港商事,"},
        {{14, 15, 16, 17, 18}, "1995年02月,,00,,00"},
        {{18, 0}, "00,03-1111-2222"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToWide(DirExportLine(hit, nullptr, Items(c.rows))), QString::fromUtf8(c.line));

    // An address that does not begin with a prefecture gives none; no listing gives an empty value.
    const TDirHitRec bare = Hit("0312345678", 1, "A", "どこか", "", "");
    EXPECT_EQ(ToWide(DirExportLine(bare, nullptr, Items({5, 14, 16}))), QStringLiteral(",,00"));
    // Only the number of a fax-only hit: the line is empty, and unchosen items take no column.
    EXPECT_TRUE(DirExportLine(bare, nullptr, Items({0})).isEmpty());
    QList<TExportItemRec> some = Items({0, 2});
    some[0].Chosen = false;
    EXPECT_EQ(DirExportLine(bare, nullptr, some), "0312345678");
    EXPECT_EQ(ToWide(DirExportHeader(some)), QStringLiteral("FAX番号"));
    EXPECT_FALSE(DirExportNeedsDetail(some));
    EXPECT_TRUE(DirExportNeedsDetail(Items({2, 3})));
}

TEST_F(DirSearchTest, ExportLinesOfAPersonFromTheDetail)
{
    TDirDetailRec d;
    std::memset(&d, 0, sizeof d);
    SetField(d.Tel, A("03-3211-0004"));
    SetField(d.Name, A("山田　太郎"));
    SetField(d.NameKana, A("ﾔﾏﾀﾞ ﾀﾛｳ"));
    SetField(d.PostalCode, A("10000"));
    SetField(d.AreaCode, A("13101002000"));
    d.PersonFlag = 99;
    SetField(d.Category, A("1302"));
    const TDirHitRec unused = Hit("", 0, "", "", "", "");
    EXPECT_EQ(ToWide(DirExportLine(unused, &d, Items({3, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18}))),
              QStringLiteral("100-00,13101,,,ﾔﾏﾀﾞ ﾀﾛｳ,山田　太郎,個人,生活関連サービス,13,美容室,02"));
    // A value holding a comma is quoted, inner quotes doubled.
    SetField(d.Name, A("A\"B,C"));
    EXPECT_EQ(DirExportLine(unused, &d, Items({12, 13})), "\"A\"\"B,C\"," + A("個人"));
}
