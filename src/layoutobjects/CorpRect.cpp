// Company-line and additional-item frames: their one- and two-line layouts and their records.
#include "layoutobjects/CorpRect.h"

#include "core/AppSub.h"

namespace {

const QString One = QStringLiteral("一");

int rnd(double value)
{
    return int(RoundHalfAway(value));
}

} // namespace

// ---- company line ----

TCorpRect::TCorpRect()
{
    TCorpRect::UpdateFontHeight();
}

void TCorpRect::SetText(const QString& text)
{
    if (text != m_text) {
        m_text = text;
        MarkStale();
    }
}

void TCorpRect::SetHonorific(const QString& text)
{
    if (text != m_honorific) {
        m_honorific = text;
        MarkStale();
    }
}

void TCorpRect::SetCorpBreak(bool corpBreak)
{
    if (corpBreak != m_corpBreak) {
        m_corpBreak = corpBreak;
        MarkStale();
    }
}

void TCorpRect::Clear()
{
    TMetaRect::Clear();
    m_text.clear();
    m_honorific.clear();
}

void TCorpRect::UpdateFontHeight()
{
    const auto& row = m_sender && !m_inBlock ? FontHeightTable.nameSender : FontHeightTable.nameRecipient;
    SetBaseHeight(LevelHeight(row, m_level));
    TMetaRect::UpdateFontHeight();
}

void TCorpRect::Assign(const TDrawRect& source)
{
    TMetaRect::Assign(source);
    if (const auto* corp = dynamic_cast<const TCorpRect*>(&source))
        m_level = corp->m_level;
}

void TCorpRect::ReadFields(TFrameReader& stream)
{
    TMetaRect::ReadFields(stream);
    m_level = LoadedFileVersion >= 500 ? stream.ReadInt32() : DefaultSizeLevel;
    SetFixedFontSize(0);
}

void TCorpRect::SaveToStream(TFrameWriter& stream) const
{
    TMetaRect::SaveToStream(stream);
    stream.WriteInt32(m_level);
}

void TCorpRect::RenderContent(TCanvas& canvas, int w, int h)
{
    const QString text = ShiftJisForm(m_text);
    const TLineArea area(canvas, w, h, !Horizontal());
    if (text.isEmpty() || area.IsEmpty())
        return;
    const int s = area.s;
    const int l = area.l;
    const QString honorific = ShiftJisForm(m_honorific);
    PrepareFont(canvas, area.vertical);
    const int prepared = canvas.FontHeight();
    auto honorificPart = [&] {
        return honorific.isEmpty() ? 0 : rnd(canvas.TextWidth(One) / 3.0) + canvas.TextWidth(honorific);
    };

    QString first = text;
    QString second;
    if (m_corpBreak && s < canvas.TextWidth(text) + honorificPart() - 2 * canvas.TextWidth(One)) {
        if (const auto parts = BreakAtFullWidthSpace(text)) {
            first = parts->first;
            second = parts->second;
            if (FitFontHeight(canvas, l, 2 * canvas.TextHeight(), false)) {
                if (canvas.TextWidth(first) + canvas.TextWidth(second) - canvas.TextWidth(One) +
                        honorificPart() <
                    s) {
                    first = text;
                    second.clear();
                    canvas.SetFontHeight(prepared);
                }
            } else {
                first = text;
                second.clear();
            }
        }
    }
    if (!FitFontHeight(canvas, l, canvas.TextHeight(), false))
        return;
    const bool two = !second.isEmpty();
    const int b = (two ? qMax(canvas.TextWidth(first), canvas.TextWidth(second)) + canvas.TextWidth(One)
                       : canvas.TextWidth(first)) +
                  honorificPart();
    if (b > s && !FitFontHeight(canvas, s, b, false))
        return;

    const int TH = canvas.TextHeight();
    int across;
    if (area.vertical)
        across = two ? TH + l / 2 + area.mx : area.mx + l - (l - TH) / 2;
    else
        across = two ? l / 2 + area.my - TH : (l - TH) / 2 + area.my;
    auto place = [&](int along, int acrossPos, const QString& part) {
        const QPoint at = area.At(along, acrossPos);
        PlaceText(canvas, at.x(), at.y(), part);
    };
    place(0, across, first);
    if (two) {
        const int next = across + (area.vertical ? -TH : TH);
        place(s - canvas.TextWidth(second) - honorificPart(), next, second);
        if (!honorific.isEmpty())
            place(s - canvas.TextWidth(honorific), next, honorific);
    } else if (!honorific.isEmpty()) {
        place(canvas.TextWidth(first) + rnd(canvas.TextWidth(One) / 3.0), across, honorific);
    }
}

// ---- additional item ----

TAdditionRect::TAdditionRect()
{
    TAdditionRect::UpdateFontHeight();
}

void TAdditionRect::SetText(const QString& text)
{
    if (text != m_text) {
        m_text = text;
        MarkStale();
    }
}

void TAdditionRect::SetHeading(const QString& text)
{
    if (text != m_heading) {
        m_heading = text;
        MarkStale();
    }
}

void TAdditionRect::Clear()
{
    TMetaRect::Clear();
    // A fixed text is the user's own, not a merged one.
    if (m_itemKind != AdditionFixedText) {
        m_text.clear();
        m_heading.clear();
    }
}

void TAdditionRect::UpdateFontHeight()
{
    SetBaseHeight(LevelHeight(FontHeightTable.addition, m_level));
    TMetaRect::UpdateFontHeight();
}

void TAdditionRect::Assign(const TDrawRect& source)
{
    TMetaRect::Assign(source);
    if (const auto* addition = dynamic_cast<const TAdditionRect*>(&source)) {
        m_itemKind = addition->m_itemKind;
        if (m_itemKind == AdditionFixedText)
            m_text = addition->m_text;
        m_level = addition->m_level;
    }
}

void TAdditionRect::ReadKind(TFrameReader& stream)
{
    m_itemKind = stream.ReadByte();
    if (m_itemKind == AdditionFixedText)
        m_text = ToWide(ReadInvertedString(stream));
}

void TAdditionRect::WriteKind(TFrameWriter& stream) const
{
    stream.WriteByte(m_itemKind);
    if (m_itemKind == AdditionFixedText)
        WriteInvertedString(ToAnsi(m_text), stream);
}

void TAdditionRect::ReadFields(TFrameReader& stream)
{
    TMetaRect::ReadFields(stream);
    if (LoadedFileVersion <= 200)
        SetVisible(stream.ReadByte() != 0);
    if (LoadedFileVersion >= 103) {
        ReadKind(stream);
        // The old item numbering had no address-book items between 3 and 10 nor between 16 and 18.
        if (LoadedFileVersion <= 200 && m_itemKind > 2) {
            m_itemKind = quint8(m_itemKind + 8);
            if (m_itemKind > 15)
                m_itemKind = quint8(m_itemKind + 3);
        }
    } else {
        m_itemKind = AdditionSenderContact1;
    }
    m_level = LoadedFileVersion >= 500 ? stream.ReadInt32() : DefaultSizeLevel;
    SetFixedFontSize(0);
}

void TAdditionRect::SaveToStream(TFrameWriter& stream) const
{
    TMetaRect::SaveToStream(stream);
    WriteKind(stream);
    stream.WriteInt32(m_level);
}

void TAdditionRect::RenderContent(TCanvas& canvas, int w, int h)
{
    const QString text = ShiftJisForm(m_text);
    const TLineArea area(canvas, w, h, !Horizontal());
    if (text.isEmpty() || area.IsEmpty())
        return;
    PrepareFont(canvas, area.vertical);
    if (!FitFontHeight(canvas, area.l, canvas.TextHeight(), false))
        return;
    const QString heading = ShiftJisForm(m_heading);
    const QString printed = heading.isEmpty() ? text : heading + QStringLiteral("  ") + text;
    if (!FitFontHeight(canvas, area.s, canvas.TextWidth(printed), false))
        return;
    const int TH = canvas.TextHeight();
    const QPoint at = area.vertical ? area.At(0, (area.l - TH) / 2 + area.mx + TH)
                                    : area.At(0, (area.l - TH) / 2 + area.my);
    PlaceText(canvas, at.x(), at.y(), printed);
}
