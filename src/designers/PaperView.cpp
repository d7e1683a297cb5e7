// Paper view: layout of the scroll box, painting, and the mouse and key editing of the paper panel.
#include "designers/PaperView.h"

#include "designers/LayoutDocument.h"
#include "layoutobjects/BarcodeRect.h"
#include "layoutobjects/FileDD.h"
#include "layoutobjects/ImageUtils.h"
#include "layoutobjects/QRCodeRect.h"
#include "platform/DisplayList.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

// Outlines were drawn in XOR on the paper; a dotted dark line over a white one shows on any background.
void drawDottedOutline(QPainter& painter, const QRect& rect)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(rect);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(rect);
}

// A rectangle with exclusive right and bottom edges as an outline over its pixels.
QRect outlineRect(const TRect& r)
{
    const TRect n = NormalizedRect(r);
    return QRect(QPoint(n.left, n.top), QPoint(qMax(n.left, n.right - 1), qMax(n.top, n.bottom - 1)));
}

} // namespace

// ---- panel

TPaperPanel::TPaperPanel(TPaperView& view) : QWidget(view.Spacer()), m_view(view)
{
    setObjectName(QStringLiteral("pnlCard"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
}

void TPaperPanel::setScreenCursor(qint16 cursor)
{
    m_cursor = cursor;
    setCursor(CursorShapeFor(cursor));
}

void TPaperPanel::resetGesture()
{
    m_press = {-1, -1};
    m_dragArmed = m_dragging = m_band = m_doubleClick = false;
    m_dragRects.clear();
}

void TPaperPanel::paintEvent(QPaintEvent*)
{
    const TPaperModel& model = m_view.Model();
    if (m_view.m_laying || !model.Stacking || (model.DocumentOpen && !*model.DocumentOpen))
        return;
    QPainter painter(this);
    if (m_view.m_preview) {
        const double zoom = m_view.Zoom();
        m_view.m_preview->ReplayInto(painter, QRectF(0, 0, std::nearbyint(m_view.m_previewSize.width() * zoom),
                                                     std::nearbyint(m_view.m_previewSize.height() * zoom)));
        paintPrintRange(painter);
        return;
    }
    if (!m_view.m_workingPicture.isNull() && (!model.ShowBackground || model.ShowBackground()))
        painter.drawImage(rect(), m_view.m_workingPicture);
    if (model.DrawBackground)
        model.DrawBackground(painter, m_view.Zoom());
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const auto& stacking = *model.Stacking;
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        painter.save();
        (*it)->Draw(painter, 0, 0);
        painter.restore();
    }

    const int pitch = GridPitch(m_view.m_gridSize);
    if (m_view.m_gridVisible && pitch > 0) {
        const int columns = width() / pitch, rows = height() / pitch;
        QVector<QLine> dots;
        dots.reserve((columns + 1) * (rows + 1));
        for (int c = 0; c <= columns; ++c)
            for (int r = 0; r <= rows; ++r)
                dots.append(QLine(c * pitch, r * pitch, c * pitch + 1, r * pitch));
        painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 3));
        painter.drawLines(dots);
    }

    paintSelection(painter);
    paintPrintRange(painter);
    for (const TRect& r : m_dragRects)
        drawDottedOutline(painter, outlineRect(r));
}

void TPaperPanel::paintPrintRange(QPainter& painter)
{
    const TRect* area = m_view.Model().PrintArea;
    if (!m_view.m_printRange || !area || area->IsEmpty())
        return;
    const double zoom = m_view.Zoom();
    const TRect zoomed{qint32(area->left * zoom), qint32(area->top * zoom), qint32(area->right * zoom),
                       qint32(area->bottom * zoom)};
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1, Qt::DotLine));
    painter.drawRect(outlineRect(zoomed));
}

void TPaperPanel::paintSelection(QPainter& painter)
{
    const TPaperModel& model = m_view.Model();
    const auto& selection = *model.Selection;
    const int focus = *model.FocusIndex;
    // Yellow in XOR over white paper showed blue.
    const QColor outline(0, 0, 0xFF);
    for (size_t i = 0; i < selection.size(); ++i) {
        const TDrawRect* frame = selection[i];
        const bool focused = int(i) == focus;
        const TRect r = frame->GetScreenRect();
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(outline, 1, focused ? Qt::SolidLine : Qt::DotLine));
        painter.drawRect(outlineRect(r));

        const int middleX = r.left + (r.right - r.left) / 2, middleY = r.top + (r.bottom - r.top) / 2;
        const std::array<int, 3> xs{r.left - 3, middleX - 3, r.right - 4};
        const std::array<int, 3> ys{r.top - 3, middleY - 3, r.bottom - 4};
        const quint8 kind = frame->GetKind();
        const bool hollow = kind == KindBarcode || kind == KindQRCode;
        const QColor fill = focused ? Qt::black : QColor(0x80, 0x80, 0x80);
        painter.setPen(QPen(Qt::black, 1));
        for (int xi = 0; xi < 3; ++xi)
            for (int yi = 0; yi < 3; ++yi) {
                if (xi == 1 && yi == 1)
                    continue;
                if (hollow)
                    painter.drawRect(QRect(xs[size_t(xi)], ys[size_t(yi)], 6, 6));
                else
                    painter.fillRect(QRect(xs[size_t(xi)], ys[size_t(yi)], 7, 7), fill);
            }
    }
}

void TPaperPanel::mousePressEvent(QMouseEvent* event)
{
    if (!m_view.EditingEnabled() || m_doubleClick)
        return;
    const QPoint p = event->position().toPoint();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    m_shift = event->modifiers() & Qt::ShiftModifier;
    setFocus(Qt::MouseFocusReason);
    // Frames may have moved under a still pointer (keys, undo): the cursor is taken afresh.
    hoverCursor(p, event->modifiers());
    TPaperEditor& editor = m_view.m_editor;
    if (m_cursor == CursorDefault || m_cursor == CursorSizeAll) {
        editor.Click(p.x(), p.y(), ctrl);
        emit m_view.selectionChanged();
        update();
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_press = p;
    m_lastPoint = p;
    if (!editor.Focused() || ctrl)
        return;
    m_dragRects.clear();
    if (m_cursor == CursorDefault)
        setScreenCursor(CursorSizeAll);
    m_dragMode = m_cursor == CursorSizeAll ? TDragMode{} : editor.ResizeModeAt(p.x(), p.y());
    m_dragArmed = true;
}

void TPaperPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_view.EditingEnabled() || m_doubleClick)
        return;
    const QPoint p = event->position().toPoint();
    m_lastPoint = p;
    if (event->buttons() & Qt::LeftButton) {
        if (m_dragArmed) {
            // The drag starts once the pointer has moved by a pixel.
            if (!m_dragging && (p - m_press).manhattanLength() >= 1)
                m_dragging = true;
            if (m_dragging)
                dragOver(p);
            return;
        }
        if (m_press == QPoint(-1, -1))
            m_press = p;
        m_band = true;
        m_dragRects = {TRect{m_press.x(), m_press.y(), p.x(), p.y()}};
        update();
        return;
    }
    if (event->buttons() == Qt::NoButton)
        hoverCursor(p, event->modifiers());
}

void TPaperPanel::hoverCursor(QPoint p, Qt::KeyboardModifiers mods)
{
    if (!m_view.m_editor.Focused()) {
        setScreenCursor(CursorDefault);
    } else if (!(mods & Qt::ControlModifier)) {
        qint16 cursor = CursorDefault;
        for (const TDrawRect* frame : *m_view.Model().Selection) {
            cursor = frame->GetCursorAt(p.x(), p.y());
            if (cursor != CursorDefault)
                break;
        }
        setScreenCursor(cursor);
    }
}

void TPaperPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_view.EditingEnabled())
        return;
    TPaperEditor& editor = m_view.m_editor;
    if (m_dragging) {
        endDrag();
    } else if (m_band) {
        editor.SelectInBand(m_dragRects.front(), event->modifiers() & Qt::ControlModifier);
        emit m_view.selectionChanged();
        m_band = false;
        m_dragRects.clear();
        m_press = {-1, -1};
        update();
    } else if (m_doubleClick && editor.Focused()) {
        m_doubleClick = false;
        emit m_view.frameDoubleClicked(editor.Focused());
    } else if (m_doubleClick) {
        m_doubleClick = false;
        emit m_view.paperDoubleClicked();
    }
    m_doubleClick = false;
    m_dragArmed = false;
}

void TPaperPanel::mouseDoubleClickEvent(QMouseEvent*)
{
    // The press of a double click only arms its action; the release runs it.
    if (m_view.EditingEnabled())
        m_doubleClick = true;
}

void TPaperPanel::dragOver(QPoint point)
{
    m_dragRects = m_view.m_editor.Outlines(point - m_press, m_dragMode, m_shift, m_view.SnapPitch());
    update();
}

void TPaperPanel::endDrag()
{
    const bool drawn = !m_dragRects.empty();
    const std::vector<TRect> outlines = std::move(m_dragRects);
    resetGesture();
    if (drawn && m_view.EditingEnabled()) {
        m_view.m_editor.Drop(outlines);
        emit m_view.documentModified();
    }
    update();
}

void TPaperPanel::keyPressEvent(QKeyEvent* event)
{
    if (!m_view.EditingEnabled()) {
        event->ignore();
        return;
    }
    const int key = event->key();
    if (key == Qt::Key_Shift) {
        m_shift = true;
        if (m_dragging)
            dragOver(m_lastPoint);
        return;
    }
    TPaperEditor& editor = m_view.m_editor;
    if (!editor.Focused() || m_dragging) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (key >= Qt::Key_Left && key <= Qt::Key_Down) {
        const Qt::KeyboardModifiers mods = event->modifiers();
        editor.ArrowKey(key, mods & Qt::ControlModifier, mods & Qt::ShiftModifier, m_view.SnapPitch());
        emit m_view.documentModified();
        update();
    } else if (key == Qt::Key_Delete) {
        emit m_view.deleteRequested();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TPaperPanel::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        m_shift = false;
        if (m_dragging)
            dragOver(m_lastPoint);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TPaperPanel::leaveEvent(QEvent*)
{
    if (!m_dragging)
        setScreenCursor(CursorDefault);
}

void TPaperPanel::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    if (m_view.EditingEnabled())
        emit m_view.contextMenuRequested(event->globalPos());
}

// ---- scroll box

TPaperView::TPaperView(TLayoutDocument& document, QWidget* parent) : TPaperView(PaperModelOf(document), parent)
{
}

TPaperView::TPaperView(TPaperModel model, QWidget* parent) : QScrollArea(parent), m_editor(std::move(model))
{
    build();
}

TPaperView::~TPaperView() = default;

void TPaperView::build()
{
    setObjectName(QStringLiteral("sbxPreview"));
    // A two-pixel sunken border: the layout takes the box's size less 4.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAlignment(Qt::AlignCenter);
    setWidgetResizable(false);
    setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    m_spacer = new QWidget;
    m_spacer->setObjectName(QStringLiteral("bvSpacer"));
    m_panel = new TPaperPanel(*this);
    setWidget(m_spacer);
    m_drop = new TFileDD(m_panel, this);
    m_drop->OnDropFiles = [this](const QStringList& paths, Qt::KeyboardModifiers, QPoint point,
                                 Qt::DropAction&) {
        const QPoint at = m_panel->mapFromGlobal(point);
        m_lastDrop = QPoint(std::clamp(at.x(), 0, std::max(0, m_panel->width() - 1)),
                            std::clamp(at.y(), 0, std::max(0, m_panel->height() - 1)));
        emit filesDropped(paths);
    };
}

void TPaperView::RevokeDropTarget()
{
    m_drop->RevokeDropTarget();
}

void TPaperView::SetDocument(TLayoutDocument& document)
{
    SetModel(PaperModelOf(document));
}

void TPaperView::SetModel(TPaperModel model)
{
    m_editor.SetModel(std::move(model));
    m_panel->resetGesture();
    m_panel->setScreenCursor(CursorDefault);
    sbxPreviewResize();
}

double TPaperView::Zoom() const
{
    return Model().Zoom ? *Model().Zoom : 1.0;
}

int TPaperView::SnapPitch() const
{
    return m_gridSnap ? GridPitch(m_gridSize) : 0;
}

void TPaperView::sbxPreviewResize()
{
    const TPaperModel& model = Model();
    if (!model.Stacking || (model.DocumentOpen && !*model.DocumentOpen)) {
        m_panel->hide();
        // No scroll bars are left over from the paper that went.
        m_spacer->resize(0, 0);
        emit zoomChanged(0, QString());
        return;
    }
    if (m_laying)
        return;
    m_laying = true;
    const int border = 2 * frameWidth();
    const QSize available(width() - border, height() - border);
    const QSize page = m_preview ? m_previewSize : *model.DesignSize;
    const TViewSize size = ComputeViewSize(ZoomFactors[size_t(m_zoomIndex)], available, page);
    *model.Zoom = size.zoom;
    if (!m_preview)
        for (TDrawRect* frame : *model.Stacking) {
            frame->SetZoom(size.zoom);
            frame->UpdateImage(false);
        }
    m_spacer->resize(size.width, size.height);
    const QRect paper(PaperMargin, PaperMargin, size.width - 2 * PaperMargin, size.height - 2 * PaperMargin);
    m_panel->setGeometry(paper);
    m_workingPicture = QImage();
    if (!paper.isEmpty()) {
        m_panel->show();
        if (!m_preview && model.Background && !model.Background->isNull()) {
            // Scaled in place: a target must already have the panel's size.
            m_workingPicture = *model.Background;
            StretchBitmap(m_workingPicture, nullptr, paper.width(), paper.height(), 0);
        }
    }
    m_laying = false;
    emit zoomChanged(size.zoom, ZoomStatusText(size.zoom));
    m_panel->update();
}

void TPaperView::SetZoomIndex(int index)
{
    if (index < 0 || index >= ZoomEntryCount || index == m_zoomIndex)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_zoomIndex = index;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    sbxPreviewResize();
    QApplication::restoreOverrideCursor();
}

void TPaperView::RotateLayout()
{
    m_editor.RotateLayout();
    m_panel->update();
}

void TPaperView::SetGridSize(int size)
{
    m_gridSize = qBound(0, size, 3);
    m_panel->update();
}

void TPaperView::SetGridVisible(bool visible)
{
    m_gridVisible = visible;
    m_panel->update();
}

void TPaperView::SetPrintRangeVisible(bool visible)
{
    m_printRange = visible;
    m_panel->update();
}

void TPaperView::SetEditingEnabled(bool enabled)
{
    m_editing = enabled;
    m_panel->resetGesture();
    m_panel->update();
}

void TPaperView::SetPreviewPage(std::shared_ptr<const TDisplayList> page, QSize pageSize)
{
    m_preview = std::move(page);
    m_previewSize = pageSize;
    m_panel->resetGesture();
    sbxPreviewResize();
}

void TPaperView::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    sbxPreviewResize();
}

void TPaperView::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 120;
    QScrollBar* bar = verticalScrollBar()->isVisible() ? verticalScrollBar() : horizontalScrollBar();
    if (bar->isVisible())
        bar->setValue(bar->value() - steps * QApplication::wheelScrollLines() * 20);
    event->accept();
}
