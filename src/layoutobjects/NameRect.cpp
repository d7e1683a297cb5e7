// Name frame: the person and company layouts on the rendering canvas, its setters and its record.
#include "layoutobjects/NameRect.h"

#include "core/AppSub.h"

#include <QFontMetricsF>

namespace {

const QString One = QStringLiteral("一");
const QChar WideSpace(0x3000);

int rnd(double value)
{
    return int(RoundHalfAway(value));
}

int characterCount(const QString& text)
{
    return int(SplitCharacters(text).size());
}

// Surname (before the first half-width space, empty without one) and given name.
std::pair<QString, QString> splitName(const QString& name)
{
    const qsizetype space = name.indexOf(u' ');
    if (space < 0)
        return {QString(), name};
    return {name.left(space), name.mid(space + 1)};
}

// Runs fn with the canvas at another font height and restores the height.
template <class Fn> auto atHeight(TCanvas& canvas, int height, Fn fn)
{
    const int before = canvas.FontHeight();
    canvas.SetFontHeight(height);
    auto result = fn();
    canvas.SetFontHeight(before);
    return result;
}

// Advances that put every half-width space's end at column and step every other character by pitch.
QList<int> spacedAdvances(const QStringList& chars, int column, int pitch)
{
    QList<int> advances;
    int sum = 0;
    for (const QString& ch : chars) {
        const int advance = ch == u" " ? column - sum : pitch;
        advances << advance;
        sum += advance;
    }
    return advances;
}

} // namespace

std::optional<std::pair<QString, QString>> BreakAtFullWidthSpace(const QString& text)
{
    const QStringList chars = SplitCharacters(text);
    const int middle = int(chars.size()) / 2;
    int best = -1;
    for (int i = 0; i < int(chars.size()); ++i) {
        if (chars[i] != QString(WideSpace))
            continue;
        // On equal distance the space before the middle wins: it is met first.
        if (best < 0 || std::abs(i - middle) < std::abs(best - middle))
            best = i;
    }
    if (best < 0)
        return std::nullopt;
    const QString first = chars.mid(0, best).join(QString());
    const QString second = chars.mid(best + 1).join(QString());
    if (characterCount(first) < 3 || characterCount(second) < 3)
        return std::nullopt;
    return std::make_pair(first, second);
}

TLineArea::TLineArea(const TCanvas& canvas, int w, int h, bool vertical)
    : vertical(vertical), mx(rnd(4 * canvas.DpiX() / 96.0)), my(rnd(4 * canvas.DpiY() / 96.0))
{
    s = vertical ? h - 2 * my : w - 2 * mx;
    l = vertical ? w - 2 * mx : h - 2 * my;
}

QPoint TLineArea::At(int along, int across) const
{
    return vertical ? QPoint(across, my + along) : QPoint(mx + along, across);
}

void SetCanvasWidthFactor(TCanvas& canvas, double factor)
{
    TFontSpec font = canvas.Font();
    font.width = 0;
    if (factor != 1.0 && factor > 0) {
        canvas.SetFontKeepHeight(font);
        font.width = qMax(1, rnd(factor * QFontMetricsF(canvas.QtFont()).averageCharWidth()));
    }
    canvas.SetFontKeepHeight(font);
}

TNameRect::TNameRect()
{
    TNameRect::UpdateFontHeight();
}

QString TNameRect::storedName(const QString& text, bool ignore) const
{
    if (ignore || ShiftJisForm(text).contains(u' '))
        return text;
    return NormalizeNameSpacing(text);
}

void TNameRect::SetNameKind(quint8 kind)
{
    if (kind != m_nameKind) {
        m_nameKind = kind;
        MarkStale();
    }
}

void TNameRect::SetName(const QString& text)
{
    m_name = storedName(text, m_ignoreName);
    MarkStale();
}

void TNameRect::SetHonorific(const QString& text)
{
    if (text == m_honorific)
        return;
    m_honorific = text;
    if (m_honorificPrinted)
        MarkStale();
}

void TNameRect::SetNote(const QString& text)
{
    if (text != m_note) {
        m_note = text;
        MarkStale();
    }
}

void TNameRect::SetJointCount(int count)
{
    const size_t size = size_t(qMax(0, count));
    if (size != m_joints.size()) {
        m_joints.resize(size);
        MarkStale();
    }
}

QString TNameRect::GetJointName(int index) const
{
    return index >= 0 && index < GetJointCount() ? m_joints[size_t(index)].name : QString();
}

void TNameRect::SetJointName(int index, const QString& text)
{
    if (index < 0 || index >= GetJointCount())
        return;
    m_joints[size_t(index)].name = storedName(text, false);
    MarkStale();
}

QString TNameRect::GetJointHonorific(int index) const
{
    return index >= 0 && index < GetJointCount() ? m_joints[size_t(index)].honorific : QString();
}

void TNameRect::SetJointHonorific(int index, const QString& text)
{
    if (index < 0 || index >= GetJointCount() || m_joints[size_t(index)].honorific == text)
        return;
    m_joints[size_t(index)].honorific = text;
    MarkStale();
}

void TNameRect::SetJointNote(int index, const QString& text)
{
    if (index < 0 || index >= GetJointCount() || m_joints[size_t(index)].note == text)
        return;
    m_joints[size_t(index)].note = text;
    MarkStale();
}

void TNameRect::SetNameAlign(quint8 align)
{
    if (align != m_nameAlign) {
        m_nameAlign = align;
        MarkStale();
    }
}

void TNameRect::SetIgnoreName(bool ignore)
{
    if (ignore != m_ignoreName) {
        m_ignoreName = ignore;
        MarkStale();
    }
}

void TNameRect::SetCompany(const QString& text)
{
    if (text != m_company) {
        m_company = text;
        MarkStale();
    }
}

QString TNameRect::GetCorpLine(int index) const
{
    return index >= 0 && index < 3 ? m_corpLines[size_t(index)] : QString();
}

void TNameRect::SetCorpLine(int index, const QString& text)
{
    if (index < 0 || index >= 3 || m_corpLines[size_t(index)] == text)
        return;
    m_corpLines[size_t(index)] = text;
    MarkStale();
}

void TNameRect::SetCompanyRatio(double ratio)
{
    if (ratio != m_companyRatio) {
        m_companyRatio = ratio;
        MarkStale();
    }
}

void TNameRect::SetDepartmentRatio(double ratio)
{
    if (ratio != m_departmentRatio) {
        m_departmentRatio = ratio;
        MarkStale();
    }
}

void TNameRect::SetTitleRatio(double ratio)
{
    if (ratio != m_titleRatio) {
        m_titleRatio = ratio;
        MarkStale();
    }
}

void TNameRect::SetWidenSpacing(bool widen)
{
    if (widen != m_widenSpacing) {
        m_widenSpacing = widen;
        MarkStale();
    }
}

void TNameRect::SetCorpBreak(bool corpBreak)
{
    if (corpBreak != m_corpBreak) {
        m_corpBreak = corpBreak;
        MarkStale();
    }
}

void TNameRect::SetHonorificPrinted(bool printed)
{
    if (printed != m_honorificPrinted) {
        m_honorificPrinted = printed;
        MarkStale();
    }
}

void TNameRect::Clear()
{
    TMetaRect::Clear();
    m_name.clear();
    m_honorific.clear();
    m_note.clear();
    m_joints.clear();
    m_company.clear();
    m_corpLines = {};
    m_ignoreName = false;
}

void TNameRect::UpdateFontHeight()
{
    const auto& row = m_sender && !m_inBlock ? FontHeightTable.nameSender : FontHeightTable.nameRecipient;
    SetBaseHeight(LevelHeight(row, m_level));
    TMetaRect::UpdateFontHeight();
}

void TNameRect::Assign(const TDrawRect& source)
{
    TMetaRect::Assign(source);
    if (const auto* name = dynamic_cast<const TNameRect*>(&source)) {
        m_honorificPrinted = name->m_honorificPrinted;
        m_level = name->m_level;
    }
}

void TNameRect::ReadFields(TFrameReader& stream)
{
    TMetaRect::ReadFields(stream);
    m_honorificPrinted = LoadedFileVersion >= 200 ? stream.ReadByte() != 0 : true;
    m_level = LoadedFileVersion >= 500 ? stream.ReadInt32() : DefaultSizeLevel;
    // A name is always fitted to its frame.
    SetFixedFontSize(0);
}

void TNameRect::SaveToStream(TFrameWriter& stream) const
{
    TMetaRect::SaveToStream(stream);
    stream.WriteByte(m_honorificPrinted ? 1 : 0);
    stream.WriteInt32(m_level);
}

void TNameRect::RenderContent(TCanvas& canvas, int w, int h)
{
    const TLineArea area(canvas, w, h, !Horizontal());
    if (area.IsEmpty())
        return;
    if (m_nameKind == NameKindCompany)
        renderCompany(canvas, area);
    else
        renderPerson(canvas, area);
}

void TNameRect::renderPerson(TCanvas& canvas, const TLineArea& area)
{
    struct Line
    {
        QString text;
        QString honorific;
        QString note;
    };
    std::vector<Line> lines{{ShiftJisForm(m_name), ShiftJisForm(m_honorific), ShiftJisForm(m_note)}};
    if (lines[0].text.isEmpty())
        return;
    const bool joint = m_nameKind == NameKindPerson;
    if (joint) {
        for (const TJointName& j : m_joints)
            lines.push_back({ShiftJisForm(j.name), ShiftJisForm(j.honorific), ShiftJisForm(j.note)});
    }
    const int n = int(lines.size()) - 1;
    const int s = area.s;

    PrepareFont(canvas, area.vertical);
    int TH = canvas.TextHeight();
    if (!FitFontHeight(canvas, area.l, TH * (n + 1) + (TH / 8) * n, false))
        return;

    int ls = 0;
    int lg = 0;
    for (const Line& line : lines) {
        const auto [surname, given] = splitName(line.text);
        ls = qMax(ls, characterCount(surname));
        lg = qMax(lg, characterCount(given));
    }
    QString honorific = m_honorificPrinted ? lines[0].honorific : QString();
    QString note = lines[0].note;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (m_honorificPrinted && canvas.TextWidth(lines[i].honorific) > canvas.TextWidth(honorific))
            honorific = lines[i].honorific;
        if (canvas.TextWidth(lines[i].note) > canvas.TextWidth(note))
            note = lines[i].note;
    }
    auto honorificWidth = [&](const QString& text) {
        return characterCount(text) > 2 ? rnd(canvas.TextWidth(text) * 3 / 4.0) : canvas.TextWidth(text);
    };
    auto required = [&] {
        const int tw = canvas.TextWidth(One);
        int e = tw * (ls + lg) + (ls + lg - 1) * rnd(tw / 6.0) + (ls > 0 ? canvas.TextWidth(" ") : 0);
        if (!honorific.isEmpty())
            e += rnd(tw / 3.0) + honorificWidth(honorific);
        if (!note.isEmpty())
            e += rnd(canvas.TextWidth(note) * 2 / 3.0) + rnd(tw / 6.0);
        return e;
    };
    const int E = required();
    if (E > s && !FitFontHeight(canvas, s, E, false))
        return;

    TH = canvas.TextHeight();
    const int TW = canvas.TextWidth(One);
    int d = rnd(TW / 6.0);
    const int F = required();
    if (m_widenSpacing) {
        if (honorific.isEmpty())
            d += ls + lg < 2 ? s - F : (s - F) / (ls + lg - 1);
        else if (ls + lg > 1)
            d += (s - F) / (ls + lg);
    }
    const int g0 = ls > 0 ? (TW + d) * ls + canvas.TextWidth(" ") : 0;
    const int no = rnd(TW / 6.0) + TW * lg + g0 + (lg - 1) * d;
    // The honorifics follow the notes (whose room the required length holds) rather than cover them.
    const int notePart = joint && !note.isEmpty() ? rnd(canvas.TextWidth(note) * 2 / 3.0) + rnd(TW / 6.0) : 0;
    const int ho = (TW + d) * lg + g0 + rnd(TW / 3.0) - rnd(TW / 6.0) + notePart;
    const int I = TW * lg + (lg - 1) * d;

    // Across positions: a block centred in l, the name first.
    const int count = int(lines.size());
    const int m = TH / 8;
    const int pitch = TH + m;
    const int dir = area.vertical ? -1 : 1;
    int middle;
    int middlePos;
    if (count % 2 == 1) {
        middle = count / 2;
        middlePos = area.vertical ? (area.l - TH) / 2 + area.mx + TH : (area.l - TH) / 2 + area.my;
    } else {
        middle = count / 2 - 1;
        middlePos = area.vertical ? (area.l + m) / 2 + area.mx + TH : (area.l - m) / 2 + area.my - TH;
    }
    auto across = [&](int i) { return middlePos + dir * (i - middle) * pitch; };

    for (int i = 0; i < count; ++i) {
        const Line& line = lines[size_t(i)];
        const QStringList chars = SplitCharacters(line.text);
        const int b = characterCount(splitName(line.text).second);
        const int space = int(chars.indexOf(QStringLiteral(" ")));
        int k = 0;
        int e = d;
        if (b != lg) {
            switch (m_nameAlign) {
            case 2:
                k = I - TW * b - (b - 1) * d;
                break;
            case 3:
                k = (I - TW * b - (b - 1) * d) / 2;
                break;
            case 0:
                if (b == 1)
                    k = (I - TW) / 2;
                else
                    e = (I - TW * b) / (b - 1);
                break;
            default:
                break;
            }
        }
        QList<int> advances;
        int sum = 0;
        for (int c = 0; c < int(chars.size()); ++c) {
            int advance;
            if (chars[c] == u" ")
                advance = g0 + k - sum;
            else if (c < space || b == lg || m_nameAlign != 0)
                advance = TW + d;
            else
                advance = TW + e;
            advances << advance;
            sum += advance;
        }
        const QPoint start = area.At(0, across(i));
        PlaceTextWithAdvances(canvas, start.x(), start.y(), line.text, advances);

        const QString lineHonorific = i == 0 || joint ? line.honorific : QString();
        if (m_honorificPrinted && !lineHonorific.isEmpty()) {
            const bool narrow = characterCount(lineHonorific) > 2;
            if (narrow)
                SetCanvasWidthFactor(canvas, 0.75);
            const QPoint at = area.At(ho, across(i));
            PlaceText(canvas, at.x(), at.y(), lineHonorific);
            if (narrow)
                SetCanvasWidthFactor(canvas, 1.0);
        }
    }

    const int noteHeight = int(qint64(canvas.FontHeight()) * 2 / 3);
    if (!joint || note.isEmpty() || noteHeight == 0)
        return;
    canvas.SetFontHeight(noteHeight);
    const int o = (TH - canvas.TextHeight()) / 2;
    for (int i = 0; i < count; ++i) {
        const QString& lineNote = lines[size_t(i)].note;
        if (lineNote.isEmpty())
            continue;
        const QPoint at = area.At(no, across(i) + dir * o);
        PlaceText(canvas, at.x(), at.y(), lineNote);
    }
}

void TNameRect::renderCompany(TCanvas& canvas, const TLineArea& area)
{
    const int s = area.s;
    const int l = area.l;
    const QString name = ShiftJisForm(m_name);
    struct Item
    {
        QString first;
        QString second; // the part after a break
        bool title = false;
    };
    std::array<Item, 4> items = {Item{ShiftJisForm(m_company)}, Item{ShiftJisForm(m_corpLines[0])},
                                 Item{ShiftJisForm(m_corpLines[1])},
                                 Item{ShiftJisForm(m_corpLines[2]), {}, true}};
    bool allEmpty = name.isEmpty();
    int a = 0;
    for (const Item& item : items) {
        if (!item.first.isEmpty()) {
            allEmpty = false;
            ++a;
        }
    }
    if (allEmpty)
        return;
    const std::array<double, 4> ratios = {m_companyRatio, m_departmentRatio, m_departmentRatio, m_titleRatio};
    const bool shortTitle = !items[3].first.isEmpty() && characterCount(items[3].first) <= 6;

    PrepareFont(canvas, area.vertical);
    if (!FitFontHeight(canvas, l, canvas.TextHeight(), false))
        return;
    int r = canvas.FontHeight();
    auto itemHeight = [](int base, double ratio) { return int(base * ratio); };
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].first.isEmpty() && itemHeight(r, ratios[i]) == 0)
            a = 0;
    }
    if (a == 0) {
        for (Item& item : items)
            item.first.clear();
    }
    const bool hasShortTitle = shortTitle && a > 0;
    // The block's items: the non-empty ones, without a short title.
    auto inBlock = [&](size_t i) { return !items[i].first.isEmpty() && !(i == 3 && shortTitle); };
    auto widthAt = [&](int height, const QString& text) {
        return atHeight(canvas, height, [&] { return canvas.TextWidth(text); });
    };
    auto oneAt = [&](int height) { return widthAt(height, One); };
    auto heightAt = [&](int height) { return atHeight(canvas, height, [&] { return canvas.TextHeight(); }); };

    const auto [surname, given] = splitName(name);
    const int ls = characterCount(surname);
    const int lg = characterCount(given);
    const QString honorific = m_honorificPrinted ? ShiftJisForm(m_honorific) : QString();
    auto honorificPart = [&] {
        return honorific.isEmpty() ? 0 : rnd(canvas.TextWidth(One) / 3.0) + canvas.TextWidth(honorific);
    };
    auto required = [&] {
        const int tw = canvas.TextWidth(One);
        const int sp = m_ignoreName ? 0 : rnd(tw / 6.0);
        int g = tw * (ls + lg) + sp * (ls + lg - 1) + (ls > 0 ? canvas.TextWidth(" ") : 0) + honorificPart();
        if (a > 0)
            g += tw / 2;
        if (hasShortTitle)
            g += widthAt(itemHeight(canvas.FontHeight(), ratios[3]), items[3].first);
        return g;
    };
    const bool plainLine = m_ignoreName && name.contains(WideSpace);
    QString nameFirst = name;
    QString nameSecond;
    if (!plainLine) {
        const int G = required();
        if (G > s && !FitFontHeight(canvas, s, G, false))
            return;
    }
    r = canvas.FontHeight();

    if (m_corpBreak) {
        const int tw = canvas.TextWidth(One);
        if (plainLine && s < canvas.TextWidth(name) + (a > 0 ? tw / 2 : 0) + honorificPart() - 2 * tw) {
            if (const auto parts = BreakAtFullWidthSpace(name)) {
                nameFirst = parts->first;
                nameSecond = parts->second;
            }
        }
        int v = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            if (!inBlock(i))
                continue;
            Item& item = items[i];
            const int hi = itemHeight(r, ratios[i]);
            const int wi = widthAt(hi, item.first);
            const int twi = oneAt(hi);
            const bool longer = item.title ? s < wi - twi : s < wi + v - twi;
            if (longer) {
                if (const auto parts = BreakAtFullWidthSpace(item.first)) {
                    item.first = parts->first;
                    item.second = parts->second;
                }
            }
            if (!item.title)
                v += tw / 4;
        }
    }

    auto blockHeight = [&](int rr, const std::array<double, 4>& rs) {
        const int th = heightAt(rr);
        int hb = th + (nameSecond.isEmpty() ? 0 : th);
        bool first = true;
        for (size_t i = 0; i < items.size(); ++i) {
            if (!inBlock(i))
                continue;
            const int thi = heightAt(itemHeight(rr, rs[i]));
            hb += thi + (first ? th / 4 : th / 16);
            first = false;
            if (!items[i].second.isEmpty())
                hb += thi;
        }
        return hb;
    };
    auto join = [](QString& first, QString& second) {
        first += WideSpace + second;
        second.clear();
    };

    for (;;) {
        canvas.SetFontHeight(r);
        int tw = canvas.TextWidth(One);
        if (!nameSecond.isEmpty()) {
            const int need = qMax(canvas.TextWidth(nameFirst), canvas.TextWidth(nameSecond)) + tw +
                             honorificPart() + (a > 0 ? tw / 2 : 0);
            if (!FitFontHeight(canvas, s, need, false))
                return;
        } else if (plainLine) {
            // An unbroken plain line shrinks like any name rather than running out of the frame.
            const int G = required();
            if (G > s && !FitFontHeight(canvas, s, G, false))
                return;
        }
        const int hb = blockHeight(canvas.FontHeight(), ratios);
        if (hb > l && !FitFontHeight(canvas, l, hb, false))
            return;
        const int rPrime = canvas.FontHeight();
        tw = canvas.TextWidth(One);

        // Rejoin the broken line that would be narrowest joined, if it then fits.
        int best = -2; // -1 the name line, 0-3 an item
        int bestWidth = 0;
        if (!nameSecond.isEmpty()) {
            const int joined =
                canvas.TextWidth(nameFirst) + canvas.TextWidth(nameSecond) - tw + honorificPart();
            if (joined < s) {
                best = -1;
                bestWidth = joined;
            }
        }
        int indent = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            const Item& item = items[i];
            if (!inBlock(i) || item.second.isEmpty())
                continue;
            const int hi = itemHeight(rPrime, ratios[i]);
            const int joined =
                widthAt(hi, item.first) + widthAt(hi, item.second) - oneAt(hi) + (item.title ? 0 : indent);
            if (!item.title)
                indent += tw / 4;
            if (joined < s && (best == -2 || joined < bestWidth)) {
                best = int(i);
                bestWidth = joined;
            }
        }
        if (best == -1) {
            join(nameFirst, nameSecond);
            continue;
        }
        if (best >= 0) {
            join(items[size_t(best)].first, items[size_t(best)].second);
            continue;
        }
        r = rPrime;
        break;
    }

    canvas.SetFontHeight(r);
    const int TH = canvas.TextHeight();
    const int TW = canvas.TextWidth(One);
    // Ratios shrunk so that every item fits the line.
    std::array<double, 4> adjusted = ratios;
    {
        int indent = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            if (!inBlock(i))
                continue;
            // Widths at the name's height, so that their ratio to s is the item's size ratio.
            const Item& item = items[i];
            int width;
            if (item.second.isEmpty()) {
                width = canvas.TextWidth(item.first);
            } else {
                const QString& longer =
                    canvas.TextWidth(item.second) > canvas.TextWidth(item.first) ? item.second : item.first;
                width = canvas.TextWidth(longer + One);
            }
            if (!item.title)
                width += indent;
            const double fit = double(s) / (width + TW);
            if (fit < adjusted[i]) {
                adjusted[i] = fit;
                if (i == 0) {
                    adjusted[1] = qMin(adjusted[1], fit);
                    adjusted[2] = qMin(adjusted[2], fit);
                } else if (i == 1) {
                    adjusted[2] = qMin(adjusted[2], fit);
                } else if (i == 2) {
                    adjusted[1] = qMin(adjusted[1], fit);
                }
            }
            if (!item.title)
                indent += TW / 4;
        }
    }

    const int hb = blockHeight(r, adjusted);
    const int dir = area.vertical ? -1 : 1;
    const int blockStart = area.vertical ? area.mx + l - (l - hb) / 2 : (l - hb) / 2 + area.my;
    int c = blockStart;
    const int gap16 = TW / 16;
    const int step = TW / 4;
    int v = 0;
    auto place = [&](int along, int acrossPos, const QString& text) {
        const QPoint at = area.At(along, acrossPos);
        PlaceText(canvas, at.x(), at.y(), text);
    };
    for (size_t i = 0; i < items.size(); ++i) {
        if (!inBlock(i))
            continue;
        const Item& item = items[i];
        const int hi = itemHeight(r, adjusted[i]);
        canvas.SetFontHeight(hi);
        const int thi = canvas.TextHeight();
        if (item.title && a > 1)
            c += dir * (step - gap16);
        place(item.title ? 0 : v, c, item.first);
        c += dir * (thi + gap16);
        if (!item.second.isEmpty()) {
            place(s - canvas.TextWidth(item.second) - canvas.TextWidth(One), c, item.second);
            c += dir * thi;
        }
        v += step;
    }
    canvas.SetFontHeight(r);

    const int nameAcross = blockStart + dir * (hb - TH);
    int nameStart = a > 0 ? TW / 2 : 0;
    if (hasShortTitle) {
        canvas.SetFontHeight(itemHeight(r, ratios[3]));
        const int titleAcross = nameAcross + dir * (rnd(TH / 2.0) - rnd(canvas.TextHeight() / 2.0));
        place(0, titleAcross, items[3].first);
        nameStart = canvas.TextWidth(items[3].first) + TW / 2;
        canvas.SetFontHeight(r);
    }
    if (!nameSecond.isEmpty()) {
        place(nameStart, nameAcross - dir * TH, nameFirst);
        place(s - canvas.TextWidth(nameSecond) - honorificPart(), nameAcross, nameSecond);
        if (!honorific.isEmpty())
            place(s - canvas.TextWidth(honorific), nameAcross, honorific);
        return;
    }
    if (nameFirst.isEmpty())
        return;
    int f = m_ignoreName ? 0 : rnd(TW / 6.0);
    const int G = required();
    if (m_widenSpacing) {
        if (honorific.isEmpty())
            f += ls + lg < 2 ? s - G : (s - G) / (ls + lg - 1);
        else if (ls + lg > 1)
            f += (s - G) / (ls + lg);
    }
    const int g0 = ls > 0 ? canvas.TextWidth(" ") + (f + TW) * ls : 0;
    const QPoint at = area.At(nameStart, nameAcross);
    PlaceTextWithAdvances(canvas, at.x(), at.y(), nameFirst,
                          spacedAdvances(SplitCharacters(nameFirst), g0, f + TW));
    if (!honorific.isEmpty())
        place(nameStart + rnd(TW / 3.0) + g0 + (f + TW) * lg - (m_ignoreName ? 0 : rnd(TW / 6.0)), nameAcross,
              honorific);
}
