// The designers' editing commands on the address-side document.
#include "designers/LayoutCommands.h"

#include "core/AppSub.h"
#include "designers/DesignerShared.h"
#include "designers/FrameClipboard.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/WordRect.h"

#include <algorithm>
#include <cmath>

namespace {

qint32 round32(double value)
{
    return qint32(RoundHalfAway(value));
}

TRect sized(qint32 left, qint32 top, qint32 width, qint32 height)
{
    return {left, top, left + width, top + height};
}

void takeFigureLook(TFigureRect& target, const TFigureRect& source)
{
    TakeFigurePrototype(target, source);
    target.SetSectorDirection(source.SectorDirection());
}

// The face, character set and style of one font with the size and turn of another.
TFontSpec fontLike(TFontSpec own, const TFontSpec& chosen)
{
    own.name = chosen.name;
    own.charset = chosen.charset;
    own.style = chosen.style;
    return own;
}

} // namespace

TRect NewFrameRect(const TRect& start, QSize paper)
{
    TRect r = start;
    const int w = r.Width(), h = r.Height();
    if (w > 0 && h > 0 && (paper.width() < w || paper.height() < h)) {
        const double s = std::min(double(paper.width()) / w, double(paper.height()) / h);
        r = {round32(r.left * s), round32(r.top * s), round32(r.right * s), round32(r.bottom * s)};
    }
    if (r.right > paper.width())
        r = r.Moved(paper.width() - r.right, 0);
    if (r.bottom > paper.height())
        r = r.Moved(0, paper.height() - r.bottom);
    return r;
}

QSize PictureDesignSize(QSize pixels, int dpi, const TRect& printArea, QSize paper)
{
    if (dpi <= 0)
        dpi = 96;
    int w = std::max(1, round32(double(pixels.width()) / dpi * 96));
    int h = std::max(1, round32(double(pixels.height()) / dpi * 96));
    const int availableW = std::min(printArea.right, paper.width()) - std::max(printArea.left, 0);
    const int availableH = std::min(printArea.bottom, paper.height()) - std::max(printArea.top, 0);
    const double s = std::min(double(availableW) / w, double(availableH) / h);
    if (s < 1 && s > 0) {
        w = round32(w * s);
        h = round32(h * s);
    }
    return {w, h};
}

TRect TurnedRect(const TRect& r)
{
    return AtCorner(r, sized(r.left, r.top, r.Height(), r.Width()));
}

TRect AtCorner(const TRect& old, const TRect& now)
{
    TRect r = sized(old.left, old.top, now.Width(), now.Height());
    if (r.right < 0)
        r = sized(0, r.top, r.Width(), r.Height());
    if (r.bottom < 0)
        r = sized(r.left, 0, r.Width(), r.Height());
    return r;
}

void SetTextDirection(TWordRect& text, bool horizontal)
{
    if (text.Horizontal() == horizontal)
        return;
    text.SetHorizontal(horizontal);
    text.SetDesignRect(TurnedRect(text.GetDesignRect()));
}

void SetTextLines(TWordRect& text, const QStringList& lines)
{
    text.SetLineCount(int(lines.size()));
    for (int i = 0; i < lines.size(); ++i)
        text.SetLine(i, lines[i]);
}

QStringList TextLines(const TWordRect& text)
{
    QStringList lines;
    for (int i = 0; i < text.GetLineCount(); ++i)
        lines << text.GetLine(i);
    return lines;
}

void TakeTextDirection(TDefaultRects& prototypes, bool horizontal)
{
    if (prototypes.Text->Horizontal() == horizontal)
        return;
    prototypes.Text->SetHorizontal(horizontal);
    prototypes.Changed = true;
}

void TakeWordLook(TWordRect& target, const TWordRect& source)
{
    SetTextDirection(target, source.Horizontal());
    target.SetFont(source.Font(), source.FontColor());
    target.SetFixedFontSize(source.FixedSizeIndex());
    target.SetLineSpacing(source.LineSpacing());
    target.SetAspectRatio(source.AspectRatio());
    target.SetAlignment(source.Alignment());
    target.SetAutoWrap(source.AutoWrap());
    target.Frame() = source.Frame();
}

void TakeQRCodeLook(TQRCodeRect& target, const TQRCodeRect& source)
{
    target.SetModuleSize(source.ModuleSize());
    target.SetForeColor(source.ForeColor());
    target.SetBackColor(source.BackColor());
}

void TakeKeepingCorner(TDrawRect& frame, const TDrawRect& chosen, double zoom, bool pullBack)
{
    const TRect old = frame.GetDesignRect();
    frame.Assign(chosen);
    const TRect now = frame.GetDesignRect();
    frame.SetDesignRect(pullBack ? AtCorner(old, now) : sized(old.left, old.top, now.Width(), now.Height()));
    frame.SetZoom(zoom);
}

void SnapCorner(TDrawRect& frame, int pitch)
{
    if (pitch <= 0)
        return;
    const TRect s = frame.GetScreenRect();
    const int left = int(std::trunc(double(s.left) / pitch)) * pitch;
    const int top = int(std::trunc(double(s.top) / pitch)) * pitch;
    frame.SetScreenRect(sized(left, top, s.Width(), s.Height()));
}

void PlaceNewFrame(TDrawRect& frame, const TRect& start, QSize paper, double zoom, int pitch)
{
    frame.SetDesignRect(NewFrameRect(start, paper));
    frame.SetZoom(zoom);
    if (pitch > 0) {
        const TRect s = frame.GetScreenRect();
        const double p = pitch;
        frame.SetScreenRect({int(std::trunc(s.left / p)) * pitch, int(std::trunc(s.top / p)) * pitch,
                             int(std::ceil(s.right / p)) * pitch, int(std::ceil(s.bottom / p)) * pitch});
    }
}

std::unique_ptr<TWordRect> NewTextFrame(const QStringList& lines, bool horizontal, TDefaultRects& prototypes,
                                        QSize paper, double zoom, int pitch)
{
    auto text = std::make_unique<TWordRect>();
    SetTextLines(*text, lines);
    TakeTextPrototype(*text, *prototypes.Text);
    text->SetHorizontal(horizontal);
    TakeTextDirection(prototypes, horizontal);
    PlaceNewFrame(*text, horizontal ? TRect{50, 50, 300, 200} : TRect{50, 50, 200, 300}, paper, zoom, pitch);
    return text;
}

std::unique_ptr<TQRCodeRect> NewQRCodeFrame(const TQRCodeRect& chosen, QSize paper, double zoom, int pitch)
{
    auto code = std::make_unique<TQRCodeRect>();
    code->Assign(chosen);
    // The frame sizes itself from its symbol.
    code->SetDesignRect({50, 50, 50, 50});
    code->UpdateImage(true);
    const TRect r = code->GetDesignRect();
    if (r.right > paper.width() || r.bottom > paper.height())
        code->SetDesignRect({0, 0, 0, 0});
    code->SetZoom(zoom);
    SnapCorner(*code, pitch);
    return code;
}

TRect PastedRect(const TRect& moved, QSize paper)
{
    TRect r = moved;
    if (r.right < 0)
        r = r.Moved(std::abs(r.left), 0);
    else if (r.left > paper.width())
        r = r.Width() > paper.width() ? r.Moved(-r.left, 0) : r.Moved(paper.width() - r.right, 0);
    if (r.bottom < 0)
        r = r.Moved(0, std::abs(r.top));
    else if (r.top > paper.height())
        r = r.Height() > paper.height() ? r.Moved(0, -r.top) : r.Moved(0, paper.height() - r.bottom);
    return r;
}

TRect NaturalPictureRect(const TIllustRect& illust, const TRect& printArea, QSize paper)
{
    const TRect r = illust.GetDesignRect();
    const QSize size = PictureDesignSize(illust.GetBitmap().size(), illust.Resolution(), printArea, paper);
    return sized(std::max(r.left, 0), std::max(r.top, 0), size.width(), size.height());
}

void RestoreUndoSelection(const TUndoDatas& action, quint8 side, const std::vector<TDrawRect*>& stacking,
                          std::vector<TDrawRect*>& selection, int& focus)
{
    selection.clear();
    for (int i = 0; i < action.GetSelectionCount(side); ++i) {
        const int z = action.GetSelection(side, i);
        if (z >= 0 && z < int(stacking.size()))
            selection.push_back(stacking[size_t(z)]);
    }
    const int focused = action.GetFocused(side);
    focus = focused < int(selection.size()) ? focused : int(selection.size()) - 1;
}

TLayoutEditor::TLayoutEditor(TLayoutDocument& document, TFixedSetData sets) : d(document), m_sets(sets) {}

TDrawRect* TLayoutEditor::focused() const
{
    if (d.FocusIndex < 0 || d.FocusIndex >= int(d.Selection.size()))
        return nullptr;
    return d.Selection[size_t(d.FocusIndex)];
}

int TLayoutEditor::fixedIndex(const TDrawRect* frame) const
{
    const auto& set = d.CurrentSet();
    const auto it = std::find(set.begin(), set.end(), frame);
    return it == set.end() ? -1 : int(it - set.begin());
}

TDrawRect* TLayoutEditor::fixedAt(int index) const
{
    const auto& set = d.CurrentSet();
    return index >= 0 && index < int(set.size()) ? set[size_t(index)] : nullptr;
}

int TLayoutEditor::listIndex(const TDrawRect* frame) const
{
    return frame->GetKind() < KindIllust ? fixedIndex(frame) : d.FreeIndex(frame);
}

void TLayoutEditor::record(TUndoDatas& action, const TDrawRect& frame, quint8 side) const
{
    action.AddDrawRect(frame, d.StackingIndex(&frame), listIndex(&frame), side);
}

void TLayoutEditor::finish(std::unique_ptr<TUndoDatas> action)
{
    StoreUndoSelection(*action, 1);
    d.Undo.Push(std::move(action));
    d.Modified = true;
}

void TLayoutEditor::selectOnly(TDrawRect* frame)
{
    d.Selection = {frame};
    d.FocusIndex = 0;
}

void TLayoutEditor::placeNew(TDrawRect& frame, const TRect& start)
{
    PlaceNewFrame(frame, start, d.DesignSize, d.Zoom, SnapPitch);
}

TDrawRect* TLayoutEditor::addFree(std::unique_ptr<TDrawRect> frame, TUndoDatas& action)
{
    const int kind = frame->GetKind() - KindIllust;
    TDrawRect* added = d.AddFreeFrame(kind, std::move(frame));
    d.Stacking.insert(d.Stacking.begin(), added);
    action.AddDrawRect(*added, 0, int(d.FreeFrames(kind).size()) - 1, 1);
    return added;
}

void TLayoutEditor::remerge()
{
    if (d.LabelMode)
        d.Remerge();
    else if (d.Paper.Count1 < 5)
        d.FillSimpleFrames();
    else
        d.ShowRecordData(-1);
}

// ---- texts, figures, QR codes ----

TWordRect* TLayoutEditor::AddText(const QStringList& lines, int direction)
{
    auto action = std::make_unique<TUndoDatas>(UndoAdd);
    auto text = NewTextFrame(lines, direction == 1, *d.Context.Prototypes, d.DesignSize, d.Zoom, SnapPitch);
    auto* added = static_cast<TWordRect*>(addFree(std::move(text), *action));
    selectOnly(added);
    finish(std::move(action));
    return added;
}

bool TLayoutEditor::EditText(const QStringList& lines, int direction)
{
    auto* text = dynamic_cast<TWordRect*>(focused());
    if (!text)
        return false;
    const bool horizontal = direction == 1;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    record(*action, *text, 0);
    StoreUndoSelection(*action, 0);
    SetTextLines(*text, lines);
    SetTextDirection(*text, horizontal);
    TakeTextDirection(*d.Context.Prototypes, horizontal);
    action->StoreObject(0, *text, 1);
    for (TDrawRect* frame : d.Selection) {
        auto* other = dynamic_cast<TWordRect*>(frame);
        if (!other || other == text || other->Horizontal() == horizontal)
            continue;
        record(*action, *other, 0);
        SetTextDirection(*other, horizontal);
        action->StoreObject(action->Count() - 1, *other, 1);
    }
    finish(std::move(action));
    return true;
}

TFigureRect* TLayoutEditor::AddFigure(const TFigureRect& chosen)
{
    auto action = std::make_unique<TUndoDatas>(UndoAdd);
    auto figure = std::make_unique<TFigureRect>();
    figure->Assign(chosen);
    takeFigureLook(*d.Context.Prototypes->Figure, chosen);
    d.Context.Prototypes->Changed = true;
    placeNew(*figure, {50, 50, 300, 300});
    auto* added = static_cast<TFigureRect*>(addFree(std::move(figure), *action));
    selectOnly(added);
    finish(std::move(action));
    return added;
}

bool TLayoutEditor::ChangeFigure(const TFigureRect& chosen)
{
    auto* figure = dynamic_cast<TFigureRect*>(focused());
    if (!figure)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    record(*action, *figure, 0);
    StoreUndoSelection(*action, 0);
    TakeKeepingCorner(*figure, chosen, d.Zoom, false);
    takeFigureLook(*d.Context.Prototypes->Figure, chosen);
    d.Context.Prototypes->Changed = true;
    action->StoreObject(0, *figure, 1);
    for (TDrawRect* frame : d.Selection) {
        auto* other = dynamic_cast<TFigureRect*>(frame);
        if (!other || other == figure)
            continue;
        record(*action, *other, 0);
        takeFigureLook(*other, *figure);
        action->StoreObject(action->Count() - 1, *other, 1);
    }
    finish(std::move(action));
    return true;
}

TQRCodeRect* TLayoutEditor::AddQRCode(const TQRCodeRect& chosen)
{
    auto action = std::make_unique<TUndoDatas>(UndoAdd);
    auto code = NewQRCodeFrame(chosen, d.DesignSize, d.Zoom, SnapPitch);
    auto* added = static_cast<TQRCodeRect*>(addFree(std::move(code), *action));
    selectOnly(added);
    finish(std::move(action));
    return added;
}

bool TLayoutEditor::ChangeQRCode(const TQRCodeRect& chosen)
{
    auto* code = dynamic_cast<TQRCodeRect*>(focused());
    if (!code)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    record(*action, *code, 0);
    StoreUndoSelection(*action, 0);
    TakeKeepingCorner(*code, chosen, d.Zoom, false);
    action->StoreObject(0, *code, 1);
    for (TDrawRect* frame : d.Selection) {
        auto* other = dynamic_cast<TQRCodeRect*>(frame);
        if (!other || other == code)
            continue;
        record(*action, *other, 0);
        TakeQRCodeLook(*other, *code);
        action->StoreObject(action->Count() - 1, *other, 1);
    }
    finish(std::move(action));
    return true;
}

// ---- display settings and fonts ----

bool TLayoutEditor::SetIllustDisplay(const TIllustRect& chosen)
{
    auto* illust = dynamic_cast<TIllustRect*>(focused());
    if (!illust)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    record(*action, *illust, 0);
    StoreUndoSelection(*action, 0);
    TakeKeepingCorner(*illust, chosen, d.Zoom, true);
    action->StoreObject(0, *illust, 1);
    for (TDrawRect* frame : d.Selection) {
        if (frame == illust)
            continue;
        auto* otherIllust = dynamic_cast<TIllustRect*>(frame);
        auto* otherText = dynamic_cast<TWordRect*>(frame);
        if (!otherIllust && !otherText)
            continue;
        record(*action, *frame, 0);
        if (otherIllust) {
            otherIllust->SetFrameIndex(illust->FrameIndex());
            otherIllust->Frame() = illust->Frame();
        } else {
            otherText->Frame() = illust->Frame();
        }
        action->StoreObject(action->Count() - 1, *frame, 1);
    }
    finish(std::move(action));
    return true;
}

bool TLayoutEditor::SetWordDisplay(const TWordRect& chosen)
{
    auto* text = dynamic_cast<TWordRect*>(focused());
    if (!text)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    record(*action, *text, 0);
    StoreUndoSelection(*action, 0);
    TakeKeepingCorner(*text, chosen, d.Zoom, true);
    TakeTextPrototype(*d.Context.Prototypes->Text, *text);
    d.Context.Prototypes->Changed = true;
    action->StoreObject(0, *text, 1);
    for (TDrawRect* frame : d.Selection) {
        if (frame == text)
            continue;
        auto* meta = dynamic_cast<TMetaRect*>(frame);
        auto* illust = dynamic_cast<TIllustRect*>(frame);
        auto* other = dynamic_cast<TWordRect*>(frame);
        const bool fixedText = meta && !other && frame->GetKind() < KindBarcode;
        if (!fixedText && !illust && !other)
            continue;
        record(*action, *frame, 0);
        if (other) {
            TakeWordLook(*other, *text);
        } else if (illust) {
            illust->Frame() = text->Frame();
        } else {
            meta->SetFont(fontLike(meta->Font(), text->Font()), text->FontColor());
        }
        action->StoreObject(action->Count() - 1, *frame, 1);
    }
    finish(std::move(action));
    return true;
}

bool TLayoutEditor::ApplyFont(const TFontSpec& chosen, quint32 color, bool allFrames)
{
    auto* target = dynamic_cast<TMetaRect*>(focused());
    if (!target)
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    StoreUndoSelection(*action, 0);
    record(*action, *target, 0);
    target->SetFont(fontLike(target->Font(), chosen), color);
    action->StoreObject(0, *target, 1);
    auto selected = [this](const TDrawRect* frame) {
        return std::find(d.Selection.begin(), d.Selection.end(), frame) != d.Selection.end();
    };
    auto take = [&](TDrawRect* frame) {
        auto* meta = dynamic_cast<TMetaRect*>(frame);
        if (!meta || meta == target || (!allFrames && !selected(frame)))
            return;
        record(*action, *meta, 0);
        meta->SetFont(fontLike(meta->Font(), target->Font()), target->FontColor());
        action->StoreObject(action->Count() - 1, *meta, 1);
    };
    for (TDrawRect* frame : d.CurrentSet())
        take(frame);
    for (const auto& text : d.FreeFrames(FreeText))
        take(text.get());
    finish(std::move(action));
    return true;
}

// ---- sizes and places ----

bool TLayoutEditor::RestorePictureSize()
{
    if (!dynamic_cast<TIllustRect*>(focused()))
        return false;
    std::unique_ptr<TUndoDatas> action;
    for (TDrawRect* frame : d.Selection) {
        auto* illust = dynamic_cast<TIllustRect*>(frame);
        if (!illust)
            continue;
        if (!action) {
            action = std::make_unique<TUndoDatas>(UndoMove);
            StoreUndoSelection(*action, 0);
        }
        action->AddRect(illust->GetDesignRect(), d.StackingIndex(illust), -1, 0);
        illust->SetDesignRect(NaturalPictureRect(*illust, d.PrintArea, d.DesignSize));
        action->StoreRect(action->Count() - 1, illust->GetDesignRect(), 1);
    }
    if (!action)
        return false;
    finish(std::move(action));
    return true;
}

template <class Change> bool TLayoutEditor::moveEach(const std::vector<TDrawRect*>& frames, Change change)
{
    std::unique_ptr<TUndoDatas> action;
    for (TDrawRect* frame : frames) {
        if (!action) {
            action = std::make_unique<TUndoDatas>(UndoMove);
            StoreUndoSelection(*action, 0);
        }
        const TRect r = frame->GetDesignRect();
        action->AddRect(r, d.StackingIndex(frame), -1, 0);
        frame->SetDesignRect(change(r));
        action->StoreRect(action->Count() - 1, frame->GetDesignRect(), 1);
    }
    d.Modified = true;
    if (!action)
        return false;
    finish(std::move(action));
    return true;
}

bool TLayoutEditor::CentreOnPaper(TPaperCentre how)
{
    return moveEach(d.Selection, [&](const TRect& r) { return CentredOnPaper(r, how, d.DesignSize); });
}

bool TLayoutEditor::EqualSpacing(TEqualSpacing how)
{
    const std::vector<TFramePlacement> placed = EqualSpacingPlacements(d.Selection, how, d.DesignSize);
    if (placed.empty())
        return false;
    std::vector<TDrawRect*> frames;
    for (const TFramePlacement& p : placed)
        frames.push_back(p.Frame);
    size_t next = 0;
    return moveEach(frames, [&](const TRect&) { return placed[next++].Rect; });
}

bool TLayoutEditor::Align(TFrameAlign how)
{
    const TDrawRect* reference = focused();
    if (!reference)
        return false;
    const TRect f = reference->GetDesignRect();
    std::vector<TDrawRect*> others;
    for (TDrawRect* frame : d.Selection)
        if (frame != reference)
            others.push_back(frame);
    return moveEach(others, [&](const TRect& r) { return AlignedRect(r, f, how); });
}

bool TLayoutEditor::ZOrder(TZOrderMove how)
{
    auto action = std::make_unique<TUndoDatas>(UndoZOrder);
    StoreUndoSelection(*action, 0);
    for (const auto& [to, from] : MoveInStacking(d.Stacking, d.Selection, how))
        action->AddZOrder(to, from);
    d.Modified = true;
    if (action->Count() == 0)
        return false;
    finish(std::move(action));
    return true;
}

void TLayoutEditor::DefaultLayout()
{
    auto action = std::make_unique<TUndoDatas>(UndoMove);
    StoreUndoSelection(*action, 0);
    const auto& set = d.CurrentSet();
    const bool all = focused() == nullptr;
    for (int i = 0; i < int(set.size()); ++i) {
        TDrawRect* frame = set[size_t(i)];
        if (!all && std::find(d.Selection.begin(), d.Selection.end(), frame) == d.Selection.end())
            continue;
        const TPresetRect* preset = nullptr;
        if (d.DetailedSet && i < PresetCount2)
            preset = &d.Paper.Rects2[size_t(i)];
        else if (!d.DetailedSet && i < PresetCount1)
            preset = &d.Paper.Rects1[size_t(i)];
        if (!preset)
            continue;
        const TRect old = frame->GetDesignRect();
        action->AddRect(old, d.StackingIndex(frame), i, 0);
        TRect r{preset->Left, preset->Top, preset->Right, preset->Bottom};
        if (frame->GetKind() == KindBarcode)
            r = CentredRect(r, old.Width(), old.Height());
        frame->SetDesignRect(r);
        action->StoreRect(action->Count() - 1, frame->GetDesignRect(), 1);
    }
    finish(std::move(action));
}

// ---- deleting, the sender and the barcode ----

bool TLayoutEditor::DeleteSelection()
{
    if (!focused())
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoDelete);
    StoreUndoSelection(*action, 0);
    for (int i = int(d.Selection.size()) - 1; i >= 0; --i) {
        TDrawRect* frame = d.Selection[size_t(i)];
        const quint8 kind = frame->GetKind();
        const int z = d.StackingIndex(frame);
        if (kind >= KindIllust && kind <= KindQRCode) {
            const int index = d.FreeIndex(frame);
            action->AddDrawRect(*frame, z, index, 0);
            d.RemoveFromStacking(frame);
            d.Selection.erase(d.Selection.begin() + i);
            d.TakeFreeFrame(kind - KindIllust, index);
        } else if (kind < KindIllust &&
                   (d.DetailedSet || kind == KindBarcode || (d.LabelMode && kind == KindAddition))) {
            // The combined set keeps its fixed frames placed; a label's additional items go like the barcode.
            frame->SetVisible(false);
            action->AddDrawRect(*frame, z, fixedIndex(frame), 0);
            d.RemoveFromStacking(frame);
            d.Selection.erase(d.Selection.begin() + i);
        }
    }
    if (action->Count() == 0)
        return false;
    if (d.FocusIndex >= int(d.Selection.size()))
        d.FocusIndex = int(d.Selection.size()) - 1;
    finish(std::move(action));
    return true;
}

void TLayoutEditor::ShowSender(bool show)
{
    const auto& set = d.CurrentSet();
    const int start = d.DetailedSet ? m_sets.DetailedSenderStart : m_sets.SimpleSenderStart;
    auto action = std::make_unique<TUndoDatas>(show ? UndoAdd : UndoDelete);
    StoreUndoSelection(*action, 0);
    if (show) {
        if (d.SenderDisplayMode == 1)
            d.SenderDisplayMode = 0;
        int p = 0;
        for (int i = start; i < int(set.size()); ++i) {
            TDrawRect* frame = set[size_t(i)];
            if (!frame->Visible() || d.StackingIndex(frame) >= 0)
                continue;
            d.Stacking.insert(d.Stacking.begin() + p, frame);
            frame->SetZoom(d.Zoom);
            action->AddDrawRect(*frame, p, i, 1);
            ++p;
        }
    } else {
        if (d.SenderDisplayMode == 0)
            d.SenderDisplayMode = 1;
        for (int i = start; i < int(set.size()); ++i) {
            TDrawRect* frame = set[size_t(i)];
            const int z = d.StackingIndex(frame);
            if (z < 0)
                continue;
            action->AddDrawRect(*frame, z, i, 0);
            d.RemoveFromStacking(frame);
        }
    }
    d.Selection.clear();
    d.FocusIndex = -1;
    finish(std::move(action));
}

void TLayoutEditor::changePlaced(TUndoDatas& action, TDrawRect& frame, bool placed, bool& first,
                                 const std::function<void()>& change)
{
    action.AddDrawRect(frame, placed ? 0 : d.StackingIndex(&frame), fixedIndex(&frame), 0);
    if (placed && !frame.Visible()) {
        d.Stacking.insert(d.Stacking.begin(), &frame);
        frame.SetZoom(d.Zoom);
        if (first)
            d.Selection.clear();
        first = false;
        d.Selection.push_back(&frame);
        d.FocusIndex = int(d.Selection.size()) - 1;
    } else if (!placed && frame.Visible()) {
        d.RemoveFromStacking(&frame);
        const auto it = std::find(d.Selection.begin(), d.Selection.end(), &frame);
        if (it != d.Selection.end()) {
            const int at = int(it - d.Selection.begin());
            d.Selection.erase(it);
            if (at == d.FocusIndex)
                d.FocusIndex = -1;
            else if (at < d.FocusIndex)
                --d.FocusIndex;
        }
    }
    frame.SetVisible(placed);
    change();
    action.StoreObject(action.Count() - 1, frame, 1);
}

namespace {

TBarcodeRect* barcodeOf(const std::vector<TDrawRect*>& set)
{
    TBarcodeRect* barcode = nullptr;
    for (TDrawRect* frame : set)
        if (frame->GetKind() == KindBarcode)
            barcode = static_cast<TBarcodeRect*>(frame);
    return barcode;
}

} // namespace

bool TLayoutEditor::SetBarcode(bool visible, int sizeIndex)
{
    TBarcodeRect* barcode = barcodeOf(d.CurrentSet());
    if (!barcode || (barcode->Visible() == visible && barcode->SizeIndex() == sizeIndex))
        return false;
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    StoreUndoSelection(*action, 0);
    bool first = true;
    changePlaced(*action, *barcode, visible, first, [&] { barcode->SetSizeIndex(sizeIndex); });
    remerge();
    finish(std::move(action));
    return true;
}

bool TLayoutEditor::SetAdditions(const std::array<TAdditionChoice, 4>& items, bool barcodeOn, int barcodeSize)
{
    auto action = std::make_unique<TUndoDatas>(UndoChange);
    StoreUndoSelection(*action, 0);
    bool first = true;
    const auto& additions = d.Additions(d.DetailedSet);
    for (size_t i = 0; i < additions.size(); ++i) {
        TAdditionRect* item = additions[i];
        const TAdditionChoice& c = items[i];
        if (!item || (c.Checked == item->Visible() && c.Kind == item->ItemKind() &&
                      (c.Kind != AdditionFixedText || c.Text == item->Text())))
            continue;
        changePlaced(*action, *item, c.Checked, first, [&] {
            item->SetItemKind(quint8(c.Kind));
            if (c.Kind == AdditionFixedText) {
                item->SetHeading(QString());
                item->SetText(c.Text);
            }
        });
    }
    TBarcodeRect* barcode = barcodeOf(d.CurrentSet());
    if (barcode && (barcode->Visible() != barcodeOn || barcode->SizeIndex() != barcodeSize))
        changePlaced(*action, *barcode, barcodeOn, first, [&] { barcode->SetSizeIndex(barcodeSize); });
    if (action->Count() == 0)
        return false;
    remerge();
    finish(std::move(action));
    return true;
}

// ---- the clipboard ----

void TLayoutEditor::Copy() const
{
    CopyFramesToClipboard(d.Selection);
}

bool TLayoutEditor::Paste()
{
    const auto& clipboard = FrameClipboard();
    if (!clipboard)
        return false;
    std::vector<std::unique_ptr<TDrawRect>> frames = ReadClipboardFrames(*clipboard);
    if (frames.empty())
        return false;
    d.Selection.clear();
    d.FocusIndex = -1;
    auto action = std::make_unique<TUndoDatas>(UndoAdd);
    qint32 minLeft = INT32_MAX, minTop = INT32_MAX;
    for (const auto& frame : frames) {
        minLeft = std::min(minLeft, frame->GetDesignRect().left);
        minTop = std::min(minTop, frame->GetDesignRect().top);
    }
    const QSize paper = d.DesignSize;
    for (auto& frame : frames) {
        frame->SetDesignRect(PastedRect(frame->GetDesignRect().Moved(-minLeft, -minTop), paper));
        frame->SetZoom(d.Zoom);
        const int kind = frame->GetKind() - KindIllust;
        d.Selection.push_back(d.AddFreeFrame(kind, std::move(frame)));
    }
    for (TDrawRect* frame : d.Selection) {
        d.Stacking.insert(d.Stacking.begin(), frame);
        action->AddDrawRect(*frame, 0, d.FreeIndex(frame), 1);
    }
    d.FocusIndex = 0;
    finish(std::move(action));
    return true;
}
