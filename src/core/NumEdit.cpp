// Number edit: alignment and digits-only typing.
#include "core/NumEdit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

bool isDigits(const QString& s)
{
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

TNumEdit::TNumEdit(QWidget* parent) : QLineEdit(parent)
{
    SetAlignment(Qt::AlignLeft);
}

void TNumEdit::SetAlignment(Qt::Alignment alignment)
{
    alignment &= Qt::AlignHorizontal_Mask;
    if (alignment != Qt::AlignRight && alignment != Qt::AlignHCenter)
        alignment = Qt::AlignLeft;
    m_alignment = alignment;
    setAlignment(alignment | Qt::AlignVCenter);
}

void TNumEdit::keyPressEvent(QKeyEvent* e)
{
    const QString typed = e->text();
    const bool printable = !typed.isEmpty() && typed[0].unicode() >= ' ' && typed[0].unicode() != 0x7F &&
                           !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (m_numOnly && printable && !isDigits(typed)) {
        QApplication::beep();
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TNumEdit::inputMethodEvent(QInputMethodEvent* e)
{
    if (!m_numOnly || isDigits(e->commitString())) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    QString digits;
    for (QChar c : e->commitString())
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    QApplication::beep();
    QInputMethodEvent filtered(e->preeditString(), e->attributes());
    filtered.setCommitString(digits, e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}
