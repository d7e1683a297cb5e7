// Picture panel: bevels, picture, owner drawing, caption, and sizing to the picture.
#include "core/PaintPanel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Draws width one-pixel rings, top-left in one colour and bottom-right in the other, shrinking r.
void frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width)
{
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        p.setPen(topLeft);
        p.drawLine(r.left(), r.bottom(), r.left(), r.top());
        p.drawLine(r.left(), r.top(), r.right(), r.top());
        p.setPen(bottomRight);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
        r.adjust(1, 1, -1, -1);
    }
}

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

TPaintPanel::TPaintPanel(QWidget* parent) : QWidget(parent)
{
    m_color = palette().color(QPalette::Button);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintPanel::SetImage(const QImage& image)
{
    m_image = image;
    adjustToImage();
    update();
}

void TPaintPanel::SetCenter(bool on)
{
    m_center = on;
    update();
}

void TPaintPanel::SetAutoSize(bool on)
{
    m_autoSize = on;
    adjustToImage();
}

void TPaintPanel::SetAlign(TAlign align)
{
    m_align = align;
    adjustToImage();
}

void TPaintPanel::SetBevelOuter(TPanelBevel bevel)
{
    m_bevelOuter = bevel;
    adjustToImage();
    update();
}

void TPaintPanel::SetBevelInner(TPanelBevel bevel)
{
    m_bevelInner = bevel;
    adjustToImage();
    update();
}

void TPaintPanel::SetBevelWidth(int width)
{
    m_bevelWidth = std::max(1, width);
    adjustToImage();
    update();
}

void TPaintPanel::SetBorderWidth(int width)
{
    m_borderWidth = std::max(0, width);
    adjustToImage();
    update();
}

void TPaintPanel::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void TPaintPanel::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void TPaintPanel::SetAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment & Qt::AlignHorizontal_Mask;
    update();
}

int TPaintPanel::frameExtent() const
{
    return (m_bevelOuter != bvNone ? m_bevelWidth : 0) + m_borderWidth +
           (m_bevelInner != bvNone ? m_bevelWidth : 0);
}

QRect TPaintPanel::PictureRect() const
{
    const int f = frameExtent();
    return rect().adjusted(f, f, -f, -f);
}

QSize TPaintPanel::sizeHint() const
{
    if (m_autoSize && !m_image.isNull())
        return m_image.size() + QSize(2 * frameExtent(), 2 * frameExtent());
    return QWidget::sizeHint();
}

void TPaintPanel::adjustToImage()
{
    if (!m_autoSize || m_image.isNull())
        return;
    const int extra = 2 * frameExtent();
    int w = width();
    int h = height();
    if (m_align != alTop && m_align != alBottom && m_align != alClient)
        w = m_image.width() + extra;
    if (m_align != alLeft && m_align != alRight && m_align != alClient)
        h = m_image.height() + extra;
    resize(w, h);
    updateGeometry();
}

void TPaintPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QRect r = rect();
    p.fillRect(r, m_color);

    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    const auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone)
            return;
        if (kind == bvLowered)
            frame3D(p, r, shadow, light, m_bevelWidth);
        else if (kind == bvRaised)
            frame3D(p, r, light, shadow, m_bevelWidth);
        else
            frame3D(p, r, m_color, m_color, m_bevelWidth);
    };
    bevel(m_bevelOuter);
    frame3D(p, r, m_color, m_color, m_borderWidth);
    bevel(m_bevelInner);

    if (!m_image.isNull() && r.width() > 0 && r.height() > 0) {
        // The part of the picture that falls on r: its middle when centred, else its top-left corner.
        QRect source(QPoint(0, 0), r.size());
        if (m_center)
            source.moveTo((m_image.width() - r.width()) / 2, (m_image.height() - r.height()) / 2);
        const QRect part = source & m_image.rect();
        if (!part.isEmpty())
            p.drawImage(r.topLeft() + (part.topLeft() - source.topLeft()), m_image, part);
    }

    if (OnPaint)
        OnPaint(this, &p, r);

    if (!m_caption.isEmpty()) {
        p.setFont(font());
        p.setPen(palette().color(QPalette::WindowText));
        p.setBrush(Qt::NoBrush);
        const int lineHeight = p.fontMetrics().height();
        const QRect line(r.left(), r.top() + (r.height() - lineHeight) / 2, r.width(), lineHeight);
        p.drawText(line, int(m_alignment) | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs,
                   m_caption);
    }
}

bool TPaintPanel::event(QEvent* e)
{
    // The arrow keys belong to the panel's key events.
    if (e->type() == QEvent::ShortcutOverride && isArrow(static_cast<QKeyEvent*>(e)->key())) {
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void TPaintPanel::mousePressEvent(QMouseEvent* e)
{
    if (OnMouseDown)
        OnMouseDown(this, e);
}

void TPaintPanel::mouseMoveEvent(QMouseEvent* e)
{
    if (OnMouseMove)
        OnMouseMove(this, e);
}

void TPaintPanel::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnMouseUp)
        OnMouseUp(this, e);
}

void TPaintPanel::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (OnDblClick)
        OnDblClick(this, e);
    else
        QWidget::mouseDoubleClickEvent(e);
}

void TPaintPanel::keyPressEvent(QKeyEvent* e)
{
    if (OnKeyDown)
        OnKeyDown(this, e);
    if (isArrow(e->key()))
        e->accept();
    else if (!OnKeyDown)
        QWidget::keyPressEvent(e);
}

void TPaintPanel::keyReleaseEvent(QKeyEvent* e)
{
    if (OnKeyUp)
        OnKeyUp(this, e);
    else
        QWidget::keyReleaseEvent(e);
}
