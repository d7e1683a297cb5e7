// The designers' paper view: a scroll box holding the paper panel, which paints the paper, frames, grid,
// selection and drag overlays and lets the user select, move and resize frames.
#pragma once

#include "designers/PaperEditing.h"

#include <QScrollArea>
#include <QWidget>

#include <memory>
#include <vector>

class TDisplayList;
class TFileDD;
class TLayoutDocument;
class TPaperView;

// The paper panel ("pnlCard").
class TPaperPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TPaperPanel(TPaperView& view);

    // Drag and rubber-band state, readable by tests.
    bool Dragging() const { return m_dragging; }
    const std::vector<TRect>& DragRects() const { return m_dragRects; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class TPaperView;
    void setScreenCursor(qint16 cursor);
    // The cursor over the selection's handles, as the pointer moves without a button.
    void hoverCursor(QPoint p, Qt::KeyboardModifiers mods);
    void dragOver(QPoint point);
    void endDrag();
    void resetGesture();
    void paintSelection(QPainter& painter);
    void paintPrintRange(QPainter& painter);

    TPaperView& m_view;
    qint16 m_cursor = CursorDefault;
    QPoint m_press{-1, -1};
    bool m_shift = false;
    bool m_dragArmed = false;
    bool m_dragging = false;
    bool m_band = false;
    bool m_doubleClick = false;
    TDragMode m_dragMode;
    QPoint m_lastPoint;
    std::vector<TRect> m_dragRects;
};

// The scroll box ("sbxPreview") with the zoom; its content is the spacer with the paper panel.
class TPaperView : public QScrollArea
{
    Q_OBJECT
public:
    explicit TPaperView(TLayoutDocument& document, QWidget* parent = nullptr);
    // Any designer's model.
    explicit TPaperView(TPaperModel model, QWidget* parent = nullptr);
    ~TPaperView() override;

    // Switches to a freshly loaded document and lays the view out again.
    void SetDocument(TLayoutDocument& document);
    void SetModel(TPaperModel model);
    const TPaperModel& Model() const { return m_editor.Model(); }
    TPaperEditor& Editor() { return m_editor; }

    // Lays the view out after a change of paper, zoom, window size or document.
    void sbxPreviewResize();
    // The zoom entry (0 fits the paper); choosing another one scrolls to the origin and lays out again.
    int ZoomIndex() const { return m_zoomIndex; }
    void SetZoomIndex(int index);
    double Zoom() const;
    QString StatusText() const { return ZoomStatusText(Zoom()); }

    // Turns the layout by half; twice restores it.
    void RotateLayout();

    // View settings of the window.
    void SetGridSize(int size);
    int GridSize() const { return m_gridSize; }
    void SetGridVisible(bool visible);
    bool GridVisible() const { return m_gridVisible; }
    void SetGridSnap(bool snap) { m_gridSnap = snap; }
    bool GridSnap() const { return m_gridSnap; }
    void SetPrintRangeVisible(bool visible);
    // While editing is off input is ignored and no context menu shows.
    void SetEditingEnabled(bool enabled);
    bool EditingEnabled() const { return m_editing && !m_preview; }
    // The print preview: a page's picture over the page's size in design units, shown instead of the
    // frames with editing off; null leaves the preview.
    void SetPreviewPage(std::shared_ptr<const TDisplayList> page, QSize pageSize);
    bool PreviewMode() const { return m_preview != nullptr; }

    TPaperPanel* Panel() const { return m_panel; }
    // The paper's background resampled to the panel (null without one).
    const QImage& WorkingPicture() const { return m_workingPicture; }
    QWidget* Spacer() const { return m_spacer; }
    // The snapping pitch, 0 when not snapping.
    int SnapPitch() const;

    // Files dropped on the panel: the drop target, the panel point of the last drop (for filesDropped, kept on
    // the panel), and
    // the end of accepting drops, called when the window closes.
    TFileDD* DropTarget() const { return m_drop; }
    QPoint LastDropPoint() const { return m_lastDrop; }
    void RevokeDropTarget();

signals:
    void selectionChanged();
    // A drag or key changed the frames; the window marks the document modified.
    void documentModified();
    void frameDoubleClicked(TDrawRect* frame);
    // A double click that left no frame focused.
    void paperDoubleClicked();
    void zoomChanged(double zoom, const QString& statusText);
    void deleteRequested();
    void contextMenuRequested(const QPoint& globalPos);
    // Files dropped on the paper, in the order given.
    void filesDropped(const QStringList& paths);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    friend class TPaperPanel;
    void build();

    TPaperEditor m_editor;
    QWidget* m_spacer = nullptr;
    TPaperPanel* m_panel = nullptr;
    QImage m_workingPicture;
    std::shared_ptr<const TDisplayList> m_preview;
    QSize m_previewSize;
    int m_zoomIndex = ZoomFit;
    int m_gridSize = 2;
    bool m_gridVisible = false;
    bool m_gridSnap = false;
    bool m_printRange = false;
    bool m_editing = true;
    bool m_laying = false;
    TFileDD* m_drop = nullptr;
    QPoint m_lastDrop;
};
