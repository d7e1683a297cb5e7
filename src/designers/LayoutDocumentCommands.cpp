// The address-side document under the window's details, data-format and sender commands.
#include "designers/LayoutDocument.h"

using namespace LayoutSettingsField;

namespace {

// The detailed frames in the order of the placed-frame choices.
std::array<TDrawRect*, 20> detailFrames(const TDetailedSet& d)
{
    return {d.Postal,           d.Address[0],       d.Address[1],  d.Address[2],    d.Name,
            d.Corp[0],          d.Corp[1],          d.Corp[2],     d.SenderPostal,  d.SenderAddress[0],
            d.SenderAddress[1], d.SenderAddress[2], d.SenderName,  d.SenderCorp[0], d.SenderCorp[1],
            d.SenderCorp[2],    d.Contacts[0],      d.Contacts[1], d.Contacts[2],   d.Contacts[3]};
}

constexpr size_t RecipientChoices = 8;

} // namespace

void TLayoutDocument::Remerge()
{
    if (LabelMode)
        return labelMerge();
    if (Paper.Count1 < 5)
        FillSimpleFrames();
    else {
        ShowRecordData(-1);
        ShowSenderData();
    }
}

TLayoutDocument::TDetailShown TLayoutDocument::DetailShown() const
{
    TDetailShown shown{};
    const auto frames = detailFrames(m_d);
    for (size_t i = 0; i < frames.size(); ++i)
        shown[i] = frames[i] && frames[i]->Visible(); // labels have no sender frames
    return shown;
}

bool TLayoutDocument::ApplyDetails(const TLayoutSettings& detail, bool manual, const TDetailShown& shown)
{
    if (LabelMode) {
        // Labels take the recipient's sizes and the shared bytes only.
        for (int offset : {AddressLevel, NameLevel, AdditionLevel, CompanyRatio, DepartmentRatio, TitleRatio})
            Settings.SetInt(offset, detail.Int(offset));
        for (int offset : {WidenSpacing, NameAlign, JointNamesTogether, CompanyBreak})
            Settings.SetByte(offset, detail.Byte(offset));
    } else {
        for (int offset = AddressLevel; offset <= CompanyBreak; ++offset)
            Settings.SetByte(offset, detail.Byte(offset));
    }
    applySettingsToFrames();

    const auto frames = detailFrames(m_d);
    const bool senderChoices = !LabelMode && Paper.Count1 > 4;
    for (size_t i = 0; i < frames.size(); ++i)
        if (i < RecipientChoices || senderChoices)
            frames[i]->SetVisible(shown[i]);

    bool changed = false;
    if (manual == DetailedSet) {
        if (DetailedSet) {
            const bool recipient = SenderDisplayMode == 0 || SenderDisplayMode == 1;
            const bool sender = SenderDisplayMode == 0 || SenderDisplayMode == 2;
            for (size_t i = 0; i < m_detailed.size(); ++i) {
                if (!LabelMode && !(i < 9 ? recipient : sender))
                    continue;
                TDrawRect* frame = m_detailed[i].get();
                const bool placed = StackingIndex(frame) >= 0;
                if (frame->Visible() && !placed) {
                    InsertIntoStacking(frame, false);
                    frame->SetZoom(Zoom);
                    changed = true;
                } else if (!frame->Visible() && placed) {
                    RemoveFromStacking(frame);
                    changed = true;
                }
            }
        }
        Remerge();
    } else {
        SetIndividualLayout(manual);
        for (TDrawRect* frame : m_current)
            frame->SetZoom(Zoom);
        Remerge();
        Undo.Clear();
        changed = true;
    }
    if (changed) {
        Selection.clear();
        FocusIndex = -1;
    }
    Modified = true;
    return changed;
}

void TLayoutDocument::ApplyDataForm(const TLayoutSettings& form)
{
    for (int offset = HidePrefecture; offset < DefaultHonorific; ++offset)
        if (!LabelMode || offset < SenderPostalMark || offset >= SenderPostalMark + 4)
            Settings.SetByte(offset, form.Byte(offset));
    for (int honorific : {DefaultHonorific, CompanyHonorific, TitleHonorific, SenderHonorific})
        Settings.SetHonorific(honorific, form.Honorific(honorific));
    const bool vertical = Settings.Byte(VerticalDigits) != 0;
    for (const auto* set : {&m_simple, &m_detailed})
        for (const auto& frame : *set)
            if (auto* address = dynamic_cast<TAddressRect*>(frame.get()))
                address->SetVerticalDigits(vertical);
    Remerge();
    Modified = true;
}

bool TLayoutDocument::SenderRecordsChanged()
{
    if (Paper.Count1 < 5) {
        FillSimpleFrames();
        return false;
    }
    auto shownContacts = [this] { return int(m_s.Contacts[0]->Visible()) + int(m_s.Contacts[1]->Visible()); };
    const int before = shownContacts();
    ShowSenderData();
    return (SenderDisplayMode == 0 || SenderDisplayMode == 2) && shownContacts() != before;
}
