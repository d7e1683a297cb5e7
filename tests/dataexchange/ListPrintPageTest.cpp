// The list's page settings, rows per page, item values, and pages drawn on the recording and PDF printers.
#include "dataexchange/ListPrintPage.h"

#include "core/AppSub.h"
#include "core/CstmClr.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "support/DrawingFixture.h"
#include "support/FakeAdrsRow.h"
#include "support/FakeListRows.h"
#include "support/ToolRun.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int A4Height600 = 7016;

// Horizontal rule rows of a page, grouped into runs of adjacent pixel rows.
QList<QList<int>> RuleRuns(const TDisplayList& page)
{
    QList<int> rows;
    for (const TDisplayItem& item : page.Items()) {
        if (item.kind != TDisplayItem::Path || item.brush.style() != Qt::NoBrush)
            continue;
        const QRectF r = item.transform.map(item.path).boundingRect();
        if (r.height() < 0.01 && r.width() > 100)
            rows.append(int(r.top()));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<QList<int>> runs;
    for (int row : rows) {
        if (runs.isEmpty() || runs.last().last() != row - 1)
            runs.append(QList<int>());
        runs.last().append(row);
    }
    return runs;
}

struct Band
{
    QColor color;
    QRectF rect;
};

QList<Band> Bands(const TDisplayList& page)
{
    QList<Band> bands;
    for (const TDisplayItem& item : page.Items())
        if (item.kind == TDisplayItem::Path && item.brush.style() == Qt::SolidPattern)
            bands.append({item.brush.color(), item.transform.map(item.path).boundingRect()});
    return bands;
}

QStringList Texts(const TDisplayList& page)
{
    QStringList texts;
    for (const TDisplayItem& item : page.Items())
        if (item.kind == TDisplayItem::Text)
            texts.append(item.text);
    return texts;
}

class ListPrintPageTest : public DrawingTest
{
protected:
    void SetUp() override
    {
        m_catalogue = BuildItemTable({}, {});
        m_columns = {{1, 4, 0}, {21, 14, 0}, {10, 8, 0}};
        m_layout.ViewDate = false;
        m_layout.ViewPage = false;
        m_layout.FontSize = 30;
        m_layout.RowCount = 3;
        m_layout.OffsetY = 500;
        m_layout.Line.fill(true);
        m_layout.HorzInterval = 2;
        m_layout.Colors = {0x0000FF, 0x00FF00, 0xFF0000};
        for (int i = 0; i < 16; ++i) {
            const int recNo = 100 + i;
            m_rows.recNos.append(recNo);
            if (i == 7)
                continue; // deleted meanwhile: skipped without a message
            m_cursor.addRow(recNo, {{"NameKanji", WideToHexText(QStringLiteral("名前%1").arg(i + 1))},
                                    {"Pos", QByteArray("1000001")}});
        }
        m_range.DataSelect = dsAll;
    }

    TListPageSource Source(int dpi)
    {
        TListPageSource s;
        s.Layout = &m_layout;
        s.Columns = &m_columns;
        s.Catalogue = &m_catalogue;
        s.Range = m_range;
        s.Rows = &m_rows;
        s.Cursor = &m_cursor;
        s.RowsPerPage = CountRowsPerPage(m_layout, dpi, A4Height600, int(RoundHalfAway(500 * dpi / 254.0)));
        return s;
    }

    TItemCatalogue m_catalogue;
    TListPrintColumns m_columns;
    TListPrintLayout m_layout;
    TRecordRange m_range;
    FakeListRows m_rows;
    FakeAdrsRow m_cursor;
};

} // namespace

TEST(ListPrintLayoutTest, SettingsOutOfRangeReadAsDefaults)
{
    QTemporaryDir dir;
    TMemIniFile ini(dir.filePath("Quenrid215.ini"));
    const QList<std::pair<const char*, const char*>> keys = {
        {"FontCharset", "1"}, {"FontSize", "24"}, {"HorzInterval", "0"}, {"ColorCount", "11"}, {"Color1", "5"},
        {"LineType2", "9"},   {"LineType3", "4"}, {"iRowCount", "3"},    {"OffsetX", "501"},  {"FontName", " "},
        {"ItemNo", "1,21"},   {"ItemSize", "4"},  {"ItemAlign", "0,0"}};
    for (auto [key, value] : keys)
        ini.WriteString(ListPrintLayoutSection, QLatin1String(key), QLatin1String(value));
    ini.WriteString(ListPrintSection, QStringLiteral("Copies"), QStringLiteral("101"));
    TListPrintLayout l;
    TListPrintColumns columns = {{1, 4, 0}};
    ReadListPrintLayout(ini, l, columns);
    EXPECT_EQ(l.FontCharset, 128);
    EXPECT_EQ(l.FontSize, 9);
    EXPECT_EQ(l.HorzInterval, 1);
    EXPECT_TRUE(l.Colors.isEmpty());
    EXPECT_EQ(l.LineType[1], 0);
    EXPECT_EQ(l.LineType[2], 4);
    EXPECT_EQ(l.RowCount, 1);
    EXPECT_EQ(l.OffsetX, 0);
    EXPECT_EQ(l.FontName, ListPrintDefaultFont);
    EXPECT_EQ(l.Copies, 1);
    EXPECT_TRUE(columns.isEmpty());

    // What is written reads back the same; a shorter colour list leaves no old key behind.
    l.Title = QStringLiteral("顧客一覧");
    l.FontSize = 12;
    l.Colors = {0x112233, 0x445566};
    l.Copies = 3;
    l.Line[4] = true;
    WriteListPrintLayout(ini, l, {{21, 14, 1}});
    TListPrintLayout back;
    ReadListPrintLayout(ini, back, columns);
    EXPECT_EQ(back.Title, l.Title);
    EXPECT_EQ(back.FontSize, 12);
    EXPECT_EQ(back.Colors, l.Colors);
    EXPECT_EQ(back.Copies, 3);
    EXPECT_TRUE(back.Line[4]);
    EXPECT_EQ(columns, TListPrintColumns({{21, 14, 1}}));
    EXPECT_FALSE(ini.ValueExists(ListPrintLayoutSection, QStringLiteral("Color3")));
}

TEST(ListPrintLayoutTest, RowsPerPageReserveWhatThePageFurnitureTakes)
{
    TListPrintLayout l;
    l.ViewDate = false;
    l.ViewPage = false;
    for (int height : {7016, 4961, 300})
        EXPECT_EQ(CountRowsPerPage(l, 600, height, 0), std::max(0, (height - 113) / 113)) << height;
    // A 9-point title takes two lines of 12 points.
    l.Title = QStringLiteral("表題");
    EXPECT_EQ(CountRowsPerPage(l, 600, 7016, 0), (7016 - 200 - 75 - 38 + 19) / 113);
    l.Title.clear();
    // Date and page number at the bottom: two lines when both are centred, one line when they are not.
    l.ViewDate = l.ViewPage = true;
    l.DatePosY = l.PagePosY = 1;
    l.DatePosX = l.PagePosX = 1;
    EXPECT_EQ(CountRowsPerPage(l, 600, 7016, 0), (7016 - 19 - 150 - 113 + 19) / 113);
    l.DatePosX = 2;
    EXPECT_EQ(CountRowsPerPage(l, 600, 7016, 0), (7016 - 19 - 75 - 113 + 19) / 113);
    // The top margin counts, the rules' thickness too.
    l.ViewDate = l.ViewPage = false;
    l.Line[lrTop] = l.Line[lrBottom] = true;
    l.LineType[lrTop] = l.LineType[lrBottom] = 2; // 19 pixels at 600 dpi
    EXPECT_EQ(CountRowsPerPage(l, 600, 7016, 1181), (7016 - 1181 - 19 - 9 - 113 + 19 - 9) / 113);
    EXPECT_EQ(ListPageCount(13, 6), 3);
    EXPECT_EQ(ListPageCount(13, 0), 0);
    EXPECT_EQ(RuleThickness(2, 600), 19);
    EXPECT_EQ(RuleThickness(4, 300), 6);
}

TEST(ListPrintLayoutTest, PageNumberDateAndMarginTexts)
{
    EXPECT_EQ(PageNumberText(0, 2, 9), QStringLiteral("Page. 2"));
    EXPECT_EQ(PageNumberText(4, 2, 9), QStringLiteral("- 2 / 9 -"));
    EXPECT_EQ(PageNumberText(5, 2, 9), QStringLiteral("2 / 9 ページ"));
    EXPECT_EQ(ListDateText(QDate(2026, 3, 7)), QStringLiteral("2026/ 3/ 7"));
    const std::pair<const char*, int> margins[] = {{"12", 120}, {"12.", 120}, {"12.5", 125}, {" 5 ", 50},
                                                   {"1.25", -1}, {"5a", -1},  {"50.1", -1},  {"123", -1},
                                                   {"1..2", -1}, {".", -1},   {"", -1},      {"50.0", 500}};
    for (auto [text, expected] : margins) {
        int tenths = -1;
        EXPECT_EQ(ParseMarginText(QString::fromLatin1(text), tenths), expected >= 0) << text;
        if (expected >= 0)
            EXPECT_EQ(tenths, expected) << text;
    }
}

TEST(ListPrintLayoutTest, RuleButtons)
{
    TRuleLines lines;
    lines.Outer(0);
    EXPECT_EQ(lines.On, (std::array<bool, 6>{true, false, true, true, false, true}));
    lines.Outer(0);
    EXPECT_EQ(lines.On, (std::array<bool, 6>{}));
    lines.Outer(0);
    lines.Outer(3); // another type: on with that type
    EXPECT_TRUE(lines.On[lrTop]);
    EXPECT_EQ(lines.Type[lrLeft], 3);
    lines.Press(lrTop, 1); // on with another type: keeps on, takes the type
    EXPECT_TRUE(lines.On[lrTop]);
    EXPECT_EQ(lines.Type[lrTop], 1);
    lines.Press(lrTop, 1);
    EXPECT_FALSE(lines.On[lrTop]);
    lines.Inner(2);
    EXPECT_TRUE(lines.On[lrInnerHorz] && lines.On[lrInnerVert]);
    lines.None();
    EXPECT_EQ(lines.On, (std::array<bool, 6>{}));
}

TEST(ListPrintLayoutTest, ItemValues)
{
    const AnsiString myNumber = EncryptFieldText("1234567890123", FieldCipherKey);
    FakeAdrsRow row;
    row.setValue("Group", 2)
        .set("Tel", "0312345678")
        .setValue("TelDiv", 3)
        .set("PubDate", "200504")
        .set("Pos", "1000001")
        .set("Tdfkn", QStringLiteral("東京都 "))
        .set("Adrs1", QStringLiteral(" 千代田区"))
        .set("Adrs2", QStringLiteral("丸の内1-1"))
        .set("NameKanji", WideToHexText(QStringLiteral(" 山田 太郎 ")))
        .set("Note", QStringLiteral("一行目\r\n二行目"))
        .set("MyNumber", myNumber)
        .setValue("PrivCorp", false)
        .setValue("AddDateTime", QDateTime(QDate(2024, 4, 1), QTime(9, 5, 7)));
    TListValueContext c;
    c.GroupNames = {QStringLiteral("指定なし"), QStringLiteral("得意先"), QStringLiteral("仕入先")};
    c.Hyphenate = [](const AnsiString& digits) {
        return digits == "0312345678" ? AnsiString("03-1234-5678") : digits;
    };
    const std::pair<int, QString> cases[] = {
        {0, ""},
        {2, "仕入先"},
        {4, "03-1234-5678"},
        {5, "○"},
        {7, "2005/04"},
        {10, "100-0001"},
        {11, "東京都千代田区丸の内1-1"},
        {14, "会社"},
        {15, "1234567890123"},
        {21, "山田 太郎"},
        {44, "一行目 二行目"},
        {57, "2024/04/01 09:05:07"},
        {58, "2024/04/01"},
        {59, "09:05:07"},
    };
    for (const auto& [item, text] : cases)
        EXPECT_EQ(ListPrintItemValue(item, row, c), text) << item;
    row.set("Pos", "123");
    EXPECT_EQ(ListPrintItemValue(10, row, c), QStringLiteral("123"));
    c.IgnoreTdfkn = true;
    EXPECT_EQ(ListPrintItemValue(11, row, c), QStringLiteral("千代田区丸の内1-1"));
    c.MaskProtected = true;
    EXPECT_EQ(ListPrintItemValue(15, row, c), QStringLiteral("*************"));
    row.set("MyNumber", "zz");
    EXPECT_THROW(ListPrintItemValue(15, row, c), EFieldCipherError);
}

TEST_F(ListPrintPageTest, ThreePagesOnTheRecordingPrinter)
{
    TScopedPrinter scoped(600);
    const TListPageSource source = Source(600);
    ASSERT_EQ(source.RowsPerPage, 6);
    ASSERT_EQ(PrintListPages(source, *scoped.Printer(), 3), lpOk);
    const auto& pages = scoped.Printer()->Pages();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(scoped.Printer()->JobTitles(), QStringList{QStringLiteral("一覧表データ")});

    const QStringList numbers[3] = {{"1", "2", "3", "4", "5", "6"},
                                    {"7", "8", "9", "10", "11", "12"},
                                    {"13", "14", "15"}};
    const QStringList names[3] = {{"名前1", "名前6"}, {"名前7", "名前9", "名前13"}, {"名前14", "名前16"}};
    for (int p = 0; p < 3; ++p) {
        const QStringList texts = Texts(*pages[size_t(p)]);
        ASSERT_GE(texts.size(), 3);
        EXPECT_EQ(texts.mid(0, 3), (QStringList{"No.", "名前", "〒"})) << p;
        QStringList running;
        for (int i = 3; i < texts.size(); i += 3)
            running.append(texts[i]);
        EXPECT_EQ(running, numbers[p]) << p;
        for (const QString& name : names[p])
            EXPECT_TRUE(texts.contains(name)) << p << name.toStdString();
        EXPECT_TRUE(texts.contains(QStringLiteral("100-0001")));
        EXPECT_FALSE(texts.contains(QStringLiteral("名前8"))); // not in the table
    }

    // Bands 1-2-3-1-..., restarting on every page.
    const QList<Band> first = Bands(*pages[0]), last = Bands(*pages[2]);
    ASSERT_EQ(first.size(), 6);
    ASSERT_EQ(last.size(), 3);
    for (int j = 0; j < 6; ++j)
        EXPECT_EQ(first[j].color, ColorFromValue(m_layout.Colors[j % 3])) << j;
    EXPECT_EQ(last[0].color, ColorFromValue(m_layout.Colors[0]));

    // Rules 6 pixels thick: the heading's two, inner lines after every second record but not after the
    // page's last, and the bottom one; bands start right below a line.
    const QList<QList<int>> runs = RuleRuns(*pages[0]);
    ASSERT_EQ(runs.size(), 5);
    for (const QList<int>& run : runs)
        EXPECT_EQ(run.size(), 6);
    EXPECT_EQ(int(first[0].rect.top()), runs[1].last() + 1);
    EXPECT_EQ(int(first[2].rect.top()), runs[2].last() + 1);
    EXPECT_EQ(int(first[4].rect.top()), runs[3].last() + 1);
    EXPECT_LT(runs[0].first(), 1181 + 75);
    const QList<QList<int>> lastRuns = RuleRuns(*pages[2]);
    EXPECT_EQ(lastRuns.size(), 4); // one inner line: the page's third record ends the range
}

TEST_F(ListPrintPageTest, PdfOutputHoldsEveryName)
{
    QTemporaryDir dir;
    TPdfPrinter printer(VirtualPdfPrinterName, dir.path(), true, 600);
    m_layout.ViewPage = true;
    m_layout.Title = QStringLiteral("顧客一覧");
    const TListPageSource source = Source(600);
    QString file;
    ASSERT_EQ(PrintListPages(source, printer, ListPageCount(16, source.RowsPerPage), &file), lpOk);
    const ToolRun text = RunTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    ASSERT_EQ(text.exitCode, 0);
    const QString out = QString::fromUtf8(text.out);
    for (int i = 1; i <= 16; ++i)
        if (i != 8)
            EXPECT_TRUE(out.contains(QStringLiteral("名前%1\n").arg(i)) || out.contains(QStringLiteral("名前%1").arg(i)))
                << i;
    EXPECT_TRUE(out.contains(QStringLiteral("顧客一覧")));
    EXPECT_TRUE(out.contains(QStringLiteral("Page. 3")));
}

TEST_F(ListPrintPageTest, PreviewFindsItsPageBySkippingAndMasksProtectedValues)
{
    m_columns = {{1, 4, 0}, {15, 13, 0}};
    for (int i = 0; i < 16; ++i)
        m_cursor.addRow(100 + i, {{"MyNumber", EncryptFieldText("1234567890123", FieldCipherKey)}});
    TListPageSource source = Source(600);
    source.Values.MaskProtected = true;
    TDisplayList sheet(QSize(4961, A4Height600), 600, 600);
    {
        QPainter painter(&sheet);
        TListPageDrawer drawer(source, painter, QRect(0, 0, 4961, A4Height600), 600, 600);
        drawer.DrawPreviewPage(3, 3);
    }
    const QStringList texts = Texts(sheet);
    EXPECT_TRUE(texts.contains(QStringLiteral("*************")));
    EXPECT_FALSE(texts.contains(QStringLiteral("1234567890123")));
    // The preview counts every row that passes the choice, located or not: page 3 starts at the 13th.
    EXPECT_TRUE(texts.contains(QStringLiteral("13")));
    EXPECT_FALSE(texts.contains(QStringLiteral("12")));
    // The printable area is outlined in light grey.
    bool outlined = false;
    for (const TDisplayItem& item : sheet.Items())
        outlined |= item.kind == TDisplayItem::Path && item.pen.color() == QColor(192, 192, 192);
    EXPECT_TRUE(outlined);
}

TEST_F(ListPrintPageTest, SelectedRowsOnly)
{
    m_range.DataSelect = dsList;
    m_rows.selected = {2, 5, 9};
    TScopedPrinter scoped(600);
    ASSERT_EQ(PrintListPages(Source(600), *scoped.Printer(), 1), lpOk);
    const QStringList texts = Texts(*scoped.Printer()->Pages().front());
    EXPECT_TRUE(texts.contains(QStringLiteral("名前3")));
    EXPECT_TRUE(texts.contains(QStringLiteral("名前6")));
    EXPECT_TRUE(texts.contains(QStringLiteral("名前10")));
    EXPECT_FALSE(texts.contains(QStringLiteral("名前4")));
}
