// The paper view's model side, without widgets: the zoom table and view layout, the grid, hit testing and
// selection, drag outlines with snapping, axis and aspect-ratio keeping, drops, arrow keys and the half turn.
#pragma once

#include "core/Canvas.h"
#include "layoutobjects/DrawRect.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QPainter;
class TLayoutDocument;
class TSenderRect;
class TUndoDatas;
class TUndoList;

// The zoom entries: 0 fits the paper, then fixed factors.
constexpr int ZoomEntryCount = 8;
constexpr int ZoomFit = 0;
constexpr int Zoom100 = 5;
constexpr std::array<double, ZoomEntryCount> ZoomFactors{0, 2.0, 1.75, 1.5, 1.25, 1.0, 0.75, 0.5};
QString ZoomCaption(int index);
// "  表示： N%".
QString ZoomStatusText(double zoom);
// Pixels around the paper on every side.
constexpr int PaperMargin = 20;

// The paper's size on screen: zoom and the spacer's size (paper plus margins).
struct TViewSize
{
    double zoom = 1.0;
    int width = 0;
    int height = 0;
};
// available: the scroll box's inner size; page: design units. A fixed factor is taken as it is.
TViewSize ComputeViewSize(double factor, QSize available, QSize page);

// Grid pitch in screen pixels by grid size 0-3.
int GridPitch(int gridSize);
// The multiple of the pitch nearest to v (halves away from zero).
int SnapToPitch(int v, int pitch);
// An arrow key's new edge on the grid: an edge within 2 pixels past a line counts as on it.
int ArrowGridEdge(int edge, int pitch, bool decrease);

TRect NormalizedRect(const TRect& r);
bool RectsIntersect(const TRect& a, const TRect& b);
TRect UnionRect(const TRect& a, const TRect& b);
// A frame's design rect wholly outside the paper is brought back to its nearest edge; one that overlaps
// the paper at all stays.
TRect BringInsidePaper(const TRect& design, QSize paper);
// The design rect turned half about the paper's centre.
TRect RotatedRect(const TRect& design, QSize paper);
// Turns the frames by 180 degrees about the centre of a paper of that size; twice restores them.
void RotateFrames(const std::vector<TDrawRect*>& frames, QSize paper);

// What a drag does: move, or resize by the handle zones.
struct TDragMode
{
    bool resize = false;
    quint8 hzone = ZoneNone;
    quint8 vzone = ZoneNone;
};
// The drag outlines of the selected frames' screen rects for the pointer's delta from the press point.
// focused: the focused frame's screen rect (the grid snaps it when moving); pitch 0 when not snapping.
std::vector<TRect> DragOutlines(const std::vector<TRect>& frames, const TRect& focused, QPoint delta,
                                const TDragMode& mode, bool shift, int pitch);

// The document state the view edits. Built from an address-side document by PaperModelOf; other designers
// fill it from their own models.
struct TPaperModel
{
    std::vector<TDrawRect*>* Stacking = nullptr; // entry 0 on top
    std::vector<TDrawRect*>* Selection = nullptr;
    int* FocusIndex = nullptr; // into the selection, -1 none
    double* Zoom = nullptr;
    QSize* DesignSize = nullptr;
    TRect* PrintArea = nullptr;
    const QImage* Background = nullptr;
    TUndoList* Undo = nullptr;
    bool* Modified = nullptr;
    // Null when a document is always shown.
    const bool* DocumentOpen = nullptr;
    // Whether the background picture is shown (not for an envelope shown sender-only).
    std::function<bool()> ShowBackground;
    // The frame's index in the fixed set, -1 for a free frame.
    std::function<int(const TDrawRect*)> FixedIndex;
    // Paints a background that is not one picture (colours, gradients, tiles) at the view's zoom.
    std::function<void(QPainter&, double zoom)> DrawBackground;
    // The sender block while its items are placed one by one, else null (unset: never). A drag or an arrow
    // key then changes its selected item and is recorded as a change of the block's image.
    std::function<TSenderRect*()> ItemModeBlock;
    // Follows a drop in item mode.
    std::function<void()> ItemDropped;
};
TPaperModel PaperModelOf(TLayoutDocument& document);

// Records the selection as stacking indexes and the focus on one side of an undo action.
void StoreUndoSelection(TUndoDatas& action, const TPaperModel& model, quint8 side);

// The editing operations of the view on a model.
class TPaperEditor
{
public:
    explicit TPaperEditor(TPaperModel model) : m_model(std::move(model)) {}
    const TPaperModel& Model() const { return m_model; }
    void SetModel(TPaperModel model) { m_model = std::move(model); }

    TDrawRect* Focused() const;
    // The top frame at a screen point, -1 none.
    int HitTest(int x, int y) const;
    // The press on the paper: selects, focuses or (with Ctrl) deselects the frame hit.
    void Click(int x, int y, bool ctrl);
    // The rubber band: every frame it touches joins the selection, the last one focused.
    void SelectInBand(const TRect& band, bool ctrl);
    // The handle zones of the first selected frame with a handle at the point; none when no frame has one.
    TDragMode ResizeModeAt(int x, int y) const;
    // The outlines of the selected frames for a pointer delta.
    std::vector<TRect> Outlines(QPoint delta, const TDragMode& mode, bool shift, int pitch) const;
    // Applies the outlines of a drag (one per selected frame) as one undo action.
    void Drop(const std::vector<TRect>& outlines);
    // An arrow key (Qt::Key_Left .. Qt::Key_Down) on the selection; pitch 0 when not snapping. False when
    // nothing is focused.
    bool ArrowKey(int key, bool ctrl, bool shift, int pitch);
    // Turns every placed frame by 180 degrees about the paper's centre.
    void RotateLayout();

private:
    TSenderRect* itemModeBlock() const;
    void recordBefore(TUndoDatas& action, const TDrawRect& frame, const TSenderRect* block) const;
    void recordAfter(TUndoDatas& action, const TDrawRect& frame, const TSenderRect* block) const;
    void markModified();
    void pushAction(std::unique_ptr<TUndoDatas> action);

    TPaperModel m_model;
};
