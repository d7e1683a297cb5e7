// The sender block: the user's own sender record printed by a simple set of 5 or a detailed set of 13 member
// frames, placed in a 205 x 205 unit space inside the block and edited as a whole or member by member.
#pragma once

#include "layoutobjects/CorpRect.h"
#include "layoutobjects/PosRect.h"
#include "layoutobjects/WordRect.h"

#include <array>
#include <memory>
#include <vector>

constexpr quint8 KindSenderBlock = 14;
constexpr int SenderUnits = 205;
constexpr int SimpleMemberCount = 5;
constexpr int DetailedMemberCount = 13;
constexpr int SenderMemberCount = SimpleMemberCount + DetailedMemberCount;

// Member indices over both sets: 0-4 the simple set, 5-17 the detailed set.
enum TSenderMember : int {
    SimplePostal,
    SimpleAddress,
    SimpleName,
    SimpleAddition1,
    SimpleAddition2,
    DetailedPostal,
    DetailedAddress1,
    DetailedAddress2,
    DetailedAddress3,
    DetailedName,
    DetailedCompany,
    DetailedDepartment,
    DetailedSpareCorpLine,
    DetailedTitle,
    DetailedContact1,
    DetailedContact2,
    DetailedContact3,
    DetailedContact4,
};

// Default item rectangles in the unit space: [member][0 vertical, 1 horizontal writing].
extern const std::array<std::array<TRect, 2>, SenderMemberCount> SenderItemDefaultRects;

class TSenderRect : public TFrameClass<TSenderRect, TDrawRect>
{
public:
    TSenderRect();
    TSenderRect(const TSenderRect& other);
    TSenderRect& operator=(const TSenderRect& other);

    quint8 GetKind() const override { return KindSenderBlock; }
    void Assign(const TDrawRect& source) override;
    void SetZoom(double zoom) override;
    TRect GetDesignRect() const override;
    void SetDesignRect(const TRect& rect) override;
    TRect GetScreenRect() const override;
    void SetScreenRect(const TRect& rect) override;
    void SetClipSide(quint8 side) override;
    void SetClipPos(qint32 pos) override;
    void Draw(QPainter& painter, int dx, int dy) override;
    void Print(QPainter& painter, int dx, int dy) override;
    void UpdateImage(bool force) override;
    void CalcPrintRect(QPoint offset, bool keepPhysicalOffset) override;
    void SaveToStream(TFrameWriter& stream) const override;
    bool ContainsPoint(int x, int y) const override;
    qint16 GetCursorAt(int x, int y) const override;
    quint16 GetHandleZone(int x, int y) const override;

    AnsiString SenderTitle() const { return m_senderTitle; }
    void SetSenderTitle(const AnsiString& title) { m_senderTitle = title; }
    bool WholeBlock() const { return m_wholeBlock; }
    void SetWholeBlock(bool whole);
    bool SimpleLayout() const { return m_simpleLayout; }
    void SetSimpleLayout(bool simple);
    bool LaidOut() const { return m_laidOut; }
    TRectFrame& Frame() { return m_frame; }
    const TRectFrame& Frame() const { return m_frame; }

    void ClearItems();
    void UpdateFontHeights();
    TFontSpec GetFont() const;
    void SetFont(const TFontSpec& font, quint32 color);
    bool GetHorizontal() const;
    void SetHorizontal(bool horizontal);
    bool GetUpsideDown() const;
    void SetUpsideDown(bool upsideDown);
    void SetPageSize(int paperLongSide);
    // index -1: every entry of both sets; else the entry of the set shown.
    void ResetItemRect(int index);
    TRect GetBlockScreenRect() const { return TDrawRect::GetScreenRect(); }
    TRect ItemRect(int member) const { return m_itemRects[size_t(member)]; }

    TMetaRect* Member(int member) const;
    TPosRect* GetPostal(bool simple) const;
    TNameRect* GetName(bool simple) const;
    TAddressRect* GetSimpleAddress() const;
    TAdditionRect* GetSimpleAddition(int index) const;
    TAddressRect* GetAddressLine(int index) const;
    TCorpRect* GetCompany() const;
    // 0 department, 1 spare company line.
    TCorpRect* GetCorpLine(int index) const;
    TCorpRect* GetTitle() const;
    TAdditionRect* GetContact(int index) const;

    bool GetPostalVisible() const { return memberVisible(DetailedPostal); }
    void SetPostalVisible(bool visible) { setMemberVisible(DetailedPostal, visible); }
    bool GetAddressLineVisible(int index) const;
    void SetAddressLineVisible(int index, bool visible);
    bool GetNameVisible() const { return memberVisible(DetailedName); }
    void SetNameVisible(bool visible) { setMemberVisible(DetailedName, visible); }
    bool GetCompanyVisible() const { return memberVisible(DetailedCompany); }
    void SetCompanyVisible(bool visible) { setMemberVisible(DetailedCompany, visible); }
    bool GetCorpLineVisible(int index) const;
    void SetCorpLineVisible(int index, bool visible);
    bool GetTitleVisible() const { return memberVisible(DetailedTitle); }
    void SetTitleVisible(bool visible) { setMemberVisible(DetailedTitle, visible); }
    void SetSimpleAdditionVisible(int index, bool visible);
    bool GetContactVisible(int index) const;
    void SetContactVisible(int index, bool visible);

    // The members drawn, in drawing order; the first is found first by a click.
    std::vector<int> ShownMembers() const { return m_shown; }
    int SelectedMember() const { return m_selected; }

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    void makeMembers();
    void copyFrom(const TSenderRect& other);
    int setStart() const { return m_simpleLayout ? 0 : SimpleMemberCount; }
    int setEnd() const { return m_simpleLayout ? SimpleMemberCount : SenderMemberCount; }
    bool inCurrentSet(int member) const { return member >= setStart() && member < setEnd(); }
    bool laidOutMember(int member) const;
    void rebuildShown();
    TRect contentRect() const;
    void layOut(bool force);
    void fitToMembers();
    void resetMember(int member);
    bool memberVisible(int member) const { return Member(member)->Visible(); }
    void setMemberVisible(int member, bool visible);
    TMetaRect* selected() const { return m_selected >= 0 ? Member(m_selected) : nullptr; }

    AnsiString m_senderTitle;
    bool m_wholeBlock = true;
    std::array<TRect, SenderMemberCount> m_itemRects;
    bool m_laidOut = false;
    std::array<std::unique_ptr<TMetaRect>, SenderMemberCount> m_members;
    // A click in item mode selects and reorders, though asking is const.
    mutable std::vector<int> m_shown;
    mutable int m_selected = -1;
    TRectFrame m_frame;
    bool m_simpleLayout = true;
};
