// The page settings of the printed list, how many records fit a page, the text each item prints, and the one
// page routine that draws a page of the list in printer pixels, for the printer and for the preview's sheet.
#pragma once

#include "addressbook/Inquiry.h"
#include "dataexchange/ListPrintItems.h"
#include "dataexchange/RecordRange.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QRect>

#include <array>
#include <functional>

class QPainter;
class TMemIniFile;
class TPrinter;

inline const QString ListPrintSection = QStringLiteral("LIST PRINT");
inline const QString ListPrintLayoutSection = QStringLiteral("LIST PRINT LAYOUT");
inline const QString ListPrintDefaultFont = QStringLiteral("ＭＳ ゴシック");
inline constexpr int ListPrintMinFontSize = 7;
inline constexpr int ListPrintMaxFontSize = 30;
inline constexpr int ListPrintMaxColors = 10;

// Rule lines, in the order of their flags and types.
enum TListRule { lrTop = 0, lrInnerHorz = 1, lrBottom = 2, lrLeft = 3, lrInnerVert = 4, lrRight = 5 };

struct TListPrintLayout
{
    bool IgnoreTdfkn = false;
    QString Title; // at most 200 bytes
    int TitlePosX = 1;
    bool ViewDate = true;
    QDate Date = QDate::currentDate();
    int DatePosX = 2;
    int DatePosY = 0; // 0 top, 1 bottom
    bool ViewPage = true;
    int PageType = 0;
    int PagePosX = 1;
    int PagePosY = 1;
    QString FontName = ListPrintDefaultFont;
    int FontSize = 9; // points
    int FontStyle = 0;
    int FontCharset = 128;
    int RowCount = 1; // text lines per record
    int OffsetX = 0, OffsetY = 0; // 0.1 mm
    std::array<bool, 6> Line{};
    std::array<int, 6> LineType{};
    int HorzInterval = 1;
    qint32 HeaderColor = 0xFFFFFF;
    bool HeaderColorExists = false;
    QList<qint32> Colors;
    int DataSelect = 0;
    int Copies = 1;
};

// [LIST PRINT LAYOUT] and [LIST PRINT] Copies; a value outside its range reads as its default. columns is
// empty when the stored lists cannot be read.
void ReadListPrintLayout(const TMemIniFile& ini, TListPrintLayout& layout, TListPrintColumns& columns);
void WriteListPrintLayout(TMemIniFile& ini, const TListPrintLayout& layout, const TListPrintColumns& columns);

// The rule-line buttons of the window: six lines on or off, each with its type.
struct TRuleLines
{
    std::array<bool, 6> On{};
    std::array<int, 6> Type{};

    // A line that is on with another type takes the selected type; otherwise it toggles.
    void Press(int k, int selected);
    void None();
    // The four outer lines (or the two inner ones): off when all are on with the selected type, else on.
    void Outer(int selected);
    void Inner(int selected);
    bool operator==(const TRuleLines&) const = default;

private:
    void Group(std::initializer_list<int> lines, int selected);
};

// A margin typed in millimetres with at most one decimal: "12" and "12." read 12.0, a second decimal, a
// second period, a text too long for its form or a value outside 0..500 tenths is refused.
bool ParseMarginText(const QString& text, int& tenths);

// Thickness in printer pixels of a rule type at a resolution.
int RuleThickness(int type, int dpi);
// Records that fit one page of the printable height, the top margin already converted (y0); 0 or less when
// not even one does.
int CountRowsPerPage(const TListPrintLayout& layout, int dpiY, int pageBottom, int y0);
int ListPageCount(int targetCount, int rowsPerPage);
// "Page. %d" and the other five forms.
QString PageNumberText(int pageType, int page, int total);
QString ListDateText(const QDate& date);

// What the item values need besides the row.
struct TListValueContext
{
    QStringList GroupNames; // entry 0 "指定なし", 1..10 the groups
    THyphenateFunc Hyphenate;
    std::function<QString(int)> MajorCategoryName;
    std::function<QString(int, int)> MinorCategoryName;
    bool IgnoreTdfkn = false;
    bool MaskProtected = false; // protected values as "*"
};
// The text of item for the positioned row; a protected value that does not decipher throws
// EFieldCipherError.
QString ListPrintItemValue(int item, const TAdrsRow& row, const TListValueContext& context);

// First and last index of the range's walk (last below first: nothing).
void RangeIndexBounds(const TRecordRange& range, const TAddressListRows& rows, int& first, int& last);

// Everything a page is drawn from.
struct TListPageSource
{
    const TListPrintLayout* Layout = nullptr;
    const TListPrintColumns* Columns = nullptr;
    const TItemCatalogue* Catalogue = nullptr;
    TListValueContext Values;
    TRecordRange Range;
    const TAddressListRows* Rows = nullptr;
    TAdrsTableCursor* Cursor = nullptr;
    int RowsPerPage = 0;
};

// Draws pages on a painter in printer pixels. area is the printable area in the painter's coordinates.
class TListPageDrawer
{
public:
    TListPageDrawer(const TListPageSource& source, QPainter& painter, QRect area, int dpiX, int dpiY);

    // The printer's page: from index first on, counting located records. Answers the index after the last
    // one visited.
    int DrawPage(int first, int page, int total);
    // The preview's page: walks the range from its start, skipping the records of earlier pages unread.
    void DrawPreviewPage(int page, int total);
    // Draws rule k inside rect and narrows rect to the pixel rows (or columns) it covered.
    void DrawRule(int k, QRect& rect);

    const QFont& BaseFont() const { return m_base; }
    int LineHeight() const { return m_h; }
    int CharWidth() const { return m_w; }

private:
    int drawPage(int first, int page, int total, int skip);
    QString value(int item, const TAdrsRow& row) const;

    const TListPageSource& m_src;
    const TListPrintLayout& m_layout;
    QPainter& m_painter;
    QRect m_area;
    int m_dpiX, m_dpiY;
    QFont m_base;
    int m_h = 0, m_w = 0, m_g = 0;
    bool m_preview = false;
};

// The result of a print run.
enum TListPrintResult { lpOk, lpNoPrinter, lpJobFailed };

// Prints every page of the range on printer as one job titled "一覧表データ".
TListPrintResult PrintListPages(const TListPageSource& source, TPrinter& printer, int totalPages,
                                QString* outputFile = nullptr);
