// Sender block: members, their placement in the unit space, whole-block and item modes, and the record.
#include "layoutobjects/SenderRect.h"

#include "core/AppSub.h"
#include "platform/Printers.h"

#include <QPainter>

#include <algorithm>

namespace {

int rnd(double value)
{
    return int(RoundHalfAway(value));
}

TRect unite(const TRect& a, const TRect& b)
{
    return {qMin(a.left, b.left), qMin(a.top, b.top), qMax(a.right, b.right), qMax(a.bottom, b.bottom)};
}

bool isAddition(int member)
{
    return member == SimpleAddition1 || member == SimpleAddition2 || member >= DetailedContact1;
}

} // namespace

const std::array<std::array<TRect, 2>, SenderMemberCount> SenderItemDefaultRects = {{
    {{{107, 0, 205, 20}, {0, 0, 86, 20}}},
    {{{136, 23, 200, 193}, {14, 23, 200, 79}}},
    {{{56, 43, 131, 205}, {43, 80, 205, 149}}},
    {{{24, 61, 52, 205}, {47, 153, 205, 181}}},
    {{{0, 61, 28, 205}, {47, 177, 205, 205}}},
    {{{107, 0, 205, 20}, {0, 0, 70, 15}}},
    {{{181, 23, 205, 200}, {15, 15, 192, 37}}},
    {{{164, 47, 186, 200}, {39, 33, 192, 55}}},
    {{{147, 47, 169, 200}, {39, 48, 192, 70}}},
    {{{126, 30, 150, 192}, {25, 65, 187, 87}}},
    {{{110, 41, 131, 195}, {36, 83, 190, 105}}},
    {{{94, 41, 115, 195}, {36, 98, 190, 120}}},
    {{{69, 25, 91, 50}, {13, 120, 38, 142}}},
    {{{63, 54, 97, 205}, {42, 115, 192, 147}}},
    {{{42, 61, 62, 205}, {48, 147, 192, 166}}},
    {{{28, 61, 48, 205}, {48, 160, 192, 179}}},
    {{{14, 61, 34, 205}, {48, 174, 192, 193}}},
    {{{0, 61, 20, 205}, {48, 186, 192, 205}}},
}};

TSenderRect::TSenderRect()
{
    makeMembers();
    for (int i = 0; i < SenderMemberCount; ++i)
        m_itemRects[size_t(i)] = SenderItemDefaultRects[size_t(i)][0];
    rebuildShown();
    m_frame.SetCallbacks([this] { m_laidOut = false; }, {});
}

TSenderRect::TSenderRect(const TSenderRect& other) : TFrameClass(other)
{
    copyFrom(other);
    m_frame.SetCallbacks([this] { m_laidOut = false; }, {});
}

TSenderRect& TSenderRect::operator=(const TSenderRect& other)
{
    if (this != &other) {
        TFrameClass::operator=(other);
        copyFrom(other);
    }
    return *this;
}

void TSenderRect::copyFrom(const TSenderRect& other)
{
    m_senderTitle = other.m_senderTitle;
    m_wholeBlock = other.m_wholeBlock;
    m_itemRects = other.m_itemRects;
    m_laidOut = other.m_laidOut;
    for (size_t i = 0; i < m_members.size(); ++i)
        m_members[i].reset(static_cast<TMetaRect*>(other.m_members[i]->Clone().release()));
    m_shown = other.m_shown;
    m_selected = other.m_selected;
    m_frame = other.m_frame;
    m_simpleLayout = other.m_simpleLayout;
}

void TSenderRect::makeMembers()
{
    auto postal = [] {
        auto f = std::make_unique<TPosRect>();
        f->SetSender(true);
        f->SetInBlock(true);
        f->UpdateFontHeight();
        return f;
    };
    auto address = [] {
        auto f = std::make_unique<TAddressRect>();
        f->SetSender(true);
        f->SetInBlock(true);
        f->UpdateFontHeight();
        return f;
    };
    auto name = [] {
        auto f = std::make_unique<TNameRect>();
        f->SetSender(true);
        f->SetInBlock(true);
        f->UpdateFontHeight();
        return f;
    };
    auto corp = [] {
        auto f = std::make_unique<TCorpRect>();
        f->SetSender(true);
        f->SetInBlock(true);
        f->UpdateFontHeight();
        return f;
    };
    auto addition = [](quint8 kind) {
        auto f = std::make_unique<TAdditionRect>();
        f->SetItemKind(kind);
        return f;
    };
    m_members[SimplePostal] = postal();
    m_members[SimpleAddress] = address();
    m_members[SimpleName] = name();
    m_members[SimpleAddition1] = addition(AdditionFixedText);
    m_members[SimpleAddition2] = addition(AdditionFixedText);
    m_members[DetailedPostal] = postal();
    for (int i = DetailedAddress1; i <= DetailedAddress3; ++i)
        m_members[size_t(i)] = address();
    m_members[DetailedName] = name();
    for (int i = DetailedCompany; i <= DetailedTitle; ++i)
        m_members[size_t(i)] = corp();
    for (int i = 0; i < 4; ++i)
        m_members[size_t(DetailedContact1 + i)] = addition(quint8(AdditionSenderContact1 + i));
}

// ---- members ----

TMetaRect* TSenderRect::Member(int member) const
{
    return member >= 0 && member < SenderMemberCount ? m_members[size_t(member)].get() : nullptr;
}

TPosRect* TSenderRect::GetPostal(bool simple) const
{
    return static_cast<TPosRect*>(Member(simple ? SimplePostal : DetailedPostal));
}

TNameRect* TSenderRect::GetName(bool simple) const
{
    return static_cast<TNameRect*>(Member(simple ? SimpleName : DetailedName));
}

TAddressRect* TSenderRect::GetSimpleAddress() const
{
    return static_cast<TAddressRect*>(Member(SimpleAddress));
}

TAdditionRect* TSenderRect::GetSimpleAddition(int index) const
{
    return index >= 0 && index < 2 ? static_cast<TAdditionRect*>(Member(SimpleAddition1 + index)) : nullptr;
}

TAddressRect* TSenderRect::GetAddressLine(int index) const
{
    return index >= 0 && index < 3 ? static_cast<TAddressRect*>(Member(DetailedAddress1 + index)) : nullptr;
}

TCorpRect* TSenderRect::GetCompany() const
{
    return static_cast<TCorpRect*>(Member(DetailedCompany));
}

TCorpRect* TSenderRect::GetCorpLine(int index) const
{
    return index >= 0 && index < 2 ? static_cast<TCorpRect*>(Member(DetailedDepartment + index)) : nullptr;
}

TCorpRect* TSenderRect::GetTitle() const
{
    return static_cast<TCorpRect*>(Member(DetailedTitle));
}

TAdditionRect* TSenderRect::GetContact(int index) const
{
    return index >= 0 && index < 4 ? static_cast<TAdditionRect*>(Member(DetailedContact1 + index)) : nullptr;
}

bool TSenderRect::GetAddressLineVisible(int index) const
{
    return index >= 0 && index < 3 && memberVisible(DetailedAddress1 + index);
}

void TSenderRect::SetAddressLineVisible(int index, bool visible)
{
    if (index >= 0 && index < 3)
        setMemberVisible(DetailedAddress1 + index, visible);
}

bool TSenderRect::GetCorpLineVisible(int index) const
{
    return index >= 0 && index < 2 && memberVisible(DetailedDepartment + index);
}

void TSenderRect::SetCorpLineVisible(int index, bool visible)
{
    if (index >= 0 && index < 2)
        setMemberVisible(DetailedDepartment + index, visible);
}

void TSenderRect::SetSimpleAdditionVisible(int index, bool visible)
{
    if (index >= 0 && index < 2)
        setMemberVisible(SimpleAddition1 + index, visible);
}

bool TSenderRect::GetContactVisible(int index) const
{
    return index >= 0 && index < 4 && memberVisible(DetailedContact1 + index);
}

void TSenderRect::SetContactVisible(int index, bool visible)
{
    if (index >= 0 && index < 4)
        setMemberVisible(DetailedContact1 + index, visible);
}

void TSenderRect::setMemberVisible(int member, bool visible)
{
    TMetaRect* frame = Member(member);
    if (frame->Visible() == visible)
        return;
    frame->SetVisible(visible);
    auto at = std::find(m_shown.begin(), m_shown.end(), member);
    if (visible) {
        // The member's own set, whichever set is shown.
        resetMember(member);
        if (at == m_shown.end() && inCurrentSet(member))
            m_shown.push_back(member);
    } else {
        if (at != m_shown.end())
            m_shown.erase(at);
        if (m_selected == member)
            m_selected = -1;
    }
    m_laidOut = false;
}

bool TSenderRect::laidOutMember(int member) const
{
    // The simple set's postal code, address and name always show.
    if (member < SimpleAddition1)
        return true;
    return memberVisible(member);
}

void TSenderRect::rebuildShown()
{
    m_shown.clear();
    for (int i = setStart(); i < setEnd(); ++i) {
        if (laidOutMember(i))
            m_shown.push_back(i);
    }
}

// ---- whole-block settings ----

void TSenderRect::SetWholeBlock(bool whole)
{
    m_wholeBlock = whole;
    if (whole)
        m_selected = -1;
}

void TSenderRect::SetSimpleLayout(bool simple)
{
    if (simple == m_simpleLayout)
        return;
    m_simpleLayout = simple;
    m_selected = -1;
    rebuildShown();
    m_laidOut = false;
}

void TSenderRect::ClearItems()
{
    for (auto& member : m_members)
        member->Clear();
}

void TSenderRect::UpdateFontHeights()
{
    for (auto& member : m_members)
        member->UpdateFontHeight();
}

TFontSpec TSenderRect::GetFont() const
{
    return Member(SimplePostal)->Font();
}

void TSenderRect::SetFont(const TFontSpec& font, quint32 color)
{
    for (auto& member : m_members)
        member->SetFont(font, color);
}

bool TSenderRect::GetHorizontal() const
{
    return Member(SimpleAddress)->Horizontal();
}

void TSenderRect::SetHorizontal(bool horizontal)
{
    for (auto& member : m_members)
        member->SetHorizontal(horizontal);
}

bool TSenderRect::GetUpsideDown() const
{
    return Member(SimplePostal)->UpsideDown();
}

void TSenderRect::SetUpsideDown(bool upsideDown)
{
    if (upsideDown == GetUpsideDown())
        return;
    for (auto& member : m_members)
        member->SetUpsideDown(upsideDown);
    for (TRect& r : m_itemRects)
        r = {SenderUnits - r.right, SenderUnits - r.bottom, SenderUnits - r.left, SenderUnits - r.top};
    m_laidOut = false;
}

void TSenderRect::SetPageSize(int paperLongSide)
{
    for (auto& member : m_members)
        member->SetPageSize(paperLongSide);
}

void TSenderRect::resetMember(int member)
{
    m_itemRects[size_t(member)] = SenderItemDefaultRects[size_t(member)][GetHorizontal() ? 1 : 0];
}

void TSenderRect::ResetItemRect(int index)
{
    if (index == -1) {
        for (int i = 0; i < SenderMemberCount; ++i)
            resetMember(i);
    } else if (index >= 0 && index < setEnd() - setStart()) {
        resetMember(setStart() + index);
    }
    m_laidOut = false;
}

// ---- geometry ----

TRect TSenderRect::contentRect() const
{
    const TRect block = TDrawRect::GetDesignRect();
    return m_frame.FrameVisible() ? m_frame.GetInnerRect(block, 1) : block;
}

void TSenderRect::layOut(bool force)
{
    if (!m_laidOut) {
        const TRect c = contentRect();
        const double fx = (c.Width() - 20) / double(SenderUnits);
        const double fy = (c.Height() - 20) / double(SenderUnits);
        for (int i = setStart(); i < setEnd(); ++i) {
            if (!laidOutMember(i))
                continue;
            const TRect& r = m_itemRects[size_t(i)];
            const int left = c.left + 10 + rnd(r.left * fx);
            const int top = c.top + 10 + rnd(r.top * fy);
            Member(i)->SetDesignRect(
                {left, top, left + rnd((r.right - r.left) * fx), top + rnd((r.bottom - r.top) * fy)});
        }
        m_laidOut = true;
    }
    for (int member : m_shown)
        Member(member)->UpdateImage(force);
}

void TSenderRect::fitToMembers()
{
    if (m_shown.empty())
        return;
    TRect u = Member(m_shown.front())->GetDesignRect();
    for (int member : m_shown)
        u = unite(u, Member(member)->GetDesignRect());
    // Members of no extent give no scale: the item rectangles stay as they are.
    if (u.Width() > 0 && u.Height() > 0) {
        const double sx = double(SenderUnits) / u.Width();
        const double sy = double(SenderUnits) / u.Height();
        for (int i = setStart(); i < setEnd(); ++i) {
            const TRect d = Member(i)->GetDesignRect();
            m_itemRects[size_t(i)] = {rnd((d.left - u.left) * sx), rnd((d.top - u.top) * sy),
                                      rnd((d.right - u.left) * sx), rnd((d.bottom - u.top) * sy)};
        }
    }
    const TRect grown{u.left - 10, u.top - 10, u.right + 10, u.bottom + 10};
    TDrawRect::SetDesignRect(m_frame.FrameVisible() ? m_frame.GetOuterRect(grown) : grown);
    m_laidOut = false;
}

TRect TSenderRect::GetDesignRect() const
{
    if (!m_wholeBlock && selected())
        return selected()->GetDesignRect();
    return TDrawRect::GetDesignRect();
}

void TSenderRect::SetDesignRect(const TRect& rect)
{
    if (m_wholeBlock) {
        TDrawRect::SetDesignRect(rect);
        m_laidOut = false;
    } else if (TMetaRect* member = selected()) {
        member->SetDesignRect(rect);
        fitToMembers();
    }
}

TRect TSenderRect::GetScreenRect() const
{
    if (!m_wholeBlock && selected())
        return selected()->GetScreenRect();
    return TDrawRect::GetScreenRect();
}

void TSenderRect::SetScreenRect(const TRect& rect)
{
    if (m_wholeBlock) {
        TDrawRect::SetScreenRect(rect);
        m_laidOut = false;
    } else if (TMetaRect* member = selected()) {
        member->SetScreenRect(rect);
        fitToMembers();
    }
}

void TSenderRect::SetZoom(double zoom)
{
    TDrawRect::SetZoom(zoom);
    for (auto& member : m_members)
        member->SetZoom(zoom);
}

void TSenderRect::SetClipSide(quint8 side)
{
    TDrawRect::SetClipSide(side);
    for (auto& member : m_members)
        member->SetClipSide(side);
}

void TSenderRect::SetClipPos(qint32 pos)
{
    TDrawRect::SetClipPos(pos);
    for (auto& member : m_members)
        member->SetClipPos(pos);
}

void TSenderRect::UpdateImage(bool force)
{
    if (!contentRect().IsEmpty())
        layOut(force);
}

void TSenderRect::Draw(QPainter& painter, int dx, int dy)
{
    if (TDrawRect::GetDesignRect().IsEmpty())
        return;
    m_frame.Draw(painter, TDrawRect::GetScreenRect().Moved(dx, dy), Zoom());
    if (contentRect().IsEmpty())
        return;
    layOut(false);
    for (int member : m_shown)
        Member(member)->Draw(painter, dx, dy);
}

void TSenderRect::CalcPrintRect(QPoint offset, bool keepPhysicalOffset)
{
    TDrawRect::CalcPrintRect(offset, keepPhysicalOffset);
    // The members' printer rects follow their places in the block.
    if (!m_laidOut && !contentRect().IsEmpty())
        layOut(false);
    for (int member : m_shown)
        Member(member)->CalcPrintRect(offset, keepPhysicalOffset);
}

void TSenderRect::Print(QPainter& painter, int dx, int dy)
{
    const TRect printer = GetPrinterRect();
    if (printer.IsEmpty())
        return;
    const TRect inner = m_frame.Draw(painter, printer.Moved(dx, dy), CurrentPrinterDpi().y() / 96.0);
    if (inner.IsEmpty())
        return;
    for (int member : m_shown)
        Member(member)->Print(painter, dx, dy);
}

bool TSenderRect::ContainsPoint(int x, int y) const
{
    if (m_wholeBlock)
        return TDrawRect::ContainsPoint(x, y);
    m_selected = -1;
    for (auto it = m_shown.begin(); it != m_shown.end(); ++it) {
        if (Member(*it)->ContainsPoint(x, y)) {
            m_selected = *it;
            m_shown.erase(it);
            m_shown.insert(m_shown.begin(), m_selected);
            return true;
        }
    }
    return false;
}

qint16 TSenderRect::GetCursorAt(int x, int y) const
{
    if (m_wholeBlock)
        return TDrawRect::GetCursorAt(x, y);
    return selected() ? selected()->GetCursorAt(x, y) : CursorDefault;
}

quint16 TSenderRect::GetHandleZone(int x, int y) const
{
    if (m_wholeBlock)
        return TDrawRect::GetHandleZone(x, y);
    return selected() ? selected()->GetHandleZone(x, y) : quint16(ZoneNone | (ZoneNone << 8));
}

// ---- copies and records ----

void TSenderRect::Assign(const TDrawRect& source)
{
    const auto* block = dynamic_cast<const TSenderRect*>(&source);
    if (!block) {
        TDrawRect::Assign(source);
        return;
    }
    // The block's own rectangle, whatever mode either side is in.
    TDrawRect::SetDesignRect(block->TDrawRect::GetDesignRect());
    SetVisible(block->Visible());
    m_senderTitle = block->m_senderTitle;
    for (int i = SimpleAddition1; i <= SimpleAddition2; ++i)
        Member(i)->Assign(*block->Member(i));
    for (int i = DetailedPostal; i < SenderMemberCount; ++i) {
        if (isAddition(i))
            Member(i)->Assign(*block->Member(i));
        else
            Member(i)->SetVisible(block->Member(i)->Visible());
    }
    m_simpleLayout = block->m_simpleLayout;
    rebuildShown();
    m_selected = -1;
    m_itemRects = block->m_itemRects;
    SetFont(block->GetFont(), block->Member(SimplePostal)->FontColor());
    SetHorizontal(block->GetHorizontal());
    for (auto& member : m_members)
        member->SetUpsideDown(block->GetUpsideDown());
    m_frame.Assign(block->m_frame);
    m_laidOut = false;
}

void TSenderRect::ReadFields(TFrameReader& stream)
{
    // The base record sets the block's own rectangle.
    m_wholeBlock = true;
    m_selected = -1;
    TDrawRect::ReadFields(stream);
    m_senderTitle = ReadInvertedString(stream);
    const bool current = LoadedFileVersion > 200;
    if (current) {
        for (int i = SimpleAddition1; i <= SimpleAddition2; ++i)
            Member(i)->SetVisible(stream.ReadByte() != 0);
        for (int i = DetailedPostal; i < SenderMemberCount; ++i)
            Member(i)->SetVisible(stream.ReadByte() != 0);
        for (int i = SimpleAddition1; i <= SimpleAddition2; ++i)
            static_cast<TAdditionRect*>(Member(i))->ReadKind(stream);
        for (int i = DetailedContact1; i <= DetailedContact4; ++i)
            static_cast<TAdditionRect*>(Member(i))->ReadKind(stream);
    } else {
        for (int i = 0; i < SenderMemberCount; ++i) {
            Member(i)->SetVisible(true);
            if (isAddition(i)) {
                auto* addition = static_cast<TAdditionRect*>(Member(i));
                addition->SetItemKind(AdditionFixedText);
                addition->SetText(QString());
            }
        }
    }
    auto readRect = [&] {
        TRect r;
        r.left = stream.ReadInt32();
        r.top = stream.ReadInt32();
        r.right = stream.ReadInt32();
        r.bottom = stream.ReadInt32();
        return r;
    };
    for (int i = 0; i < SimpleMemberCount; ++i)
        m_itemRects[size_t(i)] = readRect();
    if (current) {
        for (int i = DetailedPostal; i < SenderMemberCount; ++i)
            m_itemRects[size_t(i)] = readRect();
    }
    const qint32 charset = stream.ReadInt32();
    const AnsiString face = ReadInvertedString(stream);
    const qint32 size = stream.ReadInt32();
    const qint32 style = stream.ReadInt32();
    const quint32 color = stream.ReadUInt32();
    TFontSpec font;
    SetFontAttributes(&font, charset & 0xFF, ToWide(face), size, style);
    SetFont(font, color);
    SetHorizontal(stream.ReadByte() != 0);
    if (!current) {
        for (int i = DetailedPostal; i < SenderMemberCount; ++i)
            resetMember(i);
    }
    const bool whole = stream.ReadByte() != 0;
    m_simpleLayout = current ? stream.ReadByte() != 0 : true;
    const int selectedIndex = current ? stream.ReadInt32() : qint8(stream.ReadByte());
    m_frame.LoadFromStream(stream);
    const bool upsideDown = LoadedFileVersion >= 200 ? stream.ReadByte() != 0 : false;
    for (auto& member : m_members)
        member->SetUpsideDown(upsideDown);
    rebuildShown();
    m_wholeBlock = whole;
    if (selectedIndex >= 0 && selectedIndex < setEnd() - setStart())
        m_selected = setStart() + selectedIndex;
    m_laidOut = false;
}

void TSenderRect::SaveToStream(TFrameWriter& stream) const
{
    TDrawRect::SaveToStream(stream);
    WriteInvertedString(m_senderTitle, stream);
    for (int i = SimpleAddition1; i <= SimpleAddition2; ++i)
        stream.WriteByte(memberVisible(i) ? 1 : 0);
    for (int i = DetailedPostal; i < SenderMemberCount; ++i)
        stream.WriteByte(memberVisible(i) ? 1 : 0);
    for (int i = SimpleAddition1; i <= SimpleAddition2; ++i)
        static_cast<const TAdditionRect*>(Member(i))->WriteKind(stream);
    for (int i = DetailedContact1; i <= DetailedContact4; ++i)
        static_cast<const TAdditionRect*>(Member(i))->WriteKind(stream);
    for (const TRect& r : m_itemRects) {
        stream.WriteInt32(r.left);
        stream.WriteInt32(r.top);
        stream.WriteInt32(r.right);
        stream.WriteInt32(r.bottom);
    }
    const TFontSpec font = GetFont();
    stream.WriteInt32(font.charset);
    WriteInvertedString(ToAnsi(font.name), stream);
    stream.WriteInt32(font.size);
    stream.WriteInt32(GetFontStyleBits(font));
    stream.WriteUInt32(Member(SimplePostal)->FontColor());
    stream.WriteByte(GetHorizontal() ? 1 : 0);
    stream.WriteByte(m_wholeBlock ? 1 : 0);
    stream.WriteByte(m_simpleLayout ? 1 : 0);
    stream.WriteInt32(m_selected >= 0 ? m_selected - setStart() : -1);
    m_frame.SaveToStream(stream);
    stream.WriteByte(GetUpsideDown() ? 1 : 0);
}
