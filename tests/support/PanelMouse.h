// Mouse events sent straight to the paper panel of a designer: presses, moves and releases at panel points.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

struct PanelMouse
{
    QWidget* panel;

    void Send(QEvent::Type type, QPoint p, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) const
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(p), panel->mapToGlobal(QPointF(p)), button, buttons, mods);
        QApplication::sendEvent(panel, &event);
    }
    void Hover(QPoint p) const { Send(QEvent::MouseMove, p, Qt::NoButton); }
    // Press, move in two steps, release.
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) const
    {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, mods);
        Send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, mods);
        Send(QEvent::MouseMove, to, Qt::LeftButton, mods);
        Send(QEvent::MouseButtonRelease, to, Qt::NoButton, mods);
    }
    void Click(QPoint p, Qt::KeyboardModifiers mods = {}) const
    {
        Send(QEvent::MouseButtonPress, p, Qt::LeftButton, mods);
        Send(QEvent::MouseButtonRelease, p, Qt::NoButton, mods);
    }
    // A click, then the second press as a double click and its release.
    void DoubleClick(QPoint p) const
    {
        Click(p);
        Send(QEvent::MouseButtonDblClick, p, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, p, Qt::NoButton);
    }
};
