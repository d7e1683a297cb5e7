// The message-side design's editing commands and their undo.
#include "designers/DesignCommands.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "designers/DesignArrange.h"
#include "designers/FrameClipboard.h"
#include "designers/LayoutCommands.h"
#include "designers/PaperEditing.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/ImageUtils.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/WordRect.h"

#include <algorithm>
#include <set>

namespace {

// The sender block's writing direction; a change exchanges its width and height and resets its items.
void setSenderDirection(TSenderRect& block, bool horizontal)
{
    if (block.GetHorizontal() == horizontal)
        return;
    block.SetHorizontal(horizontal);
    block.SetDesignRect(TurnedRect(block.GetDesignRect()));
    block.ResetItemRect(-1);
}

bool isFreeKind(int kind)
{
    return kind >= KindIllust && kind <= KindQRCode;
}

} // namespace

bool DesignConsistent(const TDesignDocument& d)
{
    std::set<const TDrawRect*> frames;
    size_t count = 0;
    for (int kind = 0; kind < FreeKindCount; ++kind)
        for (const auto& frame : d.FreeFrames(kind)) {
            if (frame->GetKind() != KindIllust + kind)
                return false;
            frames.insert(frame.get());
            ++count;
        }
    if (d.SenderBlock()) {
        frames.insert(d.SenderBlock());
        ++count;
    }
    const std::set<const TDrawRect*> stacked(d.ZOrder.begin(), d.ZOrder.end());
    if (frames.size() != count || stacked != frames || d.ZOrder.size() != count)
        return false;
    const std::set<const TDrawRect*> selected(d.Selection.begin(), d.Selection.end());
    if (selected.size() != d.Selection.size())
        return false;
    for (const TDrawRect* frame : d.Selection)
        if (!frames.count(frame))
            return false;
    return d.FocusedIndex >= -1 && d.FocusedIndex < int(d.Selection.size());
}

TDesignEditor::TDesignEditor(TDesignDocument& document) : d(document)
{
    d.Undo.OnUndoRedo = [this](TUndoList& list, quint8 kind, TUndoData& item, quint8 direction) {
        ApplyUndo(list, kind, item, direction);
    };
}

TDrawRect* TDesignEditor::focused() const
{
    if (d.FocusedIndex < 0 || d.FocusedIndex >= int(d.Selection.size()))
        return nullptr;
    return d.Selection[size_t(d.FocusedIndex)];
}

int TDesignEditor::stackIndex(const TDrawRect* frame) const
{
    const auto it = std::find(d.ZOrder.begin(), d.ZOrder.end(), frame);
    return it == d.ZOrder.end() ? -1 : int(it - d.ZOrder.begin());
}

void TDesignEditor::record(TUndoDatas& action, TDrawRect& frame, quint8 side) const
{
    action.AddDrawRect(frame, stackIndex(&frame), d.FreeIndex(&frame), side);
}

void TDesignEditor::RecordSelection(TUndoDatas& action, quint8 side) const
{
    TPaperModel model;
    model.Stacking = &d.ZOrder;
    model.Selection = &d.Selection;
    model.FocusIndex = &d.FocusedIndex;
    StoreUndoSelection(action, model, side);
}

void TDesignEditor::finish(std::unique_ptr<TUndoDatas> action)
{
    RecordSelection(*action, 1);
    d.Undo.Push(std::move(action));
    d.Modified = true;
}

TDrawRect* TDesignEditor::addFree(std::unique_ptr<TDrawRect> frame, TUndoDatas& action)
{
    const int kind = frame->GetKind() - KindIllust;
    TDrawRect* added = d.AddFreeFrame(kind, std::move(frame));
    action.AddDrawRect(*added, 0, int(d.FreeFrames(kind).size()) - 1, 1);
    return added;
}

TDrawRect* TDesignEditor::placeNew(std::unique_ptr<TDrawRect> frame, TUndoDatas& action)
{
    TDrawRect* added = addFree(std::move(frame), action);
    d.Selection = {added};
    d.FocusedIndex = 0;
    wholeBlockSender();
    return added;
}

void TDesignEditor::wholeBlockSender()
{
    TSenderRect* block = d.SenderBlock();
    if (block && !block->WholeBlock()) {
        block->SetWholeBlock(true);
        SenderLayoutReset = true;
    }
}

// ---- undo and redo ----

bool TDesignEditor::UndoRedo(bool redo, quint8* kind)
{
    if (redo ? !d.Undo.CanRedo() : !d.Undo.CanUndo())
        return false;
    SenderRemergePending = false;
    const TUndoDatas* action = StepHistory(d.Undo, redo);
    if (SenderRemergePending)
        d.ShowSenderData();
    SenderRemergePending = false;
    d.Selection.clear();
    d.FocusedIndex = -1;
    if (action) {
        RestoreUndoSelection(*action, redo ? 1 : 0, d.ZOrder, d.Selection, d.FocusedIndex);
        if (kind)
            *kind = action->UndoActionKind();
    }
    d.Modified = true;
    return true;
}

void TDesignEditor::putBack(const TDrawRectUndoData& item, quint8 kind, quint8 side)
{
    auto& stack = d.ZOrder;
    const int z = std::clamp(int(item.ZOrder()), 0, int(stack.size()));
    TDrawRect* frame = nullptr;
    if (kind == KindSenderBlock) {
        TSenderRect* block = d.SenderBlock();
        if (block)
            std::erase(stack, block);
        else
            block = d.SetSenderBlock(std::make_unique<TSenderRect>());
        std::erase(stack, block);
        LoadStreamImage(*block, item.GetStream(side));
        block->SetPageSize(PaperLongSide);
        SenderRemergePending = true;
        frame = block;
    } else {
        std::unique_ptr<TDrawRect> made = CreateFreeFrame(kind);
        LoadStreamImage(*made, item.GetStream(side));
        frame = d.InsertFreeFrame(kind - KindIllust, item.ListIndex(), std::move(made));
    }
    frame->SetZoom(d.Zoom);
    stack.insert(stack.begin() + std::min(z, int(stack.size())), frame);
}

void TDesignEditor::takeAway(const TDrawRectUndoData& item, quint8 kind)
{
    auto& stack = d.ZOrder;
    TDrawRect* frame = kind == KindSenderBlock ? d.SenderBlock() : nullptr;
    if (kind != KindSenderBlock) {
        const auto& list = d.FreeFrames(kind - KindIllust);
        if (item.ListIndex() < 0 || item.ListIndex() >= int(list.size()))
            return;
        frame = list[size_t(item.ListIndex())].get();
    }
    if (!frame)
        return;
    // The recorded stacking entry first; a history that no longer matches falls back to the frame itself.
    const int z = item.ZOrder();
    if (z >= 0 && z < int(stack.size()) && stack[size_t(z)] == frame)
        stack.erase(stack.begin() + z);
    else
        std::erase(stack, frame);
    std::erase(d.Selection, frame);
    d.FocusedIndex = std::min(d.FocusedIndex, int(d.Selection.size()) - 1);
    if (kind == KindSenderBlock)
        d.SetSenderBlock(nullptr);
    else
        d.TakeFreeFrame(kind - KindIllust, item.ListIndex());
}

void TDesignEditor::ApplyUndo(TUndoList&, quint8 kind, TUndoData& item, quint8 direction)
{
    LoadedFileVersion = CurrentFileVersion;
    const quint8 side = direction ? 1 : 0;
    auto& stack = d.ZOrder;
    const auto stackAt = [&stack](int z) { return z >= 0 && z < int(stack.size()) ? stack[size_t(z)] : nullptr; };
    auto* frameItem = dynamic_cast<TDrawRectUndoData*>(&item);

    if (kind == UndoAdd || kind == UndoDelete) {
        if (!frameItem)
            return;
        const quint8 k = frameItem->GetObjectKind(side);
        if (!isFreeKind(k) && k != KindSenderBlock)
            return;
        if ((kind == UndoAdd) == (side == 1))
            putBack(*frameItem, k, side);
        else
            takeAway(*frameItem, k);
    } else if (kind == UndoChange) {
        if (frameItem) {
            if (TDrawRect* frame = stackAt(frameItem->ZOrder())) {
                LoadStreamImage(*frame, frameItem->GetStream(side));
                frame->SetZoom(d.Zoom);
            }
        } else if (auto* object = dynamic_cast<TObjectUndoData*>(&item);
                   object && item.Target() == UndoTargetObject) {
            LoadStreamImage(d.BackImage, object->GetStream(side));
        }
    } else if (kind == UndoMove) {
        auto* data = dynamic_cast<TRectUndoData*>(&item);
        TDrawRect* frame = data ? stackAt(data->ZOrder()) : nullptr;
        if (!frame)
            return;
        if (frame == d.SenderBlock())
            wholeBlockSender();
        frame->SetDesignRect(data->GetRect(side));
    } else if (kind == UndoZOrder) {
        if (auto* data = dynamic_cast<TZOrderUndoData*>(&item))
            ApplyZOrderItem(*data, side, stack);
    }
}

// ---- clipboard, delete, background ----

void TDesignEditor::Copy() const
{
    CopyFramesToClipboard(d.Selection);
}

bool TDesignEditor::Paste()
{
    const auto& clipboard = FrameClipboard();
    std::vector<std::unique_ptr<TDrawRect>> frames;
    if (clipboard)
        frames = ReadClipboardFrames(*clipboard);
    if (frames.empty())
        return false;
    d.Selection.clear();
    d.FocusedIndex = -1;
    auto action = std::make_unique<TUndoDatas>(UndoAdd);
    qint32 minLeft = INT32_MAX, minTop = INT32_MAX;
    for (const auto& frame : frames) {
        minLeft = std::min(minLeft, frame->GetDesignRect().left);
        minTop = std::min(minTop, frame->GetDesignRect().top);
    }
    for (auto& frame : frames) {
        frame->SetDesignRect(PastedRect(frame->GetDesignRect().Moved(-minLeft, -minTop), d.PaperPixelSize));
        frame->SetZoom(d.Zoom);
        d.Selection.push_back(addFree(std::move(frame), *action));
    }
    d.FocusedIndex = 0;
    finish(std::move(action));
    return true;
}

bool TDesignEditor::DeleteSelection()
{
    if (!focused())
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoDelete);
    RecordSelection(*action, 0);
    for (int i = int(d.Selection.size()) - 1; i >= 0; --i) {
        TDrawRect* frame = d.Selection[size_t(i)];
        const quint8 kind = frame->GetKind();
        if (!isFreeKind(kind) && kind != KindSenderBlock)
            continue;
        const int index = d.FreeIndex(frame);
        action->AddDrawRect(*frame, stackIndex(frame), index, 0);
        std::erase(d.ZOrder, frame);
        d.Selection.erase(d.Selection.begin() + i);
        if (kind == KindSenderBlock)
            d.SetSenderBlock(nullptr);
        else
            d.TakeFreeFrame(kind - KindIllust, index);
    }
    if (action->Count() == 0)
        return false;
    d.FocusedIndex = std::min(d.FocusedIndex, int(d.Selection.size()) - 1);
    d.Undo.Push(std::move(action));
    d.Modified = true;
    return true;
}

bool TDesignEditor::ClearBackImage()
{
    if (d.BackImage.Mode() == 0)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    action->AddObject(d.BackImage, 0);
    RecordSelection(*action, 0);
    d.BackImage.Clear();
    static_cast<TObjectUndoData*>(action->GetItem(0))->SetStream(1, StreamImage(d.BackImage));
    finish(std::move(action));
    return true;
}

bool TDesignEditor::ResetSenderLayout()
{
    TSenderRect* block = d.SenderBlock();
    if (!block)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    action->AddDrawRect(*block, stackIndex(block), 0, 0);
    RecordSelection(*action, 0);
    block->ResetItemRect(-1);
    action->StoreObject(0, *block, 1);
    TakeSenderPrototype(d, *block);
    finish(std::move(action));
    return true;
}

// ---- texts, figures, QR codes ----

TWordRect* TDesignEditor::AddText(const QStringList& lines, int direction)
{
    return addNew<TWordRect>(
        NewTextFrame(lines, direction == 1, *d.Context.Prototypes->Rects, d.PaperPixelSize, d.Zoom, SnapPitch));
}

TFigureRect* TDesignEditor::AddFigure(const TFigureRect& chosen)
{
    auto figure = std::make_unique<TFigureRect>();
    figure->Assign(chosen);
    TakeFigurePrototype(*d.Context.Prototypes->Rects->Figure, chosen);
    d.Context.Prototypes->SetChanged();
    PlaceNewFrame(*figure, {50, 50, 300, 300}, d.PaperPixelSize, d.Zoom, SnapPitch);
    return addNew<TFigureRect>(std::move(figure));
}

TQRCodeRect* TDesignEditor::AddQRCode(const TQRCodeRect& chosen)
{
    return addNew<TQRCodeRect>(NewQRCodeFrame(chosen, d.PaperPixelSize, d.Zoom, SnapPitch));
}

template <class Frame> Frame* TDesignEditor::addNew(std::unique_ptr<TDrawRect> frame)
{
    auto action = std::make_unique<TUndoDatas>(UndoAdd);
    auto* added = static_cast<Frame*>(placeNew(std::move(frame), *action));
    finish(std::move(action));
    return added;
}

template <class Frame, class Own, class Other> bool TDesignEditor::changeFocused(Own own, Other other)
{
    auto* frame = dynamic_cast<Frame*>(focused());
    if (!frame)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    record(*action, *frame, 0);
    RecordSelection(*action, 0);
    own(*frame);
    action->StoreObject(0, *frame, 1);
    for (TDrawRect* each : d.Selection) {
        if (each == frame)
            continue;
        const QByteArray before = StreamImage(*each);
        if (!other(*each, *frame))
            continue;
        action->AddDrawRect(*each, stackIndex(each), d.FreeIndex(each), 1);
        static_cast<TDrawRectUndoData*>(action->GetItem(action->Count() - 1))->SetStream(0, before);
    }
    finish(std::move(action));
    return true;
}

bool TDesignEditor::EditText(const QStringList& lines, int direction)
{
    const bool horizontal = direction == 1;
    return changeFocused<TWordRect>(
        [&](TWordRect& text) {
            SetTextLines(text, lines);
            SetTextDirection(text, horizontal);
            TakeTextDirection(*d.Context.Prototypes->Rects, horizontal);
        },
        [horizontal](TDrawRect& frame, TWordRect&) {
            if (auto* other = dynamic_cast<TWordRect*>(&frame); other && other->Horizontal() != horizontal) {
                SetTextDirection(*other, horizontal);
                return true;
            }
            auto* block = dynamic_cast<TSenderRect*>(&frame);
            if (!block || block->GetHorizontal() == horizontal)
                return false;
            setSenderDirection(*block, horizontal);
            return true;
        });
}

bool TDesignEditor::ChangeFigure(const TFigureRect& chosen)
{
    return changeFocused<TFigureRect>(
        [&](TFigureRect& figure) {
            TakeKeepingCorner(figure, chosen, d.Zoom, false);
            TakeFigurePrototype(*d.Context.Prototypes->Rects->Figure, chosen);
            d.Context.Prototypes->SetChanged();
        },
        [](TDrawRect& frame, TFigureRect& figure) {
            auto* other = dynamic_cast<TFigureRect*>(&frame);
            if (other)
                TakeFigurePrototype(*other, figure);
            return other != nullptr;
        });
}

bool TDesignEditor::ChangeQRCode(const TQRCodeRect& chosen)
{
    return changeFocused<TQRCodeRect>(
        [&](TQRCodeRect& code) {
            const TRect old = code.GetDesignRect();
            code.Assign(chosen);
            // An empty size takes the symbol's.
            code.SetDesignRect({old.left, old.top, old.left, old.top});
            code.SetZoom(d.Zoom);
        },
        [](TDrawRect& frame, TQRCodeRect& code) {
            auto* other = dynamic_cast<TQRCodeRect*>(&frame);
            if (other)
                TakeQRCodeLook(*other, code);
            return other != nullptr;
        });
}

// ---- looks ----

bool TDesignEditor::SetIllustDisplay(const TIllustRect& chosen)
{
    return changeFocused<TIllustRect>(
        [&](TIllustRect& illust) { TakeKeepingCorner(illust, chosen, d.Zoom, true); },
        [](TDrawRect& frame, TIllustRect& illust) {
            if (auto* other = dynamic_cast<TIllustRect*>(&frame))
                other->SetFrameIndex(illust.FrameIndex());
            TRectFrame* line = nullptr;
            if (auto* other = dynamic_cast<TIllustRect*>(&frame))
                line = &other->Frame();
            else if (auto* text = dynamic_cast<TWordRect*>(&frame))
                line = &text->Frame();
            else if (auto* block = dynamic_cast<TSenderRect*>(&frame))
                line = &block->Frame();
            if (line)
                *line = illust.Frame();
            return line != nullptr;
        });
}

bool TDesignEditor::SetWordDisplay(const TWordRect& chosen)
{
    return changeFocused<TWordRect>(
        [&](TWordRect& text) {
            TakeKeepingCorner(text, chosen, d.Zoom, true);
            TakeTextPrototype(*d.Context.Prototypes->Rects->Text, text);
            d.Context.Prototypes->SetChanged();
        },
        [](TDrawRect& frame, TWordRect& text) {
            if (auto* illust = dynamic_cast<TIllustRect*>(&frame)) {
                illust->Frame() = text.Frame();
            } else if (auto* other = dynamic_cast<TWordRect*>(&frame)) {
                TakeWordLook(*other, text);
            } else if (auto* block = dynamic_cast<TSenderRect*>(&frame)) {
                setSenderDirection(*block, text.Horizontal());
                block->SetFont(text.Font(), text.FontColor());
                block->Frame() = text.Frame();
            } else {
                return false;
            }
            return true;
        });
}

bool TDesignEditor::RestorePictureSize()
{
    if (!dynamic_cast<TIllustRect*>(focused()))
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoMove);
    RecordSelection(*action, 0);
    for (TDrawRect* frame : d.Selection) {
        auto* illust = dynamic_cast<TIllustRect*>(frame);
        if (!illust)
            continue;
        action->AddRect(illust->GetDesignRect(), stackIndex(illust), -1, 0);
        illust->SetDesignRect(NaturalPictureRect(*illust, d.PrintableArea, d.PaperPixelSize));
        action->StoreRect(action->Count() - 1, illust->GetDesignRect(), 1);
    }
    finish(std::move(action));
    return true;
}

// ---- pictures ----

bool TDesignEditor::AddIllustration(const QString& path, QPoint topLeft, bool asNew, TUndoDatas& action)
{
    TBusyCursor busy;
    int dpi = 72;
    const std::optional<TGraphic> picture = LoadPicture(path, dpi);
    auto* replaced = asNew ? nullptr : dynamic_cast<TIllustRect*>(focused());
    if (!picture || (!asNew && !replaced))
        return false;
    if (replaced) {
        replaced->SetGraphic(&*picture);
        replaced->SetResolution(dpi);
        action.StoreObject(0, *replaced, 1);
    } else {
        TDrawRect* added = addFree(
            NewIllustFrame(*picture, dpi, topLeft, d.PrintableArea, d.PaperPixelSize, d.Zoom, SnapPitch), action);
        d.Selection.push_back(added);
    }
    d.Modified = true;
    return true;
}

bool TDesignEditor::intake(quint8 kind, Intake add)
{
    const std::vector<TDrawRect*> selection = d.Selection;
    const int focus = d.FocusedIndex;
    auto action = std::make_unique<TUndoDatas>(kind);
    if (kind == UndoAdd) {
        d.Selection.clear();
        d.FocusedIndex = -1;
    } else {
        record(*action, *focused(), 0);
        RecordSelection(*action, 0);
    }
    if (!add(*action)) {
        d.Selection = selection;
        d.FocusedIndex = focus;
        return false;
    }
    if (kind == UndoAdd) {
        // The last picture added is focused.
        d.FocusedIndex = int(d.Selection.size()) - 1;
        wholeBlockSender();
    }
    finish(std::move(action));
    return true;
}

bool TDesignEditor::TakePickedImage(const QString& path)
{
    const bool asNew = !dynamic_cast<TIllustRect*>(focused());
    const QPoint corner(std::max(d.PrintableArea.left, 0), std::max(d.PrintableArea.top, 0));
    return intake(asNew ? UndoAdd : UndoChange,
                  [&](TUndoDatas& action) { return AddIllustration(path, corner, asNew, action); });
}

bool TDesignEditor::DropFiles(const QStringList& paths, QPoint panelPoint)
{
    return intake(UndoAdd, [&](TUndoDatas& action) {
        return AddCascade(paths, panelPoint, d.Zoom, [&](const QString& path, QPoint at) {
                   return AddIllustration(path, at, true, action);
               }) > 0;
    });
}
