// Track bar that reports the end of a drag or key change and leaves clicks beside the thumb to its owner.
#pragma once

#include <QSlider>

#include <functional>

class TExTrackBar : public QSlider
{
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TExTrackBar* Sender)>;
    using TMouseEvent = std::function<void(TExTrackBar* Sender, Qt::MouseButton Button,
                                           Qt::KeyboardModifiers Shift, int X, int Y)>;

    explicit TExTrackBar(QWidget* parent = nullptr);

    // Horizontal bars: with it Down and Page Down move left, without it they move right.
    bool DownIsLeft() const { return m_downIsLeft; }
    void SetDownIsLeft(bool on) { m_downIsLeft = on; }
    // The channel the thumb runs in, in the bar's coordinates.
    QRect ChannelRect() const;

    TNotifyEvent OnChanged;
    TMouseEvent OnMouseDown;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    bool onHandle(const QPoint& pos) const;

    bool m_downIsLeft = false;
};
