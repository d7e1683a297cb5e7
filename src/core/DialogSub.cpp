// Dialog conventions: Enter moving the focus, blue checked captions, byte limits, input-method modes, buttons.
#include "core/DialogSub.h"

#include "core/AppSub.h"
#include "core/HisInfo.h"
#include "platform/Cp932.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QHBoxLayout>
#include <QFocusEvent>
#include <QEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>
#include <QToolButton>

void TEnterMovesFocus::addNext(QWidget* control)
{
    addTarget(control, Target());
}

void TEnterMovesFocus::addTarget(QWidget* control, Target target)
{
    m_targets.insert(control, std::move(target));
    control->installEventFilter(this);
    QObject::connect(control, &QObject::destroyed, this, [this, control] { m_targets.remove(control); });
}

void TEnterMovesFocus::addTarget(QWidget* control, QWidget* target)
{
    QPointer<QWidget> guarded(target);
    addTarget(control, [guarded] { return guarded.data(); });
}

QWidget* TEnterMovesFocus::nextInTabOrder(QWidget* from)
{
    QWidget* window = from->window();
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if (w->window() != window || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (w->isVisible() && w->isEnabled())
            return w;
    }
    return nullptr;
}

void TEnterMovesFocus::focusWithCaretAtEnd(QWidget* control)
{
    if (!control)
        return;
    control->setFocus(Qt::TabFocusReason);
    QLineEdit* edit = qobject_cast<QLineEdit*>(control);
    if (auto* combo = qobject_cast<QComboBox*>(control))
        edit = combo->lineEdit();
    if (edit) {
        edit->deselect();
        edit->setCursorPosition(int(edit->text().size()));
    }
}

bool TEnterMovesFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    const auto found = m_targets.constFind(watched);
    if (found == m_targets.constEnd())
        return false;
    auto* control = static_cast<QWidget*>(watched);
    QWidget* target = *found ? (*found)() : nullptr;
    if (!target || !target->isVisible() || !target->isEnabled())
        target = nextInTabOrder(control);
    focusWithCaretAtEnd(target);
    return true;
}

void PaintCheckedBlue(QAbstractButton* button)
{
    const auto repaint = [button](bool checked) {
        QPalette palette = button->palette();
        const QColor colour =
            checked ? QColor(Qt::blue) : button->style()->standardPalette().color(QPalette::WindowText);
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::ButtonText, colour);
        button->setPalette(palette);
    };
    QObject::connect(button, &QAbstractButton::toggled, button, repaint);
    repaint(button->isChecked());
}

void LimitAnsiBytes(QLineEdit* edit, int maxBytes)
{
    static constexpr const char* LimitProperty = "tovarelAnsiByteLimit";
    const bool hooked = edit->property(LimitProperty).isValid();
    edit->setProperty(LimitProperty, maxBytes);
    if (hooked)
        return;
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        const int limit = edit->property(LimitProperty).toInt();
        if (limit <= 0 || Cp932::byteLength(text) <= limit)
            return;
        const int caret = edit->cursorPosition();
        const QString cut = Cp932::cutToBytes(text, limit);
        edit->setText(cut);
        edit->setCursorPosition(std::min(caret, int(cut.size())));
    });
    if (maxBytes > 0 && Cp932::byteLength(edit->text()) > maxBytes)
        edit->setText(Cp932::cutToBytes(edit->text(), maxBytes));
}
void FillHistoryCombo(QComboBox* combo, THistoryData* history)
{
    const QString kept = combo->currentText();
    combo->clear();
    if (history && history->IsLoaded())
        for (int i = 0; i < history->Count(); ++i)
            combo->addItem(ToWide(history->GetText(i)));
    const QString trimmed = TrimBlanks(kept);
    if (trimmed.isEmpty()) {
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
        return;
    }
    for (int i = 0; i < combo->count(); ++i)
        if (TrimBlanks(combo->itemText(i)) == trimmed) {
            combo->setCurrentIndex(i);
            return;
        }
    combo->setCurrentIndex(-1);
    combo->setEditText(kept);
}

namespace {

class TCutOnLeave : public QObject
{
public:
    TCutOnLeave(QLineEdit* edit, int maxBytes) : QObject(edit), m_maxBytes(maxBytes) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            auto* edit = static_cast<QLineEdit*>(watched);
            const QString cut = Cp932::cutToBytes(edit->text(), m_maxBytes);
            if (cut != edit->text())
                edit->setText(cut);
        }
        return false;
    }

private:
    int m_maxBytes;
};

// Qt selects an edit's whole text when Tab brings the focus; the same focus without that reason does not.
class TNoAutoSelect : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::FocusIn)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
            reason != Qt::ShortcutFocusReason)
            return false;
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(watched, &plain);
        return true;
    }
};

} // namespace

void NoAutoSelect(QLineEdit* edit)
{
    edit->installEventFilter(new TNoAutoSelect(edit));
}

void CutOnLeave(QLineEdit* edit, int maxBytes)
{
    edit->installEventFilter(new TCutOnLeave(edit, maxBytes));
}

void SetImeMode(QWidget* control, int mode)
{
    control->setProperty("ImeMode", mode);
    control->setAttribute(Qt::WA_InputMethodEnabled, mode != imClose);
}

int ImeModeOf(const QWidget* control)
{
    return control->property("ImeMode").toInt();
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, bool isDefault)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    if (isDefault)
        button->setDefault(true);
    else
        button->setAutoDefault(false);
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* b : buttons)
        row->addWidget(b);
    return row;
}

void SetEditEnabled(QLineEdit* edit, bool enabled)
{
    edit->setEnabled(enabled);
    QPalette palette = edit->palette();
    const QPalette standard = edit->style()->standardPalette();
    const QColor colour = enabled ? standard.color(QPalette::Base) : standard.color(QPalette::Button);
    palette.setColor(QPalette::Active, QPalette::Base, colour);
    palette.setColor(QPalette::Inactive, QPalette::Base, colour);
    palette.setColor(QPalette::Disabled, QPalette::Base, colour);
    edit->setPalette(palette);
}

QToolButton* ArrowButton(QWidget* parent, const char* name, Qt::ArrowType arrow)
{
    auto* button = Named<QToolButton>(parent, name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(18, 11);
    return button;
}

TBusyCursor::TBusyCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

TBusyCursor::~TBusyCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

TOtherWindowsDisabled::TOtherWindowsDisabled(QWidget* self)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != self && w->isVisible() && w->isEnabled()) {
            w->setEnabled(false);
            m_disabled << w;
        }
}

TOtherWindowsDisabled::~TOtherWindowsDisabled()
{
    for (const QPointer<QWidget>& w : m_disabled)
        if (w)
            w->setEnabled(true);
}
