// Track bar without page clicks: a press beside the thumb goes to the owner instead.
#include "core/ExTrackBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionSlider>

namespace {

bool isTrackKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

} // namespace

TExTrackBar::TExTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QSlider::sliderReleased, this, [this] {
        if (OnChanged)
            OnChanged(this);
    });
}

bool TExTrackBar::onHandle(const QPoint& pos) const
{
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    return style()->hitTestComplexControl(QStyle::CC_Slider, &opt, pos, this) == QStyle::SC_SliderHandle;
}

QRect TExTrackBar::ChannelRect() const
{
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    return style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
}

void TExTrackBar::mousePressEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (e->button() == Qt::LeftButton && onHandle(pos)) {
        QSlider::mousePressEvent(e);
        return;
    }
    if (e->button() == Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    e->accept();
    if (OnMouseDown)
        OnMouseDown(this, e->button(), e->modifiers(), pos.x(), pos.y());
}

void TExTrackBar::keyPressEvent(QKeyEvent* e)
{
    // The slider's own keys treat Down as left; the default here is Down as right.
    int key = e->key();
    if (orientation() == Qt::Horizontal && !m_downIsLeft) {
        if (key == Qt::Key_Up)
            key = Qt::Key_Down;
        else if (key == Qt::Key_Down)
            key = Qt::Key_Up;
        else if (key == Qt::Key_PageUp)
            key = Qt::Key_PageDown;
        else if (key == Qt::Key_PageDown)
            key = Qt::Key_PageUp;
    }
    if (key == e->key()) {
        QSlider::keyPressEvent(e);
        return;
    }
    QKeyEvent mapped(e->type(), key, e->modifiers(), e->text(), e->isAutoRepeat(), ushort(e->count()));
    QSlider::keyPressEvent(&mapped);
    e->setAccepted(mapped.isAccepted());
}

void TExTrackBar::keyReleaseEvent(QKeyEvent* e)
{
    QSlider::keyReleaseEvent(e);
    if (isTrackKey(e->key()) && !e->isAutoRepeat() && OnChanged)
        OnChanged(this);
}
