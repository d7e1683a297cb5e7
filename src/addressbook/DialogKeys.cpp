// Byte limits on leaving, text selection on entry and input-method modes of edits.
#include "addressbook/DialogKeys.h"

#include "platform/Cp932.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

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
