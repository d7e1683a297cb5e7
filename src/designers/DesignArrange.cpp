// The message-side design's sender block and arrangement commands.
#include "designers/DesignArrange.h"

#include "designers/PaperEditing.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/NameRect.h"
#include "layoutobjects/WordRect.h"

#include <algorithm>

using namespace LayoutSettingsField;

namespace {

// The sender items and the size level each takes.
struct TLevelItem
{
    int Member;
    int Level;
};
constexpr TLevelItem LevelItems[] = {{SimpleName, SenderNameLevel},
                                     {DetailedName, SenderNameLevel},
                                     {DetailedCompany, SenderNameLevel},
                                     {DetailedDepartment, SenderNameLevel},
                                     {DetailedSpareCorpLine, SenderNameLevel},
                                     {DetailedTitle, SenderNameLevel},
                                     {SimpleAddress, SenderAddressLevel},
                                     {DetailedAddress1, SenderAddressLevel},
                                     {DetailedAddress2, SenderAddressLevel},
                                     {DetailedAddress3, SenderAddressLevel},
                                     {SimpleAddition1, SenderAdditionLevel},
                                     {SimpleAddition2, SenderAdditionLevel},
                                     {DetailedContact1, SenderAdditionLevel},
                                     {DetailedContact2, SenderAdditionLevel},
                                     {DetailedContact3, SenderAdditionLevel},
                                     {DetailedContact4, SenderAdditionLevel}};

void setLevel(TMetaRect* item, int level)
{
    if (auto* name = dynamic_cast<TNameRect*>(item))
        name->SetLevel(level);
    else if (auto* corp = dynamic_cast<TCorpRect*>(item))
        corp->SetLevel(level);
    else if (auto* address = dynamic_cast<TAddressRect*>(item))
        address->SetLevel(level);
    else if (auto* addition = dynamic_cast<TAdditionRect*>(item))
        addition->SetLevel(level);
}

} // namespace

void TakeSenderPrototype(TDesignDocument& d, const TSenderRect& block)
{
    TSenderRect& prototype = d.Context.Prototypes->Sender;
    prototype.Assign(block);
    prototype.Frame().Reset();
    if (prototype.GetUpsideDown())
        prototype.SetUpsideDown(false);
    d.Context.Prototypes->SetChanged();
}

TRect NewSenderRect(bool horizontal, QSize paper)
{
    TRect r = horizontal ? TRect{50, 50, 275, 200} : TRect{50, 50, 200, 275};
    if (paper.width() < r.Width() || paper.height() < r.Height()) {
        const double f = std::min(double(paper.width()) / r.Width(), double(paper.height()) / r.Height());
        r = ScaledRect(r, f, f);
        if (r.right > paper.width())
            r = r.Moved(paper.width() - r.right, 0);
        if (r.bottom > paper.height())
            r = r.Moved(0, paper.height() - r.bottom);
    }
    return r;
}

void AddSenderItemMode(TPaperModel& model, TDesignDocument& document)
{
    model.ItemModeBlock = [&document]() -> TSenderRect* {
        TSenderRect* block = document.SenderBlock();
        return block && !block->WholeBlock() ? block : nullptr;
    };
    model.ItemDropped = [&document] {
        if (const TSenderRect* block = document.SenderBlock())
            TakeSenderPrototype(document, *block);
    };
}

// ---- helpers ----

TDrawRect* TDesignArranger::focused() const
{
    return d.FocusedIndex >= 0 && d.FocusedIndex < int(d.Selection.size())
               ? d.Selection[size_t(d.FocusedIndex)]
               : nullptr;
}

TSenderRect* TDesignArranger::FocusedSender() const
{
    TDrawRect* frame = focused();
    return frame && frame == d.SenderBlock() ? d.SenderBlock() : nullptr;
}

bool TDesignArranger::itemMode() const
{
    return d.SenderBlock() && !d.SenderBlock()->WholeBlock();
}

int TDesignArranger::zIndex(const TDrawRect* frame) const
{
    const auto it = std::find(d.ZOrder.begin(), d.ZOrder.end(), frame);
    return it == d.ZOrder.end() ? -1 : int(it - d.ZOrder.begin());
}

void TDesignArranger::record(TUndoDatas& action, const TDrawRect& frame, quint8 side) const
{
    int listIndex = -1;
    for (int kind = 0; kind < FreeKindCount && listIndex < 0; ++kind) {
        const auto& list = d.FreeFrames(kind);
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].get() == &frame)
                listIndex = int(i);
    }
    action.AddDrawRect(frame, zIndex(&frame), listIndex, side);
}

void TDesignArranger::storeSelection(TUndoDatas& action, quint8 side) const
{
    action.SetSelectionCount(side, int(d.Selection.size()));
    for (size_t i = 0; i < d.Selection.size(); ++i)
        action.SetSelection(side, int(i), zIndex(d.Selection[i]));
    action.SetFocused(side, d.FocusedIndex);
}

void TDesignArranger::push(std::unique_ptr<TUndoDatas> action)
{
    storeSelection(*action, 1);
    d.Undo.Push(std::move(action));
}

void TDesignArranger::prototypeFollows()
{
    if (const TSenderRect* block = d.SenderBlock())
        TakeSenderPrototype(d, *block);
}

// ---- the sender block ----

bool TDesignArranger::CanShowSender() const
{
    return d.DocumentOpen && !d.SenderBlock() && d.Context.Senders &&
           !d.Context.Senders->SenderRecNos().empty();
}

TSenderRect* TDesignArranger::ShowSender()
{
    if (!d.DocumentOpen || d.SenderBlock())
        return nullptr;
    auto created = std::make_unique<TSenderRect>();
    created->Assign(d.Context.Prototypes->Sender);
    created->SetWholeBlock(true);
    created->SetDesignRect(NewSenderRect(created->GetHorizontal(), d.PaperPixelSize));
    created->UpdateFontHeights();
    created->SetZoom(d.Zoom);
    if (SnapPitch > 0) {
        const TRect s = created->GetScreenRect();
        auto down = [this](int v) { return v - (v % SnapPitch + SnapPitch) % SnapPitch; };
        auto up = [&](int v) { return down(v) == v ? v : down(v) + SnapPitch; };
        created->SetScreenRect({down(s.left), down(s.top), up(s.right), up(s.bottom)});
    }
    TSenderRect* block = d.SetSenderBlock(std::move(created));
    d.ShowSenderData();
    auto action = std::make_unique<TUndoDatas>(UndoAdd);
    storeSelection(*action, 0);
    action->AddDrawRect(*block, 0, -1, 1);
    d.Selection = {block};
    d.FocusedIndex = 0;
    push(std::move(action));
    d.Modified = true;
    return block;
}

void TDesignArranger::SenderEdited()
{
    TSenderRect* block = d.SenderBlock();
    if (!block)
        return;
    d.Selection = {block};
    d.FocusedIndex = 0;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    storeSelection(*action, 0);
    record(*action, *block, 0);
    block->SetSenderTitle(d.Context.Prototypes->Sender.SenderTitle());
    action->StoreObject(0, *block, 1);
    push(std::move(action));
    d.ShowSenderData();
}

bool TDesignArranger::TakeSenderLook(const TSenderRect& chosen)
{
    TSenderRect* block = FocusedSender();
    if (!block)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    storeSelection(*action, 0);
    record(*action, *block, 0);
    block->SetWholeBlock(true);
    const TRect old = block->GetDesignRect();
    block->Assign(chosen);
    const TRect now = block->GetDesignRect();
    block->SetDesignRect(now.Moved(old.left - now.left, old.top - now.top));
    block->SetZoom(d.Zoom);
    prototypeFollows();
    action->StoreObject(0, *block, 1);
    d.ShowSenderData();

    const bool horizontal = block->GetHorizontal();
    for (TDrawRect* frame : d.Selection) {
        if (frame == block)
            continue;
        auto* illust = dynamic_cast<TIllustRect*>(frame);
        auto* word = dynamic_cast<TWordRect*>(frame);
        if (!illust && !word)
            continue;
        record(*action, *frame, 0);
        if (illust) {
            illust->Frame().Assign(block->Frame());
        } else {
            if (word->Horizontal() != horizontal) {
                const TRect r = word->GetDesignRect();
                word->SetHorizontal(horizontal);
                word->SetDesignRect({r.left, r.top, r.left + r.Height(), r.top + r.Width()});
            }
            word->SetFont(block->GetFont(), block->Member(SimplePostal)->FontColor());
            word->Frame().Assign(block->Frame());
        }
        action->StoreObject(action->Count() - 1, *frame, 1);
    }
    push(std::move(action));
    d.Modified = true;
    return true;
}

TSenderShown TDesignArranger::DetailShown() const
{
    TSenderShown shown{};
    const TSenderRect* b = d.SenderBlock();
    if (!b)
        return shown;
    shown = {b->GetPostalVisible(),       b->GetAddressLineVisible(0), b->GetAddressLineVisible(1),
             b->GetAddressLineVisible(2), b->GetNameVisible(),         b->GetCompanyVisible(),
             b->GetCorpLineVisible(0),    b->GetTitleVisible(),        b->GetContactVisible(0),
             b->GetContactVisible(1),     b->GetContactVisible(2),     b->GetContactVisible(3)};
    return shown;
}

bool TDesignArranger::ApplyDetails(const TLayoutSettings& detail, bool manual, const TSenderShown& shown)
{
    TSenderRect* block = d.SenderBlock();
    if (!block)
        return false;
    for (int offset : {AddressLevel, NameLevel, SenderAddressLevel, SenderNameLevel, SenderAdditionLevel,
                       CompanyRatio, DepartmentRatio, TitleRatio})
        d.Settings.SetInt(offset, detail.Int(offset));
    for (int offset : {WidenSpacing, SenderNameAlign, JointNamesTogether, CompanyBreak})
        d.Settings.SetByte(offset, detail.Byte(offset));

    for (const TLevelItem& item : LevelItems)
        setLevel(block->Member(item.Member), d.Settings.Int(item.Level));
    TNameRect* name = block->GetName(true);
    name->SetCompanyRatio(CompanyLineRatio(d.Settings.Int(CompanyRatio)));
    name->SetDepartmentRatio(CompanyLineRatio(d.Settings.Int(DepartmentRatio)));
    name->SetTitleRatio(CompanyLineRatio(d.Settings.Int(TitleRatio)));

    // The choices belong to the detailed set; switching sets clears the selected item.
    block->SetSimpleLayout(false);
    block->SetPostalVisible(shown[0]);
    for (int i = 0; i < 3; ++i)
        block->SetAddressLineVisible(i, shown[size_t(1 + i)]);
    block->SetNameVisible(shown[4]);
    block->SetCompanyVisible(shown[5]);
    block->SetCorpLineVisible(0, shown[6]);
    block->SetTitleVisible(shown[7]);
    for (int i = 0; i < 4; ++i)
        block->SetContactVisible(i, shown[size_t(8 + i)]);
    block->SetSimpleLayout(!manual);

    block->UpdateFontHeights();
    prototypeFollows();
    if (!block->SenderTitle().isEmpty())
        d.ShowSenderData();
    d.Modified = true;
    return true;
}

bool TDesignArranger::ApplyDataForm(const TLayoutSettings& form)
{
    TSenderRect* block = d.SenderBlock();
    if (!block)
        return false;
    // Bytes 0-3 and the int32 fields at 4, 8 and 12; the honorifics stay.
    for (int offset = HidePrefecture; offset < DefaultHonorific; ++offset)
        d.Settings.SetByte(offset, form.Byte(offset));
    const bool vertical = d.Settings.Byte(VerticalDigits) != 0;
    block->GetSimpleAddress()->SetVerticalDigits(vertical);
    for (int i = 0; i < 3; ++i)
        block->GetAddressLine(i)->SetVerticalDigits(vertical);
    d.ShowSenderData();
    d.Modified = true;
    return true;
}

bool TDesignArranger::SetItemMode(bool on)
{
    TSenderRect* block = FocusedSender();
    if (!block)
        return false;
    block->SetWholeBlock(!on);
    if (on) {
        d.Selection = {block};
        d.FocusedIndex = 0;
    }
    return true;
}

// ---- the paper ----

bool TDesignArranger::PaperChangeAsks(const TDesignPaperFormat& paper) const
{
    return !d.ZOrder.empty() &&
           (paper.Width() != d.PaperFormat.Width() || paper.Height() != d.PaperFormat.Height());
}

void TDesignArranger::ChangePaper(qint32 index, const TDesignPaperFormat& paper, bool rescale)
{
    const bool resize = PaperChangeAsks(paper);
    const QSize oldPaper(d.PaperFormat.Width(), d.PaperFormat.Height());
    d.PaperIndex = index;
    d.PaperFormat = paper;
    PaperLongSide = qMax(paper.Width(), paper.Height());
    d.SetPrintArea();
    if (TSenderRect* block = d.SenderBlock())
        block->SetWholeBlock(true);
    if (resize) {
        const QSize newPaper(paper.Width(), paper.Height());
        for (TDrawRect* frame : d.ZOrder) {
            const TRect r = frame->GetDesignRect();
            frame->SetDesignRect(rescale ? ScaleFrameRect(r, oldPaper, newPaper)
                                         : KeepFrameOnPaper(r, d.PaperPixelSize));
        }
    }
    d.BackImage.SetPaperSize(QSize(paper.Width(), paper.Height()));
    d.BackImage.SetVisibleRect(d.PrintableArea);
    d.Undo.Clear();
    d.Modified = true;
    d.Zoom = 0;
}

// ---- arrangement ----

bool TDesignArranger::moveEach(const std::vector<TFramePlacement>& placed)
{
    // Item mode moves items with the mouse and keys only.
    if (!d.DocumentOpen || itemMode())
        return false;
    d.Modified = true;
    if (placed.empty())
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoMove);
    storeSelection(*action, 0);
    for (const TFramePlacement& p : placed) {
        action->AddRect(p.Frame->GetDesignRect(), zIndex(p.Frame), -1, 0);
        p.Frame->SetDesignRect(p.Rect);
        action->StoreRect(action->Count() - 1, p.Frame->GetDesignRect(), 1);
    }
    push(std::move(action));
    return true;
}

bool TDesignArranger::CentreOnPaper(TPaperCentre how)
{
    std::vector<TFramePlacement> placed;
    for (TDrawRect* frame : d.Selection)
        placed.push_back({frame, CentredOnPaper(frame->GetDesignRect(), how, d.PaperPixelSize)});
    return moveEach(placed);
}

bool TDesignArranger::EqualSpacing(TEqualSpacing how)
{
    if (d.Selection.size() < 2)
        return false;
    return moveEach(EqualSpacingPlacements(d.Selection, how, d.PaperPixelSize));
}

bool TDesignArranger::Align(TFrameAlign how)
{
    const TDrawRect* reference = focused();
    if (!reference)
        return false;
    const TRect f = reference->GetDesignRect();
    std::vector<TFramePlacement> placed;
    for (TDrawRect* frame : d.Selection)
        if (frame != reference)
            placed.push_back({frame, AlignedRect(frame->GetDesignRect(), f, how)});
    return moveEach(placed);
}

bool TDesignArranger::ZOrder(TZOrderMove how)
{
    if (!d.DocumentOpen)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoZOrder);
    storeSelection(*action, 0);
    for (const auto& [to, from] : MoveInStacking(d.ZOrder, d.Selection, how))
        action->AddZOrder(to, from);
    d.Modified = true;
    if (action->Count() == 0)
        return false;
    push(std::move(action));
    return true;
}
