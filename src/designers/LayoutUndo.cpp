// Undo and redo of the designers' editing commands on the address-side document.
#include "designers/LayoutCommands.h"

#include "designers/FrameClipboard.h"
#include "designers/PaperEditing.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/QRCodeRect.h"

#include <algorithm>

namespace {

void insertAt(std::vector<TDrawRect*>& list, int index, TDrawRect* frame)
{
    index = std::clamp(index, 0, int(list.size()));
    list.insert(list.begin() + index, frame);
}

} // namespace

const TUndoDatas* StepHistory(TUndoList& list, bool redo)
{
    if (redo ? !list.CanRedo() : !list.CanUndo())
        return nullptr;
    const int version = LoadedFileVersion;
    if (redo)
        list.Redo();
    else
        list.Undo();
    LoadedFileVersion = version;
    return list.GetEntry(redo ? list.Position() + 1 : list.Position());
}

void ApplyZOrderItem(const TZOrderUndoData& item, quint8 side, std::vector<TDrawRect*>& stacking)
{
    const int from = side ? item.OldIndex() : item.NewIndex();
    const int to = side ? item.NewIndex() : item.OldIndex();
    if (from < 0 || from >= int(stacking.size()))
        return;
    TDrawRect* frame = stacking[size_t(from)];
    stacking.erase(stacking.begin() + from);
    insertAt(stacking, to, frame);
}

void TLayoutEditor::StoreUndoSelection(TUndoDatas& action, quint8 side) const
{
    ::StoreUndoSelection(action, PaperModelOf(d), side);
}

bool TLayoutEditor::UndoRedo(bool redo, quint8* kind)
{
    TUndoList& list = d.Undo;
    if (redo ? !list.CanRedo() : !list.CanUndo())
        return false;
    const TUndoList::TCallback previous = list.OnUndoRedo;
    list.OnUndoRedo = [this](TUndoList& history, quint8 actionKind, TUndoData& item, quint8 direction) {
        ApplyUndo(history, actionKind, item, direction);
    };
    m_remerge = false;
    const TUndoDatas* action = StepHistory(list, redo);
    list.OnUndoRedo = previous;
    const quint8 side = redo ? 1 : 0;
    if (m_remerge)
        d.Remerge();
    d.Selection.clear();
    d.FocusIndex = -1;
    if (action) {
        RestoreUndoSelection(*action, side, d.Stacking, d.Selection, d.FocusIndex);
        if (kind)
            *kind = action->UndoActionKind();
    }
    d.Modified = true;
    return true;
}

void TLayoutEditor::ApplyUndo(TUndoList&, quint8 kind, TUndoData& item, quint8 direction)
{
    LoadedFileVersion = CurrentFileVersion;
    const quint8 side = direction ? 1 : 0;
    auto& stack = d.Stacking;
    const auto stackAt = [&stack](int z) {
        return z >= 0 && z < int(stack.size()) ? stack[size_t(z)] : nullptr;
    };

    if (kind == UndoAdd || kind == UndoDelete) {
        auto* data = dynamic_cast<TDrawRectUndoData*>(&item);
        if (!data)
            return;
        const quint8 k = data->GetObjectKind(side);
        if (k > KindQRCode)
            return;
        const bool bringBack = (kind == UndoAdd) == (side == 1);
        if (bringBack) {
            if (k < KindIllust) {
                TDrawRect* frame = fixedAt(data->ListIndex());
                if (!frame)
                    return;
                LoadStreamImage(*frame, data->GetStream(side));
                frame->SetZoom(d.Zoom);
                if (d.StackingIndex(frame) < 0)
                    insertAt(stack, data->ZOrder(), frame);
                if (frame->Visible()) {
                    d.SenderDisplayMode = 0;
                    m_remerge = true;
                } else {
                    frame->SetVisible(true);
                    // A label's frame comes back with the data of its deletion.
                    m_remerge = m_remerge || d.LabelMode;
                }
            } else {
                std::unique_ptr<TDrawRect> frame = CreateFreeFrame(k);
                LoadStreamImage(*frame, data->GetStream(side));
                frame->SetZoom(d.Zoom);
                insertAt(stack, data->ZOrder(),
                         d.InsertFreeFrame(k - KindIllust, data->ListIndex(), std::move(frame)));
            }
        } else {
            TDrawRect* placed = stackAt(data->ZOrder());
            if (k < KindIllust) {
                TDrawRect* frame = fixedAt(data->ListIndex());
                if (!frame)
                    return;
                if (placed == frame)
                    stack.erase(stack.begin() + data->ZOrder());
                else
                    d.RemoveFromStacking(frame);
                LoadStreamImage(*frame, data->GetStream(1 - side));
                if (frame->Visible() && d.SenderDisplayMode == 0)
                    d.SenderDisplayMode = 1;
            } else {
                const int free = k - KindIllust;
                const auto& list = d.FreeFrames(free);
                const int index = data->ListIndex();
                if (index < 0 || index >= int(list.size()))
                    return;
                TDrawRect* frame = list[size_t(index)].get();
                d.RemoveFromStacking(frame);
                std::erase(d.Selection, frame);
                d.TakeFreeFrame(free, index);
            }
        }
    } else if (kind == UndoChange) {
        auto* data = dynamic_cast<TDrawRectUndoData*>(&item);
        if (item.Target() != UndoTargetFrame || !data)
            return;
        const quint8 k = data->GetObjectKind(side);
        if (k < KindIllust) {
            TDrawRect* frame = fixedAt(data->ListIndex());
            if (!frame)
                return;
            const bool was = frame->Visible();
            LoadStreamImage(*frame, data->GetStream(side));
            frame->SetZoom(d.Zoom);
            if (frame->Visible() != was) {
                if (frame->Visible() && data->ZOrder() >= 0 && d.StackingIndex(frame) < 0)
                    insertAt(stack, data->ZOrder(), frame);
                else if (!frame->Visible())
                    d.RemoveFromStacking(frame);
            }
            if (k == KindAddition || k == KindBarcode)
                m_remerge = true;
        } else if (k <= KindQRCode) {
            if (TDrawRect* frame = stackAt(data->ZOrder())) {
                LoadStreamImage(*frame, data->GetStream(side));
                frame->SetZoom(d.Zoom);
            }
        }
    } else if (kind == UndoMove) {
        auto* data = dynamic_cast<TRectUndoData*>(&item);
        if (!data)
            return;
        TDrawRect* frame = data->ZOrder() >= 0 ? stackAt(data->ZOrder()) : fixedAt(data->FixedIndex());
        if (frame)
            frame->SetDesignRect(data->GetRect(side));
    } else if (kind == UndoZOrder) {
        if (auto* data = dynamic_cast<TZOrderUndoData*>(&item))
            ApplyZOrderItem(*data, side, stack);
    }
}
