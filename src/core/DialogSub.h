// Conventions shared by the program's dialogs: Enter moving the focus, blue checked captions, byte limits,
// input-method modes and the button rows.
#pragma once

#include <QObject>
#include <QHash>
#include <QList>
#include <QPointer>

#include <functional>
#include <initializer_list>
#include <type_traits>

class QAbstractButton;
class QComboBox;
class THistoryData;
class QHBoxLayout;
class QPushButton;
class QLineEdit;
class QToolButton;
class QWidget;

// The hourglass for the life of the object.
class TBusyCursor
{
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// The other visible, enabled top-level windows are disabled for the life of the object.
class TOtherWindowsDisabled
{
public:
    explicit TOtherWindowsDisabled(QWidget* self);
    ~TOtherWindowsDisabled();
    TOtherWindowsDisabled(const TOtherWindowsDisabled&) = delete;
    TOtherWindowsDisabled& operator=(const TOtherWindowsDisabled&) = delete;

private:
    QList<QPointer<QWidget>> m_disabled;
};

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

// Refills a drop-down from an input history (in its order), keeping the text: an equal item (blanks at the ends
// ignored) is selected, else the text stays in the edit.
void FillHistoryCombo(QComboBox* combo, THistoryData* history);

// Leaving the edit cuts its text to maxBytes CP932 bytes, never inside a double-byte character.
void CutOnLeave(QLineEdit* edit, int maxBytes);

// Entering the edit by Tab leaves its text unselected (the caret stays where it was).
void NoAutoSelect(QLineEdit* edit);

// Input-method modes of edits: 6 hiragana, 8 katakana, 5 full-width alphanumeric, 7 half-width katakana,
// 1 closed. The mode is kept in the "ImeMode" property for the input method; closed turns input methods off.
enum TImeMode { imClose = 1, imAlpha = 5, imHira = 6, imSKata = 7, imKata = 8 };
void SetImeMode(QWidget* control, int mode);
int ImeModeOf(const QWidget* control);

// A push button named as its component. Only the default button presses on Enter; the others never become
// default by getting the focus.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, bool isDefault = false);
// A row of buttons kept to the right.
QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons);

// A widget named as its component, with its caption when it takes one.
template <class W> W* Named(QWidget* parent, const char* name, const QString& text = QString())
{
    W* widget = nullptr;
    if constexpr (std::is_constructible_v<W, QString, QWidget*>)
        widget = new W(text, parent);
    else
        widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A disabled edit takes the button-face colour and gets the window colour back when enabled.
void SetEditEnabled(QLineEdit* edit, bool enabled);

// One arrow of an up-down control: repeats while held, never takes the focus.
QToolButton* ArrowButton(QWidget* parent, const char* name, Qt::ArrowType arrow);
