// The list's page settings, rows per page, item values and page drawing.
#include "dataexchange/ListPrintPage.h"

#include "core/AppSub.h"
#include "core/CstmClr.h"
#include "core/FontSub.h"
#include "dataexchange/ExportWriter.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

int ReadRanged(const TMemIniFile& ini, const QString& section, const char* key, int def, int low, int high)
{
    const int v = ini.ReadInteger(section, QLatin1String(key), def);
    return v < low || v > high ? def : v;
}

QString Key(const char* base, int n)
{
    return QLatin1String(base) + QString::number(n);
}

int HalfAway(int v)
{
    return int(RoundHalfAway(v / 2.0));
}

int AlignFlag(int align)
{
    return align == 1 ? Qt::AlignHCenter : align == 2 ? Qt::AlignRight : Qt::AlignLeft;
}

// Rectangles as the page routine keeps them: right and bottom exclusive.
QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// The export's value rule where the printed text is the same.
int ExportItemOf(int item)
{
    static const std::array<int, ListPrintItemCount> map = [] {
        std::array<int, ListPrintItemCount> m;
        m.fill(-1);
        const std::pair<int, int> same[] = {{2, 1},   {3, 2},   {4, 3},   {6, 5},   {7, 6},   {8, 7},
                                            {9, 8},   {10, 9},  {12, 14}, {13, 15}, {14, 16}, {21, 23},
                                            {22, 24}, {23, 27}, {24, 28}, {25, 29}, {56, 75}, {63, 81},
                                            {64, 83}};
        for (auto [list, exp] : same)
            m[size_t(list)] = exp;
        for (int i = 0; i < 5; ++i) {
            m[size_t(16 + i)] = 18 + i; // company to employee number
            m[size_t(26 + i)] = 30 + i; // joint names
        }
        for (int i = 0; i < 8; ++i)
            m[size_t(36 + i)] = 54 + i; // keywords
        return m;
    }();
    return item >= 0 && item < ListPrintItemCount ? map[size_t(item)] : -1;
}

QString Trimmed(const TAdrsRow& row, const char* name)
{
    return ToWide(TrimAnsiText(row.FieldBytes(name)));
}

QString OneLine(const TAdrsRow& row, const char* name)
{
    AnsiString text = row.FieldBytes(name);
    text.replace("\r\n", " ");
    return ToWide(text);
}

QString DateTimeText(const TAdrsRow& row, const char* name, const QString& format)
{
    QDateTime value = row.FieldDateTime(name);
    if (!value.isValid())
        value = QDateTime(QDate(1899, 12, 30), QTime(0, 0));
    return value.toString(format);
}

QByteArray ProtectedField(int item)
{
    if (item == 15)
        return "MyNumber";
    if (item >= 31 && item <= 35)
        return "JointMyNumber" + QByteArray::number(item - 30);
    if (item >= 45 && item <= 54)
        return "ProtectMemo" + QByteArray::number(item - 44);
    return "ProtectNote";
}

} // namespace

void ReadListPrintLayout(const TMemIniFile& ini, TListPrintLayout& l, TListPrintColumns& columns)
{
    const QString& s = ListPrintLayoutSection;
    columns = ParseListPrintColumns(ini.ReadString(s, QStringLiteral("ItemNo"), {}),
                                    ini.ReadString(s, QStringLiteral("ItemSize"), {}),
                                    ini.ReadString(s, QStringLiteral("ItemAlign"), {}))
                  .value_or(TListPrintColumns{});
    l.IgnoreTdfkn = ini.ReadBool(s, QStringLiteral("IgnoreTdfkn"), false);
    l.Title = ToWide(TruncateMbcs(ToAnsi(ini.ReadString(s, QStringLiteral("Title"), {})), 200));
    l.TitlePosX = ReadRanged(ini, s, "TitlePosX", 1, 0, 2);
    l.ViewDate = ini.ReadBool(s, QStringLiteral("ViewDate"), true);
    l.DatePosX = ReadRanged(ini, s, "DatePosX", 2, 0, 2);
    l.DatePosY = ReadRanged(ini, s, "DatePosY", 0, 0, 1);
    l.ViewPage = ini.ReadBool(s, QStringLiteral("ViewPage"), true);
    l.PageType = ReadRanged(ini, s, "PageType", 0, 0, 5);
    l.PagePosX = ReadRanged(ini, s, "PagePosX", 1, 0, 2);
    l.PagePosY = ReadRanged(ini, s, "PagePosY", 1, 0, 1);
    l.FontName = TrimBlanks(ini.ReadString(s, QStringLiteral("FontName"), {}));
    if (l.FontName.isEmpty())
        l.FontName = ListPrintDefaultFont;
    l.FontSize = ListPrintMinFontSize +
                 ReadRanged(ini, s, "FontSize", 2, 0, ListPrintMaxFontSize - ListPrintMinFontSize);
    l.FontStyle = ReadRanged(ini, s, "FontStyle", 0, 0, 3);
    l.FontCharset = ini.ReadInteger(s, QStringLiteral("FontCharset"), 128) == 0 ? 0 : 128;
    l.RowCount = 1 + ReadRanged(ini, s, "iRowCount", 0, 0, 2);
    l.OffsetX = ReadRanged(ini, s, "OffsetX", 0, 0, 500);
    l.OffsetY = ReadRanged(ini, s, "OffsetY", 0, 0, 500);
    for (int i = 0; i < 6; ++i) {
        l.Line[size_t(i)] = ini.ReadBool(s, Key("Line", i + 1), false);
        const int type = ini.ReadInteger(s, Key("LineType", i + 1), 0);
        l.LineType[size_t(i)] = type < 0 || type > 5 ? 0 : type;
    }
    l.HorzInterval = ReadRanged(ini, s, "HorzInterval", 1, 1, 20);
    l.HeaderColor = ini.ReadInteger(s, QStringLiteral("HeaderColor"), 0xFFFFFF);
    l.HeaderColorExists = ini.ReadBool(s, QStringLiteral("HeaderColorExists"), false);
    const int count = ReadRanged(ini, s, "ColorCount", 0, 0, ListPrintMaxColors);
    l.Colors.clear();
    for (int i = 1; i <= count; ++i)
        l.Colors.append(ini.ReadInteger(s, Key("Color", i), 0xFFFFFF));
    l.Copies = ReadRanged(ini, ListPrintSection, "Copies", 1, 1, 100);
}

void WriteListPrintLayout(TMemIniFile& ini, const TListPrintLayout& l, const TListPrintColumns& columns)
{
    const QString& s = ListPrintLayoutSection;
    const auto keys = ListPrintColumnKeys(columns);
    ini.WriteString(s, QStringLiteral("ItemNo"), keys[0]);
    ini.WriteString(s, QStringLiteral("ItemSize"), keys[1]);
    ini.WriteString(s, QStringLiteral("ItemAlign"), keys[2]);
    ini.WriteBool(s, QStringLiteral("IgnoreTdfkn"), l.IgnoreTdfkn);
    ini.WriteString(s, QStringLiteral("Title"), TrimBlanks(l.Title));
    ini.WriteInteger(s, QStringLiteral("TitlePosX"), l.TitlePosX);
    ini.WriteBool(s, QStringLiteral("ViewDate"), l.ViewDate);
    ini.WriteInteger(s, QStringLiteral("DatePosX"), l.DatePosX);
    ini.WriteInteger(s, QStringLiteral("DatePosY"), l.DatePosY);
    ini.WriteBool(s, QStringLiteral("ViewPage"), l.ViewPage);
    ini.WriteInteger(s, QStringLiteral("PageType"), l.PageType);
    ini.WriteInteger(s, QStringLiteral("PagePosX"), l.PagePosX);
    ini.WriteInteger(s, QStringLiteral("PagePosY"), l.PagePosY);
    ini.WriteString(s, QStringLiteral("FontName"), TrimBlanks(l.FontName));
    ini.WriteInteger(s, QStringLiteral("FontSize"), l.FontSize - ListPrintMinFontSize);
    ini.WriteInteger(s, QStringLiteral("FontStyle"), l.FontStyle);
    ini.WriteInteger(s, QStringLiteral("FontCharset"), l.FontCharset);
    ini.WriteInteger(s, QStringLiteral("iRowCount"), l.RowCount - 1);
    ini.WriteInteger(s, QStringLiteral("OffsetX"), l.OffsetX);
    ini.WriteInteger(s, QStringLiteral("OffsetY"), l.OffsetY);
    for (int i = 0; i < 6; ++i) {
        ini.WriteBool(s, Key("Line", i + 1), l.Line[size_t(i)]);
        ini.WriteInteger(s, Key("LineType", i + 1), l.LineType[size_t(i)]);
    }
    ini.WriteInteger(s, QStringLiteral("HorzInterval"), l.HorzInterval);
    ini.WriteInteger(s, QStringLiteral("HeaderColor"), l.HeaderColor);
    ini.WriteBool(s, QStringLiteral("HeaderColorExists"), l.HeaderColorExists);
    // Colours beyond the count go, so that a shorter list leaves nothing behind.
    for (int i = 1; i <= ListPrintMaxColors; ++i)
        ini.DeleteKey(s, Key("Color", i));
    ini.WriteInteger(s, QStringLiteral("ColorCount"), int(l.Colors.size()));
    for (int i = 0; i < l.Colors.size(); ++i)
        ini.WriteInteger(s, Key("Color", i + 1), l.Colors[i]);
    ini.WriteInteger(ListPrintSection, QStringLiteral("Copies"), l.Copies);
}

void TRuleLines::Press(int k, int selected)
{
    if (On[size_t(k)] && Type[size_t(k)] != selected) {
        Type[size_t(k)] = selected;
        return;
    }
    On[size_t(k)] = !On[size_t(k)];
    Type[size_t(k)] = selected;
}

void TRuleLines::None()
{
    On.fill(false);
}

void TRuleLines::Group(std::initializer_list<int> lines, int selected)
{
    const bool allOn = std::all_of(lines.begin(), lines.end(), [&](int k) {
        return On[size_t(k)] && Type[size_t(k)] == selected;
    });
    for (int k : lines) {
        On[size_t(k)] = !allOn;
        Type[size_t(k)] = selected;
    }
}

void TRuleLines::Outer(int selected)
{
    Group({lrTop, lrBottom, lrLeft, lrRight}, selected);
}

void TRuleLines::Inner(int selected)
{
    Group({lrInnerHorz, lrInnerVert}, selected);
}

bool ParseMarginText(const QString& raw, int& tenths)
{
    QString text = raw.trimmed();
    bool hasDigit = false;
    for (QChar ch : text) {
        if (ch >= u'0' && ch <= u'9')
            hasDigit = true;
        else if (ch != u'.')
            return false;
    }
    if (!hasDigit)
        return false;
    const qsizetype period = text.indexOf(u'.');
    if (period < 0) {
        if (text.size() > 2)
            return false;
        text += QStringLiteral(".0");
    } else if (period == text.size() - 1) {
        if (text.size() > 3)
            return false;
        text += u'0';
    }
    const qsizetype at = text.indexOf(u'.');
    if (text.indexOf(u'.', at + 1) >= 0 || text.size() - at - 1 != 1)
        return false;
    bool ok = false;
    const int value = QString(text).remove(u'.').toInt(&ok);
    if (!ok || value < 0 || value > 500)
        return false;
    tenths = value;
    return true;
}

int RuleThickness(int type, int dpi)
{
    static constexpr int px96[6] = {1, 2, 3, 1, 2, 1};
    return int(RoundHalfAway(px96[type >= 0 && type < 6 ? type : 0] * (dpi / 96.0)));
}

int CountRowsPerPage(const TListPrintLayout& l, int dpiY, int pageBottom, int y0)
{
    const auto points = [dpiY](int pt) { return pt * dpiY / 72; };
    int a = pageBottom - y0;
    const int s = l.FontSize;
    const int c = points(s);
    const int g = HalfAway(c);
    bool nothingAbove = true;
    if (!TrimBlanks(l.Title).isEmpty()) {
        a -= 2 * points(s / 2 * 3);
        nothingAbove = false;
    }
    if (l.ViewDate) {
        if (l.DatePosY == 0) {
            a -= c + g;
            nothingAbove = false;
        } else {
            a -= c;
        }
    }
    if (l.ViewPage) {
        if (l.PagePosY == 0)
            nothingAbove = false;
        if (l.ViewDate && l.DatePosY == l.PagePosY) {
            if (l.DatePosX == l.PagePosX)
                a -= c;
        } else {
            a -= l.PagePosY == 0 ? c + g : c;
        }
    }
    if (nothingAbove) {
        a -= g / 2;
        if (l.Line[lrTop])
            a -= (RuleThickness(l.LineType[lrTop], dpiY) - 1) / 2;
    }
    a -= c + g;
    a += g / 2;
    if (l.Line[lrBottom])
        a -= RuleThickness(l.LineType[lrBottom], dpiY) / 2;
    const int perRecord = c * l.RowCount + g;
    return perRecord > 0 && a > 0 ? a / perRecord : 0;
}

int ListPageCount(int targetCount, int rowsPerPage)
{
    return rowsPerPage > 0 ? (targetCount + rowsPerPage - 1) / rowsPerPage : 0;
}

QString PageNumberText(int pageType, int n, int total)
{
    switch (pageType) {
    case 1:
        return QStringLiteral("- %1 -").arg(n);
    case 2:
        return QStringLiteral("%1 ページ").arg(n);
    case 3:
        return QStringLiteral("Page. %1 / %2").arg(n).arg(total);
    case 4:
        return QStringLiteral("- %1 / %2 -").arg(n).arg(total);
    case 5:
        return QStringLiteral("%1 / %2 ページ").arg(n).arg(total);
    default:
        return QStringLiteral("Page. %1").arg(n);
    }
}

QString ListDateText(const QDate& date)
{
    return QString::asprintf("%4d/%2.d/%2.d", date.year(), date.month(), date.day());
}

QString ListPrintItemValue(int item, const TAdrsRow& row, const TListValueContext& context)
{
    if (const int exportItem = ExportItemOf(item); exportItem >= 0) {
        TExportContext c;
        c.GroupNames = context.GroupNames;
        c.Hyphenate = context.Hyphenate;
        c.MajorCategoryName = context.MajorCategoryName;
        c.MinorCategoryName = context.MinorCategoryName;
        return ExportValue(exportItem, row, c);
    }
    if (IsProtectedListItem(item)) {
        const QByteArray field = ProtectedField(item);
        QString text = item == 55 ? OneLine(row, field.constData())
                                  : ToWide(DecryptFieldText(row.FieldBytes(field.constData()), FieldCipherKey));
        if (context.MaskProtected && !text.isEmpty())
            text = QString(text.size(), QLatin1Char('*'));
        return text;
    }
    switch (item) {
    case 5:
        return row.FieldInt("TelDiv") == 3 ? QStringLiteral("○") : QString();
    case 11:
        return (context.IgnoreTdfkn ? QString() : Trimmed(row, "Tdfkn")) + Trimmed(row, "Adrs1") +
               Trimmed(row, "Adrs2") + Trimmed(row, "Adrs3");
    case 44:
        return OneLine(row, "Note");
    case 57:
        return DateTimeText(row, "AddDateTime", QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    case 58:
        return DateTimeText(row, "AddDateTime", QStringLiteral("yyyy/MM/dd"));
    case 59:
        return DateTimeText(row, "AddDateTime", QStringLiteral("HH:mm:ss"));
    case 60:
        return DateTimeText(row, "UpdDateTime", QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    case 61:
        return DateTimeText(row, "UpdDateTime", QStringLiteral("yyyy/MM/dd"));
    case 62:
        return DateTimeText(row, "UpdDateTime", QStringLiteral("HH:mm:ss"));
    default:
        return {};
    }
}

void RangeIndexBounds(const TRecordRange& range, const TAddressListRows& rows, int& first, int& last)
{
    first = 0;
    last = -1;
    switch (range.DataSelect) {
    case dsList:
        first = rows.GetFirstSelectedIndex();
        last = rows.GetLastSelectedIndex();
        break;
    case dsRange:
        first = range.BeginPos - 1;
        last = range.EndPos - 1;
        break;
    case dsAll:
        last = rows.GetRecordCount() - 1;
        break;
    default:
        break;
    }
    first = std::max(first, 0);
}

// ---- drawing ----

TListPageDrawer::TListPageDrawer(const TListPageSource& source, QPainter& painter, QRect area, int dpiX,
                                 int dpiY)
    : m_src(source), m_layout(*source.Layout), m_painter(painter), m_area(area), m_dpiX(dpiX), m_dpiY(dpiY)
{
    TFontSpec spec;
    SetFontAttributes(&spec, m_layout.FontCharset, TrimBlanks(m_layout.FontName), m_layout.FontSize,
                      m_layout.FontStyle);
    m_base = ToQFont(spec);
    m_base.setPixelSize(std::max(1, m_layout.FontSize * dpiY / 72));
    const QFontMetrics fm(m_base, painter.device());
    m_h = fm.height();
    m_w = fm.horizontalAdvance(QStringLiteral("ｳ"));
    m_g = HalfAway(m_h);
}

QString TListPageDrawer::value(int item, const TAdrsRow& row) const
{
    if (!m_preview)
        return ListPrintItemValue(item, row, m_src.Values);
    try {
        return ListPrintItemValue(item, row, m_src.Values);
    } catch (const EFieldCipherError&) {
        return {}; // the print run reports it
    }
}

void TListPageDrawer::DrawRule(int k, QRect& rect)
{
    if (!m_layout.Line[size_t(k)])
        return;
    const int type = m_layout.LineType[size_t(k)];
    const bool horizontal = k <= lrBottom;
    const int t = RuleThickness(type, horizontal ? m_dpiY : m_dpiX);
    QPen pen(Qt::black, 1);
    const qreal unit = std::max(1, (horizontal ? m_dpiX : m_dpiY) / 96);
    if (type == 3 || type == 4)
        pen.setDashPattern({unit, unit});
    else if (type == 5)
        pen.setDashPattern({6 * unit, 3 * unit, unit, 3 * unit});
    pen.setCapStyle(Qt::FlatCap);
    m_painter.setPen(pen);
    const int left = rect.left(), top = rect.top();
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    if (horizontal) {
        const int centre = top + (bottom - top) / 2;
        const int from = centre - (t - 1) / 2, to = centre + t / 2;
        for (int row = from; row <= to; ++row)
            m_painter.drawLine(QPointF(left, row + 0.5), QPointF(right, row + 0.5));
        rect = Edges(left, from, right, to + 1);
    } else {
        int from, to;
        if (k == lrLeft) {
            from = left;
            to = left + t - 1;
        } else if (k == lrInnerVert) {
            const int x = left + (right - left) / 2;
            from = x - (t - 1) / 2;
            to = x + t / 2;
        } else {
            from = right - t;
            to = right - 1;
        }
        for (int col = from; col <= to; ++col)
            m_painter.drawLine(QPointF(col + 0.5, top), QPointF(col + 0.5, bottom));
        rect = Edges(from, top, to + 1, bottom);
    }
    m_painter.setPen(QPen(Qt::black));
}

int TListPageDrawer::DrawPage(int first, int page, int total)
{
    m_preview = false;
    return drawPage(first, page, total, -1);
}

void TListPageDrawer::DrawPreviewPage(int page, int total)
{
    m_preview = true;
    m_painter.setPen(QPen(QColor(192, 192, 192), 1, Qt::DotLine));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRectF(m_area).adjusted(0.5, 0.5, -0.5, -0.5));
    int first = 0, last = -1;
    RangeIndexBounds(m_src.Range, *m_src.Rows, first, last);
    drawPage(first, std::max(page, 1), total, (std::max(page, 1) - 1) * m_src.RowsPerPage);
}

int TListPageDrawer::drawPage(int first, int page, int total, int skip)
{
    const TListPrintLayout& l = m_layout;
    const TListPrintColumns& columns = *m_src.Columns;
    QPainter& p = m_painter;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black));
    const QPoint margin(int(RoundHalfAway(l.OffsetX * m_dpiX / 254.0)),
                        int(RoundHalfAway(l.OffsetY * m_dpiY / 254.0)));
    const int x0 = m_area.left() + margin.x();
    const int y0 = m_area.top() + margin.y();
    const int pageRight = m_area.left() + m_area.width();
    const int pageBottom = m_area.top() + m_area.height();
    int y = y0;

    if (!l.Title.isEmpty()) {
        QFont title = m_base;
        title.setPixelSize(m_base.pixelSize() / 3 * 4);
        title.setBold(true);
        title.setItalic(l.FontStyle & FontStyleItalic);
        const int th = QFontMetrics(title, p.device()).height();
        p.setFont(title);
        p.drawText(Edges(x0, y, pageRight, y + 2 * th),
                   Qt::TextSingleLine | Qt::AlignVCenter | AlignFlag(l.TitlePosX), l.Title);
        y += 2 * th;
    }
    p.setFont(m_base);
    const int h = m_h, w = m_w, g = m_g;
    const int topLine = Qt::TextSingleLine | Qt::AlignTop;

    if (l.ViewDate) {
        const QString text = ListDateText(l.Date);
        if (l.DatePosY == 1) {
            int top = pageBottom - h;
            if (l.ViewPage && l.PagePosY == 1 && l.PagePosX == l.DatePosX)
                top -= h;
            p.drawText(Edges(x0, top, pageRight, pageBottom), topLine | AlignFlag(l.DatePosX), text);
        } else {
            p.drawText(Edges(x0, y, pageRight, y + h), topLine | AlignFlag(l.DatePosX), text);
            if (!l.ViewPage || l.PagePosY == 1)
                y += h + g;
            else if (l.PagePosX == l.DatePosX)
                y += h;
        }
    }
    if (l.ViewPage) {
        const QString text = PageNumberText(l.PageType, page, total);
        if (l.PagePosY == 1) {
            p.drawText(Edges(x0, pageBottom - h, pageRight, pageBottom), topLine | AlignFlag(l.PagePosX), text);
        } else {
            p.drawText(Edges(x0, y, pageRight, y + h), topLine | AlignFlag(l.PagePosX), text);
            y += h + g;
        }
    }
    if (m_preview && columns.isEmpty())
        return first;

    const int leftInset = l.Line[lrLeft] ? w * 2 / 3 : 0;
    const int rightInset = l.Line[lrRight] ? w * 2 / 3 : 0;
    if (y == y0) {
        y += g / 2;
        if (l.Line[lrTop])
            y += (RuleThickness(l.LineType[lrTop], m_dpiY) - 1) / 2;
    }
    int widths = 0;
    for (const ListPrintColumn& c : columns)
        widths += c.Width;
    const int cellsRight = pageRight - rightInset;
    const int R = std::min(x0 + leftInset + w * widths + w * (int(columns.size()) - 1) + rightInset, pageRight);

    // Heading row.
    if (l.HeaderColorExists)
        p.fillRect(Edges(x0, y - g / 2, R, y + h + g / 2), ColorFromValue(l.HeaderColor));
    int lastCellRight = x0 + leftInset;
    {
        int left = x0 + leftInset;
        for (int i = 0; i < columns.size(); ++i) {
            if (i > 0)
                left += w;
            if (left > cellsRight)
                break;
            const int right = std::min(left + w * columns[i].Width, cellsRight);
            if (columns[i].ItemNo != 0)
                p.drawText(Edges(left, y, right, y + h),
                           Qt::TextSingleLine | Qt::AlignVCenter | AlignFlag(columns[i].Align),
                           ListPrintHeading(columns[i].ItemNo, *m_src.Catalogue));
            left = lastCellRight = right;
        }
    }
    const int headBottom = y + h;
    int rulesTop = y - g / 2;
    int bandTop = headBottom + g - g / 2;
    if (l.Line[lrTop]) {
        QRect upper = Edges(x0, y - g, R, y);
        DrawRule(lrTop, upper);
        rulesTop = upper.top();
        QRect lower = Edges(x0, headBottom, R, headBottom + g);
        DrawRule(lrTop, lower);
        bandTop = lower.bottom() + 1;
    }
    y = headBottom + g;

    // Records.
    int rangeFirst = 0, last = -1;
    RangeIndexBounds(m_src.Range, *m_src.Rows, rangeFirst, last);
    const int rowsPerPage = m_src.RowsPerPage;
    const int rowHeight = h * l.RowCount;
    const bool bySelection = m_src.Range.DataSelect == dsList;
    int passed = 0; // records that passed the selection test (preview)
    int j = 0;
    int index = first;
    for (; index <= last && rowsPerPage > 0; ++index) {
        if (bySelection && !m_src.Rows->IsSelected(index))
            continue;
        if (skip >= 0) {
            if (passed++ < skip)
                continue;
        }
        const int recNo = m_src.Rows->GetRecNo(index);
        const bool located = recNo >= 0 && m_src.Cursor && m_src.Cursor->FindRecNo(recNo);
        if (located) {
            QStringList texts;
            for (const ListPrintColumn& c : columns)
                texts.append(c.ItemNo == 1 ? QString::number((page - 1) * rowsPerPage + j + 1)
                                           : value(c.ItemNo, *m_src.Cursor));
            if (!l.Colors.isEmpty())
                p.fillRect(Edges(x0, bandTop, R, y + rowHeight + g / 2),
                           ColorFromValue(l.Colors[j % l.Colors.size()]));
            int left = x0 + leftInset;
            for (int i = 0; i < columns.size(); ++i) {
                if (i > 0)
                    left += w;
                if (left >= cellsRight)
                    break;
                const int right = std::min(left + w * columns[i].Width, cellsRight);
                p.drawText(Edges(left, y, right, y + rowHeight),
                           Qt::TextWordWrap | Qt::AlignTop | AlignFlag(columns[i].Align), texts[i]);
                left = right;
            }
            const int rowBottom = y + rowHeight;
            y = rowBottom + g;
            if (l.Line[lrInnerHorz] && (j + 1) % l.HorzInterval == 0 && j + 1 < rowsPerPage && index != last) {
                QRect rule = Edges(x0, rowBottom, R, y);
                DrawRule(lrInnerHorz, rule);
                bandTop = rule.bottom() + 1;
            } else {
                bandTop = y - g / 2;
            }
            ++j;
        }
        const bool full = skip >= 0 ? passed >= skip + rowsPerPage : j >= rowsPerPage;
        if (full) {
            ++index;
            break;
        }
    }

    int rulesBottom = y - g / 2;
    if (l.Line[lrBottom]) {
        QRect rule = Edges(x0, y - g, R, y);
        DrawRule(lrBottom, rule);
        rulesBottom = rule.bottom();
    }
    if (l.Line[lrLeft]) {
        QRect rule = Edges(x0, rulesTop, x0 + leftInset, rulesBottom);
        DrawRule(lrLeft, rule);
    }
    if (l.Line[lrRight]) {
        QRect rule = Edges(lastCellRight, rulesTop, lastCellRight + rightInset, rulesBottom);
        DrawRule(lrRight, rule);
    }
    if (l.Line[lrInnerVert]) {
        int left = x0 + leftInset;
        for (int i = 0; i + 1 < columns.size(); ++i) {
            const int right = std::min(left + w * columns[i].Width, cellsRight);
            if (right >= cellsRight)
                break;
            QRect rule = Edges(right, rulesTop, right + w, rulesBottom);
            DrawRule(lrInnerVert, rule);
            left = right + w;
        }
    }
    return index;
}

TListPrintResult PrintListPages(const TListPageSource& source, TPrinter& printer, int totalPages,
                                QString* outputFile)
{
    printer.SetCopies(source.Layout->Copies);
    std::unique_ptr<TPrintJob> job = printer.BeginJob(QStringLiteral("一覧表データ"));
    if (!job)
        return lpJobFailed;
    bool finished = false;
    try {
        QPainter& painter = job->Painter();
        TListPageDrawer drawer(source, painter, QRect(QPoint(0, 0), printer.PageSize()), printer.DpiX(),
                               printer.DpiY());
        int first = 0, last = -1;
        RangeIndexBounds(source.Range, *source.Rows, first, last);
        for (int page = 1; page <= totalPages; ++page) {
            first = drawer.DrawPage(first, page, totalPages);
            if (page < totalPages && !job->NewPage())
                break;
        }
        finished = true;
    } catch (...) {
        job->Finish();
        throw;
    }
    const bool ok = job->Finish() && finished;
    if (outputFile)
        *outputFile = job->OutputFile();
    return ok ? lpOk : lpJobFailed;
}
