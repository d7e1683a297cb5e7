// Postal code and address frames: their layouts on the rendering canvas and the address record.
#include "layoutobjects/PosRect.h"

#include "core/AppSub.h"

#include <vector>

namespace {

const QString One = QStringLiteral("一");

int characterCount(const QString& text)
{
    return int(SplitCharacters(text).size());
}

// The 4-design-pixel margin of the address layouts, in canvas pixels.
QPoint addressMargins(const TCanvas& canvas)
{
    return {int(RoundHalfAway(4 * canvas.DpiX() / 96.0)), int(RoundHalfAway(4 * canvas.DpiY() / 96.0))};
}

// A piece of a column: upright text, or a short number set across the column.
struct Block
{
    bool across = false;
    QString text;
};

using BlockList = std::vector<Block>;

void append(QString& to, const QString& from)
{
    to += from;
}

void append(BlockList& to, const BlockList& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

// Joining the lines of a three- or two-line layout: the second onto the first ("first"), or the third onto
// the second ("last").
template <class Line> void joinFirst(std::vector<Line>& lines)
{
    append(lines[0], lines[1]);
    lines.erase(lines.begin() + 1);
}

template <class Line> void joinLast(std::vector<Line>& lines)
{
    append(lines[1], lines[2]);
    lines.pop_back();
}

// Of three line extents: 1 or 2 for the larger of the last two (the second on a tie) when it is at least the
// first's, else 0.
int widestIndex(int e0, int e1, int e2)
{
    return qMax(e1, e2) >= e0 ? (e2 > e1 ? 2 : 1) : 0;
}

// The join a three-line layout falls back to, from the three extents.
template <class Line> void joinThree(std::vector<Line>& lines, int e0, int e1, int e2)
{
    if (widestIndex(e0, e1, e2) != 0 && e2 >= e0)
        joinFirst(lines);
    else
        joinLast(lines);
}

} // namespace

// ---- postal code ----

TPosRect::TPosRect()
{
    TPosRect::UpdateFontHeight();
}

void TPosRect::SetText(const QString& text)
{
    if (text != m_text) {
        m_text = text;
        MarkStale();
    }
}

void TPosRect::Clear()
{
    TMetaRect::Clear();
    m_text.clear();
}

void TPosRect::UpdateFontHeight()
{
    SetBaseHeight(m_sender && !m_inBlock ? FontHeightTable.postalSender : FontHeightTable.postalRecipient);
    TMetaRect::UpdateFontHeight();
}

void TPosRect::RenderContent(TCanvas& canvas, int w, int h)
{
    const QString text = ShiftJisForm(m_text);
    if (text.isEmpty())
        return;
    PrepareFont(canvas, false);
    const bool stringMode = text.startsWith(u'〒') || (text.size() > 3 && text[3] == u'-');
    if (!stringMode) {
        renderBoxes(canvas, text, w, h);
        return;
    }
    if (!FitFontHeight(canvas, w, canvas.TextWidth(text), false))
        return;
    if (!FitFontHeight(canvas, h, canvas.TextHeight(), false))
        return;
    PlaceText(canvas, (w - canvas.TextWidth(text)) / 2, (h - canvas.TextHeight()) / 2, text);
}

void TPosRect::renderBoxes(TCanvas& canvas, const QString& text, int w, int h)
{
    const double dpi = canvas.DpiX();
    const auto& pitches = m_sender ? FontHeightTable.postalPitchSender : FontHeightTable.postalPitchRecipient;
    const double boxWidth = FontHeightTable.postalBoxWidth[m_sender ? 1 : 0];
    std::array<int, 7> pitch;
    int total = 0;
    for (size_t i = 0; i < pitch.size(); ++i) {
        pitch[i] = int(RoundHalfAway(pitches[i] / 254.0 * dpi));
        total += pitch[i];
    }
    const double scale = double(w) / total;
    const QStringList chars = SplitCharacters(text);
    QList<int> advances;
    for (qsizetype i = 0; i < chars.size(); ++i)
        advances << (i < 7 ? int(RoundHalfAway(pitch[size_t(i)] * scale)) : 0);

    // The digit fills its box less 1.8 mm.
    const double digitWidth = RoundHalfAway((boxWidth - 18) / 254.0 * dpi * scale);
    if (!FitFontHeight(canvas, digitWidth, canvas.Advance(chars[0]), true))
        return;
    if (!FitFontHeight(canvas, h, canvas.TextHeight(), false))
        return;
    const int first = canvas.Advance(chars[0]);
    const int x = (w - int(RoundHalfAway(total * scale))) / 2 +
                  (int(RoundHalfAway(boxWidth / 254.0 * dpi * scale)) - first) / 2;
    const int y = (h - canvas.TextHeight()) / 2;
    PlaceTextWithAdvances(canvas, x, y, text, advances);
}

// ---- address ----

TAddressRect::TAddressRect()
{
    TAddressRect::UpdateFontHeight();
}

QString TAddressRect::GetLine(int index) const
{
    return index >= 0 && index < 3 ? m_lines[size_t(index)] : QString();
}

void TAddressRect::SetLine(int index, const QString& text)
{
    if (index < 0 || index >= 3 || m_lines[size_t(index)] == text)
        return;
    m_lines[size_t(index)] = text;
    MarkStale();
}

void TAddressRect::SetVerticalDigits(bool verticalDigits)
{
    if (verticalDigits != m_verticalDigits) {
        m_verticalDigits = verticalDigits;
        MarkStale();
    }
}

void TAddressRect::Clear()
{
    TMetaRect::Clear();
    m_lines = {};
}

void TAddressRect::UpdateFontHeight()
{
    const auto& row =
        m_sender && !m_inBlock ? FontHeightTable.addressSender : FontHeightTable.addressRecipient;
    SetBaseHeight(LevelHeight(row, m_level));
    TMetaRect::UpdateFontHeight();
}

void TAddressRect::Assign(const TDrawRect& source)
{
    TMetaRect::Assign(source);
    if (const auto* address = dynamic_cast<const TAddressRect*>(&source))
        m_level = address->m_level;
}

void TAddressRect::ReadFields(TFrameReader& stream)
{
    TMetaRect::ReadFields(stream);
    m_level = LoadedFileVersion >= 500 ? stream.ReadInt32() : DefaultSizeLevel;
    // An address frame is always fitted to its rectangle.
    SetFixedFontSize(0);
}

void TAddressRect::SaveToStream(TFrameWriter& stream) const
{
    TMetaRect::SaveToStream(stream);
    stream.WriteInt32(m_level);
}

void TAddressRect::RenderContent(TCanvas& canvas, int w, int h)
{
    const QPoint margins = addressMargins(canvas);
    if (w - 2 * margins.x() <= 0 || h - 2 * margins.y() <= 0)
        return;
    QStringList lines;
    for (const QString& line : m_lines) {
        if (!line.isEmpty())
            lines << ShiftJisForm(line);
    }
    if (Horizontal())
        renderHorizontal(canvas, margins, w - 2 * margins.x(), h - 2 * margins.y(), lines);
    else
        renderVertical(canvas, margins, h - 2 * margins.y(), w - 2 * margins.x(), lines);
}

// W and H: the area inside the margins.
void TAddressRect::renderHorizontal(TCanvas& canvas, QPoint margins, int W, int H, const QStringList& lines)
{
    const int mx = margins.x();
    const int my = margins.y();
    std::vector<QString> l(lines.begin(), lines.end());
    auto width = [&](const QString& text) { return canvas.TextWidth(text); };
    auto chooseJoin = [&] { joinThree(l, width(l[0]), width(l[1]), width(l[2])); };
    struct Placed
    {
        int x;
        int y;
        QString text;
    };
    std::vector<Placed> placed;
    for (;;) {
        PrepareFont(canvas, false);
        const size_t c = l.size();
        if (c == 0)
            return;
        const int TH = canvas.TextHeight();
        if (c == 1) {
            if (!FitFontHeight(canvas, H, TH + TH / 10, false) ||
                !FitFontHeight(canvas, W, width(l[0]), false))
                return;
            placed.push_back({mx, (H - canvas.TextHeight()) / 2 + my, l[0]});
            break;
        }
        if (c == 2) {
            if (characterCount(l[0]) < 5 || !FitFontHeight(canvas, H, 2 * (TH + TH / 10), false)) {
                joinFirst(l);
                continue;
            }
            const QString& longer = width(l[1]) > width(l[0]) ? l[1] : l[0];
            if (!FitFontHeight(canvas, W, width(longer + One), false))
                return;
            if (width(l[0] + l[1]) - width(One) < W) {
                joinFirst(l);
                continue;
            }
            const int th = canvas.TextHeight();
            placed.push_back({mx, H / 2 + my - th / 10 - th, l[0]});
            placed.push_back({mx + W - width(l[1]), H / 2 + my, l[1]});
            break;
        }
        // Three lines.
        if (characterCount(l[0]) <= 4) {
            joinFirst(l);
            continue;
        }
        if (!FitFontHeight(canvas, H, 3 * (TH + TH / 10), false)) {
            chooseJoin();
            continue;
        }
        const int k = widestIndex(width(l[0]), width(l[1]), width(l[2]));
        if (!FitFontHeight(canvas, W, width(l[size_t(k)] + One + One), false))
            return;
        if (width(l[0] + l[1]) - width(One) < W) {
            chooseJoin();
            continue;
        }
        if (width(l[1] + l[2] + One) >= W) {
            const int th = canvas.TextHeight();
            const int gap = th / 10;
            const int y1 = (H - th) / 2 + my;
            placed.push_back({mx, y1 - gap - th, l[0]});
            placed.push_back({mx + W - width(l[1] + One), y1, l[1]});
            placed.push_back({mx + W - width(l[2]), y1 + gap + th, l[2]});
            break;
        }
        joinLast(l);
    }
    for (const Placed& p : placed)
        PlaceText(canvas, p.x, p.y, p.text);
}

namespace {

bool isFullWidthDigit(QChar c)
{
    return c >= QChar(0xFF10) && c <= QChar(0xFF19);
}

BlockList splitLine(const QString& line, bool verticalDigits)
{
    if (verticalDigits)
        return {{false, line}};
    BlockList blocks;
    qsizetype i = 0;
    while (i < line.size()) {
        const bool digits = isFullWidthDigit(line[i]);
        qsizetype j = i;
        while (j < line.size() && isFullWidthDigit(line[j]) == digits)
            ++j;
        const QString run = line.mid(i, j - i);
        if (digits && run.size() <= 4)
            blocks.push_back({true, ToHalfWidthW(run)});
        else if (!blocks.empty() && !blocks.back().across)
            blocks.back().text += run;
        else
            blocks.push_back({false, run});
        i = j;
    }
    return blocks;
}

int shiftJisBytes(const BlockList& list)
{
    int bytes = 0;
    for (const Block& b : list)
        bytes += int(ToAnsi(b.text).size());
    return bytes;
}

} // namespace

// L: the column length inside the margins; Wd: the width the columns share.
void TAddressRect::renderVertical(TCanvas& canvas, QPoint margins, int L, int Wd, const QStringList& lines)
{
    const int mx = margins.x();
    const int my = margins.y();
    std::vector<BlockList> lists;
    for (const QString& line : lines)
        lists.push_back(splitLine(line, m_verticalDigits));
    if (lists.size() >= 2 && shiftJisBytes(lists[0]) < 5)
        joinFirst(lists);
    const TFontSpec verticalForm = FontForm(true);
    const TFontSpec horizontalForm = FontForm(false);

    // Measures with the current height: a block across the column is one cell long.
    auto blockLength = [&](const Block& b) {
        return b.across ? canvas.TextHeight() : canvas.TextWidth(b.text);
    };
    auto blockWidth = [&](const Block& b) {
        if (!b.across)
            return canvas.TextHeight();
        canvas.SetFontKeepHeight(horizontalForm);
        const int width = canvas.TextWidth(b.text);
        canvas.SetFontKeepHeight(verticalForm);
        return width;
    };
    auto length = [&](const BlockList& list) {
        int sum = 0;
        for (const Block& b : list)
            sum += blockLength(b);
        return sum;
    };
    auto width = [&](const BlockList& list) {
        int widest = 0;
        for (const Block& b : list)
            widest = qMax(widest, blockWidth(b));
        return widest;
    };
    auto chooseJoin = [&] { joinThree(lists, length(lists[0]), length(lists[1]), length(lists[2])); };

    struct Column
    {
        int refX;
        int y;
        const BlockList* blocks;
    };
    std::vector<Column> columns;
    for (;;) {
        PrepareFont(canvas, true);
        const size_t c = lists.size();
        if (c == 0)
            return;
        const int TH = canvas.TextHeight();
        const int TW = canvas.TextWidth(One);
        if (c == 1) {
            if (!FitFontHeight(canvas, Wd, width(lists[0]) + TH / 10, false) ||
                !FitFontHeight(canvas, L, length(lists[0]), false))
                return;
            columns.push_back({mx + (Wd - width(lists[0])) / 2 + canvas.TextHeight(), my, &lists[0]});
            break;
        }
        if (c == 2) {
            if (!FitFontHeight(canvas, Wd, width(lists[0]) + width(lists[1]) + 2 * (TH / 10), false)) {
                joinFirst(lists);
                continue;
            }
            if (!FitFontHeight(canvas, L, qMax(length(lists[0]), length(lists[1])) + TW, false))
                return;
            const int th = canvas.TextHeight();
            const int tw = canvas.TextWidth(One);
            const int gap = th / 10;
            const int len0 = length(lists[0]);
            const int len1 = length(lists[1]);
            if (len0 + len1 - tw < L) {
                joinFirst(lists);
                continue;
            }
            const int w0 = width(lists[0]);
            const int w1 = width(lists[1]);
            const int rest = Wd - (w0 + w1 + gap);
            const int x1 = mx + rest / 2;
            const int x0 = x1 + w1 + gap;
            columns.push_back({x0 + (w0 + th) / 2, my, &lists[0]});
            columns.push_back({x1 + (w1 + th) / 2, my + L - len1, &lists[1]});
            break;
        }
        // Three columns.
        if (!FitFontHeight(canvas, Wd, width(lists[0]) + width(lists[1]) + width(lists[2]) + 3 * (TH / 10),
                           false)) {
            chooseJoin();
            continue;
        }
        const int k = widestIndex(length(lists[0]), length(lists[1]), length(lists[2]));
        if (!FitFontHeight(canvas, L, length(lists[size_t(k)]) + 2 * TW, false))
            return;
        const int th = canvas.TextHeight();
        const int tw = canvas.TextWidth(One);
        const int gap = th / 10;
        const int len0 = length(lists[0]);
        const int len1 = length(lists[1]);
        const int len2 = length(lists[2]);
        if (len0 + len1 - tw < L) {
            chooseJoin();
            continue;
        }
        if (len1 + len2 + tw < L) {
            joinLast(lists);
            continue;
        }
        const int w0 = width(lists[0]);
        const int w1 = width(lists[1]);
        const int w2 = width(lists[2]);
        const int rest = Wd - (w0 + w1 + w2 + 2 * gap);
        const int x2 = mx + rest / 2;
        const int x1 = x2 + w2 + gap;
        const int x0 = x1 + w1 + gap;
        const int y0 = my;
        int y1 = my + L - len1 - tw;
        y1 = y1 < my + tw ? my + tw : qMin(y1, y0 + len0 - 2 * tw);
        int y2 = my + L - len2;
        y2 = y2 < my + tw ? my + tw : qMin(y2, y1 + len1 - tw);
        columns.push_back({x0 + (w0 + th) / 2, y0, &lists[0]});
        columns.push_back({x1 + (w1 + th) / 2, y1, &lists[1]});
        columns.push_back({x2 + (w2 + th) / 2, y2, &lists[2]});
        break;
    }

    canvas.SetFontKeepHeight(horizontalForm);
    const int acrossTW = canvas.TextWidth(One);
    for (const Column& column : columns) {
        int y = column.y;
        for (const Block& b : *column.blocks) {
            if (b.across) {
                canvas.SetFontKeepHeight(horizontalForm);
                PlaceText(canvas, column.refX - canvas.TextWidth(b.text) / 2 - acrossTW / 2, y, b.text);
                y += canvas.TextHeight();
            } else {
                canvas.SetFontKeepHeight(verticalForm);
                PlaceText(canvas, column.refX, y, b.text);
                y += canvas.TextWidth(b.text);
            }
        }
    }
}
