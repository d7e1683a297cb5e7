// Enter-moves-focus, checked-caption colour, byte limits on leaving and input-method modes of dialogs.
#include "addressbook/DialogKeys.h"

#include "platform/Cp932.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>

void TDialogEnterKeys::addNext(QWidget* control)
{
    m_targets.insert(control, nullptr);
    control->installEventFilter(this);
}

void TDialogEnterKeys::addTarget(QWidget* control, QWidget* target)
{
    m_targets.insert(control, target);
    control->installEventFilter(this);
}

QWidget* TDialogEnterKeys::nextInTabOrder(QWidget* from)
{
    if (!from)
        return nullptr;
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if (w->window() != from->window() || w == from->window())
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(from->window()) && w->isEnabled() &&
            !w->focusProxy())
            return w;
    }
    return nullptr;
}

void TDialogEnterKeys::focusWithCaretAtEnd(QWidget* control)
{
    if (!control)
        return;
    control->setFocus(Qt::OtherFocusReason);
    QLineEdit* edit = qobject_cast<QLineEdit*>(control);
    if (!edit)
        if (auto* combo = qobject_cast<QComboBox*>(control))
            edit = combo->lineEdit();
    if (edit) {
        edit->deselect();
        edit->end(false);
    }
}

bool TDialogEnterKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier))
        return false;
    const auto it = m_targets.constFind(watched);
    if (it == m_targets.constEnd())
        return false;
    auto* control = qobject_cast<QWidget*>(watched);
    QWidget* target = it.value();
    if (!target || !target->isEnabled() || !target->isVisibleTo(control->window()))
        target = nextInTabOrder(control);
    focusWithCaretAtEnd(target);
    return true;
}

void PaintCheckedCaption(QAbstractButton* button)
{
    const auto paint = [button](bool checked) {
        QPalette pal = button->palette();
        const QColor colour =
            checked ? QColor(Qt::blue) : QApplication::palette(button).color(QPalette::WindowText);
        pal.setColor(QPalette::WindowText, colour);
        pal.setColor(QPalette::ButtonText, colour);
        button->setPalette(pal);
    };
    QObject::connect(button, &QAbstractButton::toggled, button, paint);
    paint(button->isChecked());
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
