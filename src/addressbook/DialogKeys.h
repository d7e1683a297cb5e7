// Keyboard, colour and input-method conventions of the address book's small dialogs.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QAbstractButton;
class QLineEdit;
class QWidget;

// Enter in a registered control moves the focus on: to the control named for it, or else to the next
// control of the tab order that can take the focus, wrapping round. An edit reached this way gets its caret
// at the end (unless a target was given with caretAtEnd false).
class TDialogEnterKeys : public QObject
{
public:
    explicit TDialogEnterKeys(QObject* parent) : QObject(parent) {}

    void addNext(QWidget* control);
    void addTarget(QWidget* control, QWidget* target);

    // The next control after from in from's window tab order that can take the focus now; null when none.
    static QWidget* nextInTabOrder(QWidget* from);
    static void focusWithCaretAtEnd(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QObject*, QPointer<QWidget>> m_targets; // null target: the next in tab order
};

// The caption of a check box or radio button is blue while checked, the window-text colour otherwise.
void PaintCheckedCaption(QAbstractButton* button);

// Leaving the edit cuts its text to maxBytes CP932 bytes, never inside a double-byte character.
void CutOnLeave(QLineEdit* edit, int maxBytes);

// Entering the edit by Tab leaves its text unselected (the caret stays where it was).
void NoAutoSelect(QLineEdit* edit);

// Input-method modes of edits: 6 hiragana, 8 katakana, 5 full-width alphanumeric, 7 half-width katakana,
// 1 closed. The mode is kept in the "ImeMode" property for the input method; closed turns input methods off.
enum TImeMode { imClose = 1, imAlpha = 5, imHira = 6, imSKata = 7, imKata = 8 };
void SetImeMode(QWidget* control, int mode);
int ImeModeOf(const QWidget* control);
