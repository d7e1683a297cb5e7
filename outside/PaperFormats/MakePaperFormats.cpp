// Builds Common/Lyt.fmt and the paper pictures of Common/Format/ from the paper definitions, checking every
// record: variant order, pieces inside their sheet, frames inside the piece, and barcodes of a size that fits.
#include "core/AppSub.h"
#include "layoutobjects/PaperFormat.h"
#include "FormatTool.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>

#include <optional>

using FormatTool::Fail;
using FormatTool::Failure;

namespace {

// Barcode size index: bar height and length in design units, length in 0.1 mm.
struct BarcodeSize
{
    int height;
    int length;
    int tenths;
};
constexpr BarcodeSize BarcodeSizes[] = {{11, 258, 682}, {12, 281, 744}, {13, 304, 806}, {15, 351, 930}};

// Largest size index whose length is shorter than the available length; -1 when none.
int LargestFit(int available)
{
    int best = -1;
    for (int i = 0; i < 4 && BarcodeSizes[i].tenths < available; ++i)
        best = i;
    return best;
}

// Postal-code boxes: left edges from the first box, box size, all 0.1 mm.
constexpr int BoxLefts[] = {0, 70, 140, 216, 284, 352, 420};
constexpr int BoxWidth = 57;
constexpr int BoxHeight = 80;
constexpr int BoxTop = 120;
constexpr int BoxRight = 80;

struct Picture
{
    int width = 0; // upright, 0.1 mm
    int height = 0;
    bool turned = false;
    std::optional<TPresetRect> stamp; // upright, 0.1 mm
};

int ToInt(const QString& text, int line)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        Fail(line, QStringLiteral("not a number: \"%1\"").arg(text));
    return value;
}

QList<int> Numbers(const QString& text, int count, int line)
{
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != count)
        Fail(line, QStringLiteral("expected %1 numbers: \"%2\"").arg(count).arg(text));
    QList<int> out;
    for (const QString& p : parts)
        out.append(ToInt(p, line));
    return out;
}

AnsiString Ansi(const QString& text, int limit, int line)
{
    bool ok = true;
    const AnsiString bytes = Cp932::fromUnicode(text, &ok);
    if (!ok || bytes.size() > limit)
        Fail(line, QStringLiteral("\"%1\" does not fit %2 bytes").arg(text).arg(limit));
    return bytes;
}

TPresetRect Design(const TPresetRect& r)
{
    return {TenthMmToDesign(r.Left), TenthMmToDesign(r.Top), TenthMmToDesign(r.Right),
            TenthMmToDesign(r.Bottom)};
}

// Upright paper of width w turned a quarter to the left.
TPresetRect TurnLeft(const TPresetRect& r, int w)
{
    return {r.Top, w - r.Right, r.Bottom, w - r.Left};
}

struct ParsedRect
{
    TPresetRect rect; // design units
    int barcodeSize = -1;
    bool vertical = false;
};

ParsedRect ParseRect(const QString& text, int line)
{
    const QString t = text.trimmed();
    if (t.startsWith(QStringLiteral("bar "))) {
        const QStringList parts = t.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() != 5 || (parts[2] != QStringLiteral("H") && parts[2] != QStringLiteral("V")))
            Fail(line, QStringLiteral("bad barcode \"%1\"").arg(t));
        const int size = ToInt(parts[1], line);
        if (size < 0 || size > 3)
            Fail(line, QStringLiteral("barcode size %1").arg(size));
        const bool vertical = parts[2] == QStringLiteral("V");
        const int left = TenthMmToDesign(ToInt(parts[3], line));
        const int top = TenthMmToDesign(ToInt(parts[4], line));
        const BarcodeSize& b = BarcodeSizes[size];
        const int w = vertical ? b.height : b.length;
        const int h = vertical ? b.length : b.height;
        return {{left, top, left + w, top + h}, size, vertical};
    }
    const QList<int> n = Numbers(t, 4, line);
    return {Design({n[0], n[1], n[2], n[3]})};
}

template <size_t N>
int ParseSet(const QString& text, std::array<TPresetRect, N>& rects, std::vector<ParsedRect>& parsed, int line)
{
    const QStringList items = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (items.size() > int(N))
        Fail(line, QStringLiteral("more than %1 rectangles").arg(N));
    parsed.clear();
    for (int i = 0; i < items.size(); ++i) {
        parsed.push_back(ParseRect(items[i], line));
        rects[i] = parsed.back().rect;
    }
    return int(items.size());
}

bool Inside(const TPresetRect& r, const TPresetRect& area)
{
    return r.Left >= area.Left && r.Top >= area.Top && r.Right <= area.Right && r.Bottom <= area.Bottom &&
           r.Width() > 0 && r.Height() > 0;
}

bool Overlap(const TPresetRect& a, const TPresetRect& b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

int VariantCount(int kind)
{
    return kind == PaperPostcard || kind == PaperLabel ? 2 : 3;
}

void CheckBarcode(const TPaperFormat& f, const std::vector<ParsedRect>& set, int index,
                  const std::optional<TPresetRect>& stamp, int line)
{
    if (f.Kind == PaperCard) {
        for (const ParsedRect& r : set)
            if (r.barcodeSize >= 0)
                Fail(line, QStringLiteral("a card has no barcode"));
        return;
    }
    if (index < 0 || index >= int(set.size()) || set[index].barcodeSize < 0)
        Fail(line, QStringLiteral("no barcode at rectangle %1").arg(index));
    for (int i = 0; i < int(set.size()); ++i)
        if (i != index && set[i].barcodeSize >= 0)
            Fail(line, QStringLiteral("a second barcode at rectangle %1").arg(i));
    const ParsedRect& b = set[index];
    const bool wantVertical = f.Direction == 0 ? f.Kind != PaperLabel : f.Kind == PaperLabel;
    if (b.vertical != wantVertical)
        Fail(line, QStringLiteral("the barcode runs the wrong way"));
    const int available = f.Kind == PaperLabel       ? std::max(f.Width, f.Height)
                          : f.Direction != 0 ? f.Width
                                             : f.Height;
    const int fit = LargestFit(available);
    const TPresetRect piece{0, 0, TenthMmToDesign(f.Width), TenthMmToDesign(f.Height)};
    if (fit < 0) {
        // Nothing fits this paper; the dialogs leave the rectangle out.
        if (b.barcodeSize != 0)
            Fail(line, QStringLiteral("no barcode fits; give size 0"));
        return;
    }
    if (b.barcodeSize > fit)
        Fail(line, QStringLiteral("barcode size %1 is larger than %2 that fits").arg(b.barcodeSize).arg(fit));
    const int margin = f.Kind == PaperLabel ? 0 : TenthMmToDesign(100);
    const TPresetRect area{margin, margin, piece.Right - margin, piece.Bottom - margin};
    if (!Inside(b.rect, area))
        Fail(line, QStringLiteral("the barcode is not %1 mm inside the piece").arg(margin ? 10 : 0));
    if (stamp && Overlap(b.rect, *stamp))
        Fail(line, QStringLiteral("the barcode lies on the stamp box"));
}

std::optional<TPresetRect> StampOf(const Picture& p)
{
    if (!p.stamp)
        return std::nullopt;
    return Design(p.turned ? TurnLeft(*p.stamp, p.width) : *p.stamp);
}

QImage DrawPicture(const Picture& p)
{
    QImage image(TenthMmToDesign(p.width), TenthMmToDesign(p.height), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        const QColor red(230, 40, 30);
        painter.setPen(QPen(red, 1));
        const int first = p.width - BoxRight - BoxLefts[6] - BoxWidth;
        for (int left : BoxLefts) {
            const TPresetRect r = Design({first + left, BoxTop, first + left + BoxWidth, BoxTop + BoxHeight});
            painter.drawRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
        }
        // The dash between the third and fourth box.
        const int y = TenthMmToDesign(BoxTop + BoxHeight / 2);
        painter.drawLine(TenthMmToDesign(first + BoxLefts[2] + BoxWidth + 5), y,
                         TenthMmToDesign(first + BoxLefts[3] - 5), y);
        if (p.stamp) {
            const TPresetRect s = Design(*p.stamp);
            painter.setPen(QPen(red, 1, Qt::DashLine));
            painter.drawRect(s.Left, s.Top, s.Width() - 1, s.Height() - 1);
        }
    }
    if (p.turned)
        image = image.transformed(QTransform().rotate(-90));
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

void Build(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure{QStringLiteral("cannot read %1").arg(source)};
    QMap<QString, Picture> pictures;
    TStandardFormats out;
    std::vector<QPair<QString, int>> groups; // (category + name, first line) of each variant group
    int line = 0;
    int groupStart = -1;
    for (const QByteArray& raw : in.readAll().split('\n')) {
        ++line;
        const QString text = QString::fromUtf8(raw).trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = text.split(QLatin1Char(';'));
        if (f[0] == QStringLiteral("P") && f.size() == 6) {
            Picture p{ToInt(f[2], line), ToInt(f[3], line), ToInt(f[4], line) != 0, std::nullopt};
            if (!f[5].trimmed().isEmpty()) {
                const QList<int> n = Numbers(f[5], 4, line);
                p.stamp = TPresetRect{n[0], n[1], n[2], n[3]};
            }
            Ansi(f[1], 15, line);
            pictures.insert(f[1], p);
            continue;
        }
        if (f[0] != QStringLiteral("F") || f.size() != 11)
            Fail(line, QStringLiteral("not a picture or format row"));
        TPaperFormat r;
        r.Kind = uint8_t(ToInt(f[1], line));
        if (r.Kind > PaperCard)
            Fail(line, QStringLiteral("kind %1").arg(r.Kind));
        r.Category = Ansi(f[2], 20, line);
        r.Name = Ansi(f[3], PaperNameLimit, line);
        r.Direction = ToInt(f[4], line);
        r.Width = ToInt(f[5], line);
        r.Height = ToInt(f[6], line);
        r.Picture = Ansi(f[7], 15, line);
        std::vector<ParsedRect> set1;
        std::vector<ParsedRect> set2;
        r.Count1 = ParseSet(f[8], r.Rects1, set1, line);
        r.Count2 = ParseSet(f[9], r.Rects2, set2, line);

        std::optional<TPresetRect> stamp;
        if (!r.Picture.isEmpty()) {
            if (!pictures.contains(f[7]))
                Fail(line, QStringLiteral("picture %1 is not defined above").arg(f[7]));
            const Picture& p = pictures[f[7]];
            const bool lying = p.turned;
            if ((lying ? p.height : p.width) != r.Width || (lying ? p.width : p.height) != r.Height)
                Fail(line, QStringLiteral("picture %1 has another size").arg(f[7]));
            stamp = StampOf(p);
        }
        const TPresetRect piece{0, 0, TenthMmToDesign(r.Width), TenthMmToDesign(r.Height)};
        for (const auto* set : {&set1, &set2})
            for (const ParsedRect& pr : *set)
                if (!Inside(pr.rect, piece) && !(pr.barcodeSize == 0 && LargestFit(std::max(r.Width, r.Height)) < 0))
                    Fail(line, QStringLiteral("a rectangle lies outside the piece"));
        CheckBarcode(r, set1, BarcodeRectIndex(r, 1), stamp, line);
        CheckBarcode(r, set2, BarcodeRectIndex(r, 2), stamp, line);

        if (!f[10].trimmed().isEmpty()) {
            const QList<int> n = Numbers(f[10], 8, line);
            const TMultiUpSheet sheet{n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7]};
            const TShownSheet shown = ShownSheetOf(r, sheet);
            const auto span = [](int count, int piece, int gap) { return count * piece + (count - 1) * gap; };
            if (shown.Columns < 1 || shown.Rows < 1 || shown.Left < 0 || shown.Top < 0 ||
                shown.Left + span(shown.Columns, r.Width, shown.HorzGap) > shown.Width ||
                shown.Top + span(shown.Rows, r.Height, shown.VertGap) > shown.Height)
                Fail(line, QStringLiteral("the pieces do not lie inside the sheet"));
            const auto found = std::find(out.Sheets.begin(), out.Sheets.end(), sheet);
            if (found == out.Sheets.end())
                out.Sheets.push_back(sheet);
            r.SheetIndex = int32_t(std::find(out.Sheets.begin(), out.Sheets.end(), sheet) - out.Sheets.begin()) + 1;
        }

        // Variant order: consecutive records of one category and name, directions 0, 1 (, 2).
        const bool sameGroup = !out.Formats.empty() && out.Formats.back().Kind == r.Kind &&
                               out.Formats.back().Category == r.Category && out.Formats.back().Name == r.Name;
        if (!sameGroup) {
            if (!out.Formats.empty() && out.Formats.back().Direction != VariantCount(out.Formats.back().Kind) - 1)
                Fail(groupStart, QStringLiteral("the paper's variants are incomplete"));
            if (r.Direction != 0)
                Fail(line, QStringLiteral("a paper starts with direction %1").arg(r.Direction));
            if (!out.Formats.empty() && out.Formats.back().Kind > r.Kind)
                Fail(line, QStringLiteral("kinds out of order"));
            const QString key = QString::number(r.Kind) + QString::fromLatin1(r.Category.toHex()) +
                                QLatin1Char('/') + QString::fromLatin1(r.Name.toHex());
            for (const auto& g : groups)
                if (g.first == key)
                    Fail(line, QStringLiteral("the paper is listed twice"));
            const bool categoryContinues = !out.Formats.empty() && out.Formats.back().Kind == r.Kind &&
                                           out.Formats.back().Category == r.Category;
            if (!categoryContinues)
                for (const TPaperFormat& earlier : out.Formats)
                    if (earlier.Kind == r.Kind && earlier.Category == r.Category)
                        Fail(line, QStringLiteral("the category's records are not consecutive"));
            groups.push_back({key, line});
            groupStart = line;
        } else if (r.Direction != out.Formats.back().Direction + 1) {
            Fail(line, QStringLiteral("direction %1 out of order").arg(r.Direction));
        }
        out.Formats.push_back(r);
    }
    if (out.Formats.empty() || out.Formats.front().Kind != PaperPostcard)
        throw Failure{QStringLiteral("the first record must be a postcard")};
    if (out.Formats.back().Direction != VariantCount(out.Formats.back().Kind) - 1)
        Fail(groupStart, QStringLiteral("the paper's variants are incomplete"));

    const QString formatDir = target + QStringLiteral("/Format/");
    if (!QDir().mkpath(formatDir))
        throw Failure{QStringLiteral("cannot create %1").arg(formatDir)};
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
        if (!DrawPicture(it.value()).save(formatDir + it.key(), "BMP"))
            throw Failure{QStringLiteral("cannot write %1").arg(it.key())};
    FormatTool::WriteFile(target + QLatin1Char('/') + LayoutFormatFileName, EncodeLayoutFile(out));
}

} // namespace

int main(int argc, char** argv)
{
    return FormatTool::Run(argc, argv, "make_paper_formats", "Lyt.txt", Build);
}
