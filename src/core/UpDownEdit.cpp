// Number edit with an up-down.
#include "core/UpDownEdit.h"

#include "core/AppSub.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

bool ParseLengthText(const QString& text, int& tenths)
{
    if (text.isEmpty() || text.count(QLatin1Char('.')) > 1)
        return false;
    for (QChar c : text)
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char('.'))
            return false;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return false;
    tenths = int(std::min<qint64>(RoundHalfAway(value * 10.0), 32767));
    return true;
}

bool ParseCountText(const QString& text, int& count)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return false;
    // Long digit runs stay at the cap instead of overflowing.
    const QString digits = text.size() > 6 ? QStringLiteral("32767") : text;
    count = std::min(digits.toInt(), 32767);
    return true;
}

TUpDownEdit::TUpDownEdit(QWidget* parent, Style style) : QAbstractSpinBox(parent), m_style(style)
{
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(this, &QAbstractSpinBox::editingFinished, this, &TUpDownEdit::Commit);
    lineEdit()->setText(Text(m_value));
}

QString TUpDownEdit::Text(int value) const
{
    return m_style == Style::Length ? QString::asprintf("%.1f", value / 10.0) : QString::number(value);
}

void TUpDownEdit::SetValue(int value)
{
    m_value = std::clamp(value, m_minimum, std::max(m_minimum, m_maximum));
    lineEdit()->setText(Text(m_value));
}

void TUpDownEdit::SetRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    SetValue(m_value);
}

void TUpDownEdit::SetMaxLength(int length)
{
    lineEdit()->setMaxLength(length);
}

void TUpDownEdit::SetLocked(bool locked)
{
    setReadOnly(locked);
    QPalette p;
    if (locked)
        p.setColor(QPalette::Base, p.color(QPalette::Button));
    setPalette(p);
}

void TUpDownEdit::stepBy(int steps)
{
    if (isReadOnly())
        return;
    Apply(m_value + steps);
}

QAbstractSpinBox::StepEnabled TUpDownEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    StepEnabled e = StepNone;
    if (m_value > m_minimum)
        e |= StepDownEnabled;
    if (m_value < m_maximum)
        e |= StepUpEnabled;
    return e;
}

QValidator::State TUpDownEdit::validate(QString&, int&) const
{
    // Any text may be typed; it is judged when the edit is left.
    return QValidator::Acceptable;
}

void TUpDownEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        Commit();
        focusNextChild();
        return;
    }
    QAbstractSpinBox::keyPressEvent(e);
}

void TUpDownEdit::Commit()
{
    const QString text = lineEdit()->text();
    if (text == Text(m_value))
        return;
    int value = 0;
    const bool ok = m_style == Style::Length ? ParseLengthText(text, value) : ParseCountText(text, value);
    if (!ok || isReadOnly()) {
        lineEdit()->setText(Text(m_value));
        return;
    }
    Apply(value);
}

void TUpDownEdit::Apply(int value)
{
    const int old = m_value;
    SetValue(value);
    if (m_value != old)
        emit ValueApplied(m_value);
}
