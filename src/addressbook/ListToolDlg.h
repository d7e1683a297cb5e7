// Keyboard and colour conventions shared by the address list's dialogs.
#pragma once

#include <QObject>
#include <QHash>
#include <QPointer>

#include <functional>

class QAbstractButton;
class QLineEdit;
class QWidget;

// Enter in a registered control moves the focus on: to a named control, or to the next control of the
// tab order that can take it, wrapping round. A single-line edit reached this way gets its caret at the end.
class TEnterMovesFocus : public QObject
{
public:
    using Target = std::function<QWidget*()>;

    explicit TEnterMovesFocus(QObject* parent) : QObject(parent) {}
    // Enter moves to the next control of the tab order.
    void addNext(QWidget* control);
    // Enter moves to the control the function names at that moment (the next one when it names none).
    void addTarget(QWidget* control, Target target);
    void addTarget(QWidget* control, QWidget* target);

    // The next control after from in the tab order that can take the focus now (wrapping); null when none.
    static QWidget* nextInTabOrder(QWidget* from);
    // Focuses control; an edit (or an editable drop-down) gets its caret at the end of its text.
    static void focusWithCaretAtEnd(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QObject*, Target> m_targets;
};

// The caption of a check box or radio button is drawn in blue while it is checked.
void PaintCheckedBlue(QAbstractButton* button);

// Keeps an edit's text within maxBytes CP932 bytes (0: no limit), cutting at a character boundary. May be
// called again to change the limit.
void LimitAnsiBytes(QLineEdit* edit, int maxBytes);
