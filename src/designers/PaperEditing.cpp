// Paper view model: zoom and layout, grid, selection, drag outlines, drops, arrow keys and the half turn.
#include "designers/PaperEditing.h"

#include "core/AppSub.h"
#include "designers/LayoutDocument.h"
#include "designers/UndoList.h"
#include "layoutobjects/BarcodeRect.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/MetaRect.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/SenderRect.h"

#include <algorithm>
#include <cmath>

namespace {

qint32 round32(double value)
{
    return qint32(RoundHalfAway(value));
}

TRect bounds(qint32 left, qint32 top, qint32 width, qint32 height)
{
    return {left, top, left + width, top + height};
}

} // namespace

QString ZoomCaption(int index)
{
    if (index <= ZoomFit || index >= ZoomEntryCount)
        return QStringLiteral("用紙全体");
    return QStringLiteral("%1%").arg(qRound(ZoomFactors[size_t(index)] * 100));
}

QString ZoomStatusText(double zoom)
{
    return QStringLiteral("  表示： %1%").arg(RoundHalfAway(zoom * 100));
}

TViewSize ComputeViewSize(double factor, QSize available, QSize page)
{
    TViewSize size;
    const int pw = qMax(1, page.width()), ph = qMax(1, page.height());
    size.zoom = factor;
    if (factor == 0) {
        size.zoom = qMin(double(available.width() - 2 * PaperMargin) / pw,
                         double(available.height() - 2 * PaperMargin) / ph);
        // A box smaller than the margins still shows a dot of paper.
        if (size.zoom <= 0)
            size.zoom = 1.0 / qMax(pw, ph);
    }
    size.width = int(std::nearbyint(pw * size.zoom)) + 2 * PaperMargin;
    size.height = int(std::nearbyint(ph * size.zoom)) + 2 * PaperMargin;
    return size;
}

int GridPitch(int gridSize)
{
    static constexpr std::array<int, 4> pitches{0, 15, 25, 35};
    return gridSize < 0 || gridSize > 3 ? 0 : pitches[size_t(gridSize)];
}

int SnapToPitch(int v, int pitch)
{
    return pitch <= 0 ? v : int(RoundHalfAway(double(v) / pitch)) * pitch;
}

int ArrowGridEdge(int edge, int pitch, bool decrease)
{
    if (pitch <= 0)
        return edge;
    if (decrease)
        return (int(std::ceil(double(edge - 2) / pitch)) - 1) * pitch;
    return (int(std::trunc(double(edge + 2) / pitch)) + 1) * pitch;
}

TRect NormalizedRect(const TRect& r)
{
    return {qMin(r.left, r.right), qMin(r.top, r.bottom), qMax(r.left, r.right), qMax(r.top, r.bottom)};
}

bool RectsIntersect(const TRect& a, const TRect& b)
{
    return qMax(a.left, b.left) < qMin(a.right, b.right) && qMax(a.top, b.top) < qMin(a.bottom, b.bottom);
}

TRect UnionRect(const TRect& a, const TRect& b)
{
    return {qMin(a.left, b.left), qMin(a.top, b.top), qMax(a.right, b.right), qMax(a.bottom, b.bottom)};
}

TRect BringInsidePaper(const TRect& design, QSize paper)
{
    TRect r = design;
    const int w = r.Width(), h = r.Height();
    if (r.right <= 0)
        r = r.Moved(-r.left, 0);
    else if (r.left >= paper.width())
        r = r.Moved(w > paper.width() ? -r.left : paper.width() - r.right, 0);
    if (r.bottom <= 0)
        r = r.Moved(0, -r.top);
    else if (r.top >= paper.height())
        r = r.Moved(0, h > paper.height() ? -r.top : paper.height() - r.bottom);
    return r;
}

TRect RotatedRect(const TRect& d, QSize paper)
{
    const int w = paper.width(), h = paper.height();
    return {w - d.right, h - d.bottom, w - d.left, h - d.top};
}

namespace {

// The resized union for a pointer delta: the handle's edges move, snapped to the grid, and with Shift the
// other axis follows the union's aspect ratio.
TRect resizedUnion(const TRect& u, QPoint delta, const TDragMode& mode, bool shift, int pitch)
{
    const auto snap = [pitch](int v) { return pitch > 0 ? SnapToPitch(v, pitch) : v; };
    TRect n = u;
    if (mode.hzone == ZoneLeft)
        n.left = snap(u.left + delta.x());
    else if (mode.hzone == ZoneRight)
        n.right = snap(u.right + delta.x());
    if (mode.vzone == ZoneTop)
        n.top = snap(u.top + delta.y());
    else if (mode.vzone == ZoneBottom)
        n.bottom = snap(u.bottom + delta.y());
    // A union without width or height has no ratio to keep.
    if (!shift || u.Width() == 0 || u.Height() == 0)
        return n;

    const double a = double(u.Width()) / u.Height();
    int dx = 0, dy = 0;
    double sx = 0, sy = 0;
    if (mode.hzone == ZoneLeft || mode.hzone == ZoneRight) {
        dx = mode.hzone == ZoneLeft ? n.left - u.left : n.right - u.right;
        sx = double(n.Width()) / u.Width();
    }
    if (mode.vzone == ZoneTop || mode.vzone == ZoneBottom) {
        dy = mode.vzone == ZoneTop ? n.top - u.top : n.bottom - u.bottom;
        sy = double(n.Height()) / u.Height();
    }
    const bool topLeft = mode.hzone == ZoneLeft && mode.vzone == ZoneTop;
    if (std::abs(sx) >= std::abs(sy)) {
        dy = round32(dx / a);
        if ((mode.hzone == ZoneRight && mode.vzone == ZoneTop) || (mode.hzone == ZoneLeft && !topLeft))
            dy = -dy;
    } else {
        dx = round32(dy * a);
        if ((mode.vzone == ZoneTop && !topLeft) || (mode.hzone == ZoneLeft && mode.vzone == ZoneBottom))
            dx = -dx;
    }
    n = u;
    if (mode.hzone == ZoneLeft)
        n.left = u.left + dx;
    else if (mode.hzone == ZoneRight)
        n.right = u.right + dx;
    else if (mode.hzone == ZoneCentre) {
        n.left = u.left - dx / 2;
        n.right = u.right + dx / 2;
    }
    if (mode.vzone == ZoneTop)
        n.top = u.top + dy;
    else if (mode.vzone == ZoneBottom)
        n.bottom = u.bottom + dy;
    else if (mode.vzone == ZoneCentre) {
        n.top = u.top - dy / 2;
        n.bottom = u.bottom + dy / 2;
    }
    return n;
}

} // namespace

std::vector<TRect> DragOutlines(const std::vector<TRect>& frames, const TRect& focused, QPoint delta,
                                const TDragMode& mode, bool shift, int pitch)
{
    std::vector<TRect> outlines = frames;
    if (frames.empty())
        return outlines;
    if (!mode.resize) {
        int dx = delta.x(), dy = delta.y();
        if (pitch > 0) {
            const TRect moved = focused.Moved(dx, dy);
            dx = SnapToPitch(moved.left, pitch) - focused.left;
            dy = SnapToPitch(moved.top, pitch) - focused.top;
        }
        if (shift) {
            if (std::abs(dx) <= std::abs(dy))
                dx = 0;
            else
                dy = 0;
        }
        for (TRect& r : outlines)
            r = r.Moved(dx, dy);
        return outlines;
    }
    TRect u = frames.front();
    for (const TRect& f : frames)
        u = UnionRect(u, f);
    const TRect n = resizedUnion(u, delta, mode, shift, pitch);
    // Along an axis without extent every frame takes the new union's side.
    const double sx = u.Width() ? double(n.Width()) / u.Width() : 1.0;
    const double sy = u.Height() ? double(n.Height()) / u.Height() : 1.0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const TRect& f = frames[i];
        outlines[i] = bounds(n.left + round32((f.left - u.left) * sx), n.top + round32((f.top - u.top) * sy),
                             u.Width() ? round32(f.Width() * sx) : n.Width(),
                             u.Height() ? round32(f.Height() * sy) : n.Height());
    }
    return outlines;
}

TPaperModel PaperModelOf(TLayoutDocument& document)
{
    TPaperModel m;
    m.Stacking = &document.Stacking;
    m.Selection = &document.Selection;
    m.FocusIndex = &document.FocusIndex;
    m.Zoom = &document.Zoom;
    m.DesignSize = &document.DesignSize;
    m.PrintArea = &document.PrintArea;
    m.Background = &document.Background;
    m.Undo = &document.Undo;
    m.Modified = &document.Modified;
    m.DocumentOpen = &document.DocumentOpen;
    TLayoutDocument* d = &document;
    m.ShowBackground = [d] { return !(d->Paper.Kind == PaperEnvelope && d->SenderDisplayMode == 2); };
    m.FixedIndex = [d](const TDrawRect* frame) {
        const auto& set = d->CurrentSet();
        const auto it = std::find(set.begin(), set.end(), frame);
        return it == set.end() ? -1 : int(it - set.begin());
    };
    return m;
}

namespace {

int stackingIndex(const TPaperModel& model, const TDrawRect* frame)
{
    const auto& s = *model.Stacking;
    const auto it = std::find(s.begin(), s.end(), frame);
    return it == s.end() ? -1 : int(it - s.begin());
}

} // namespace

void StoreUndoSelection(TUndoDatas& action, const TPaperModel& model, quint8 side)
{
    const auto& selection = *model.Selection;
    action.SetSelectionCount(side, int(selection.size()));
    for (size_t i = 0; i < selection.size(); ++i)
        action.SetSelection(side, int(i), stackingIndex(model, selection[i]));
    action.SetFocused(side, *model.FocusIndex);
}

TDrawRect* TPaperEditor::Focused() const
{
    const auto& selection = *m_model.Selection;
    const int focus = *m_model.FocusIndex;
    return focus >= 0 && focus < int(selection.size()) ? selection[size_t(focus)] : nullptr;
}

int TPaperEditor::HitTest(int x, int y) const
{
    const auto& stacking = *m_model.Stacking;
    for (size_t i = 0; i < stacking.size(); ++i)
        if (stacking[i]->ContainsPoint(x, y))
            return int(i);
    return -1;
}

void TPaperEditor::Click(int x, int y, bool ctrl)
{
    // In item mode a click inside the block picks an item (or none) and keeps the selection; a click
    // outside returns the block to whole-block mode and selects as usual.
    if (TSenderRect* block = itemModeBlock()) {
        if (block->GetBlockScreenRect().Contains(x, y)) {
            block->ContainsPoint(x, y);
            return;
        }
        block->SetWholeBlock(true);
    }
    auto& selection = *m_model.Selection;
    int& focus = *m_model.FocusIndex;
    int oldFocus = focus;
    focus = -1;
    const int hit = HitTest(x, y);
    if (hit >= 0) {
        TDrawRect* frame = (*m_model.Stacking)[size_t(hit)];
        const auto it = std::find(selection.begin(), selection.end(), frame);
        if (it == selection.end()) {
            if (!ctrl)
                selection.clear();
            selection.push_back(frame);
            focus = int(selection.size()) - 1;
        } else if (!ctrl) {
            focus = int(it - selection.begin());
        } else {
            const int removed = int(it - selection.begin());
            selection.erase(it);
            if (oldFocus >= removed)
                --oldFocus;
        }
    }
    if (focus < 0) {
        if (!ctrl)
            selection.clear();
        else
            focus = oldFocus;
    }
}

void TPaperEditor::SelectInBand(const TRect& band, bool ctrl)
{
    const TRect b = NormalizedRect(band);
    auto& selection = *m_model.Selection;
    const auto& stacking = *m_model.Stacking;
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        if (!RectsIntersect((*it)->GetScreenRect(), b))
            continue;
        if (std::find(selection.begin(), selection.end(), *it) != selection.end())
            continue;
        selection.push_back(*it);
        *m_model.FocusIndex = int(selection.size()) - 1;
    }
}

TDragMode TPaperEditor::ResizeModeAt(int x, int y) const
{
    TDragMode mode;
    mode.resize = true;
    for (const TDrawRect* frame : *m_model.Selection) {
        const quint16 zone = frame->GetHandleZone(x, y);
        const quint8 h = zone & 0xFF, v = zone >> 8;
        if (h != ZoneNone && v != ZoneNone) {
            mode.hzone = h;
            mode.vzone = v;
            break;
        }
    }
    return mode;
}

std::vector<TRect> TPaperEditor::Outlines(QPoint delta, const TDragMode& mode, bool shift, int pitch) const
{
    std::vector<TRect> frames;
    for (const TDrawRect* frame : *m_model.Selection)
        frames.push_back(frame->GetScreenRect());
    const TDrawRect* focused = Focused();
    return DragOutlines(frames, focused ? focused->GetScreenRect() : TRect{}, delta, mode, shift, pitch);
}

void TPaperEditor::Drop(const std::vector<TRect>& outlines)
{
    auto& selection = *m_model.Selection;
    if (outlines.size() != selection.size() || selection.empty())
        return;
    TSenderRect* block = itemModeBlock();
    if (block && block->SelectedMember() < 0)
        return;
    auto action = std::make_unique<TUndoDatas>(block ? UndoChange : UndoMove);
    StoreUndoSelection(*action, m_model, 0);
    const double zoom = *m_model.Zoom;
    const int minimum = round32(zoom * 10);
    for (size_t i = 0; i < selection.size(); ++i) {
        TDrawRect* frame = selection[i];
        TRect r = NormalizedRect(outlines[i]);
        if (r.Width() < minimum)
            r.right = r.left + minimum;
        if (r.Height() < minimum)
            r.bottom = r.top + minimum;
        const TRect before = frame->GetDesignRect();
        recordBefore(*action, *frame, block);
        const TRect screen = frame->GetScreenRect();
        if (r.Width() == screen.Width() && r.Height() == screen.Height()) {
            if (zoom != 0)
                frame->SetDesignRect(before.Moved(round32((r.left - screen.left) / zoom),
                                                  round32((r.top - screen.top) / zoom)));
        } else {
            frame->SetScreenRect(r);
        }
        const TRect inside = BringInsidePaper(frame->GetDesignRect(), *m_model.DesignSize);
        if (!(inside == frame->GetDesignRect()))
            frame->SetDesignRect(inside);
        recordAfter(*action, *frame, block);
    }
    StoreUndoSelection(*action, m_model, 1);
    pushAction(std::move(action));
    if (block && m_model.ItemDropped)
        m_model.ItemDropped();
}

bool TPaperEditor::ArrowKey(int key, bool ctrl, bool shift, int pitch)
{
    const TDrawRect* focused = Focused();
    if (!focused || key < Qt::Key_Left || key > Qt::Key_Down)
        return false;
    const bool horizontal = key == Qt::Key_Left || key == Qt::Key_Right;
    const bool decrease = key == Qt::Key_Left || key == Qt::Key_Up;
    int dx = 0, dy = 0;
    if (pitch > 0) {
        const TRect s = focused->GetScreenRect();
        const int edge = horizontal ? (ctrl ? s.right : s.left) : (ctrl ? s.bottom : s.top);
        const double zoom = *m_model.Zoom;
        const int delta = zoom == 0 ? 0 : round32((ArrowGridEdge(edge, pitch, decrease) - edge) / zoom);
        (horizontal ? dx : dy) = delta;
    } else {
        const int step = shift ? 10 : 1;
        (horizontal ? dx : dy) = decrease ? -step : step;
    }

    TSenderRect* block = itemModeBlock();
    if (block && block->SelectedMember() < 0)
        return false;
    auto action = std::make_unique<TUndoDatas>(block ? UndoChange : UndoMove);
    StoreUndoSelection(*action, m_model, 0);
    for (TDrawRect* frame : *m_model.Selection) {
        const TRect d = frame->GetDesignRect();
        recordBefore(*action, *frame, block);
        TRect r;
        if (ctrl) {
            r = NormalizedRect({d.left, d.top, d.right + dx, d.bottom + dy});
            if (r.Width() < 10)
                r.right = r.left + 10;
            if (r.Height() < 10)
                r.bottom = r.top + 10;
        } else {
            r = d.Moved(dx, dy);
        }
        frame->SetDesignRect(BringInsidePaper(r, *m_model.DesignSize));
        recordAfter(*action, *frame, block);
    }
    StoreUndoSelection(*action, m_model, 1);
    pushAction(std::move(action));
    return true;
}

void RotateFrames(const std::vector<TDrawRect*>& frames, QSize paper)
{
    for (TDrawRect* frame : frames) {
        if (auto* barcode = dynamic_cast<TBarcodeRect*>(frame)) {
            barcode->Rotate180();
        } else if (auto* illust = dynamic_cast<TIllustRect*>(frame)) {
            illust->Rotate(TurnHalf);
        } else if (auto* figure = dynamic_cast<TFigureRect*>(frame)) {
            if (figure->FigureKind() == FigureSector)
                figure->SetSectorDirection(figure->SectorDirection() ^ 3);
            if (figure->Gradient()) {
                const qint32 a = figure->GradientAngle();
                figure->SetGradientAngle(a < 180 ? a + 180 : a - 180);
            }
        } else if (auto* qr = dynamic_cast<TQRCodeRect*>(frame)) {
            qr->SetUpsideDown(!qr->UpsideDown());
        } else if (auto* text = dynamic_cast<TMetaRect*>(frame)) {
            text->SetUpsideDown(!text->UpsideDown());
        } else if (auto* sender = dynamic_cast<TSenderRect*>(frame)) {
            sender->SetUpsideDown(!sender->GetUpsideDown());
        }
        frame->SetDesignRect(RotatedRect(frame->GetDesignRect(), paper));
        frame->UpdateImage(true);
    }
}

void TPaperEditor::RotateLayout()
{
    RotateFrames(*m_model.Stacking, *m_model.DesignSize);
}

TSenderRect* TPaperEditor::itemModeBlock() const
{
    return m_model.ItemModeBlock ? m_model.ItemModeBlock() : nullptr;
}

// In item mode the block's image, else the frame's design rect.
void TPaperEditor::recordBefore(TUndoDatas& action, const TDrawRect& frame, const TSenderRect* block) const
{
    const int z = stackingIndex(m_model, &frame);
    if (&frame == block)
        action.AddDrawRect(frame, z, -1, 0);
    else
        action.AddRect(frame.GetDesignRect(), z, m_model.FixedIndex ? m_model.FixedIndex(&frame) : -1, 0);
}

void TPaperEditor::recordAfter(TUndoDatas& action, const TDrawRect& frame, const TSenderRect* block) const
{
    if (&frame == block)
        action.StoreObject(action.Count() - 1, frame, 1);
    else
        action.StoreRect(action.Count() - 1, frame.GetDesignRect(), 1);
}

void TPaperEditor::markModified()
{
    if (m_model.Modified)
        *m_model.Modified = true;
}

void TPaperEditor::pushAction(std::unique_ptr<TUndoDatas> action)
{
    if (m_model.Undo)
        m_model.Undo->Push(std::move(action));
    markModified();
}
