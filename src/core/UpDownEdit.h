// A number edit with an up-down: counts shown as "%d" or lengths in 0.1 mm shown as "%.1f" millimetres.
#pragma once

#include <QAbstractSpinBox>

// Text of a length edit in millimetres to 0.1 mm (rounded half away, at most 32767); false for empty text,
// characters other than single-byte digits and periods, or more than one period.
bool ParseLengthText(const QString& text, int& tenths);
// Text of a count edit: a non-negative integer, at most 32767; false for anything else.
bool ParseCountText(const QString& text, int& count);

// Up/Down step by 1 and Page Up/Down by 10; Enter moves to the next control; text that does not parse is
// replaced by the current value when the edit is left. Every change by the user is told by ValueApplied.
class TUpDownEdit : public QAbstractSpinBox
{
    Q_OBJECT
public:
    enum class Style { Count, Length };

    explicit TUpDownEdit(QWidget* parent = nullptr, Style style = Style::Count);

    int Value() const { return m_value; }
    // Clamped to the range; tells nothing.
    void SetValue(int value);
    void SetRange(int minimum, int maximum);
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }
    // At most length characters may be typed.
    void SetMaxLength(int length);
    // Read-only in the button-face colour with its steps disabled, or editable in the window colour.
    void SetLocked(bool locked);
    bool Locked() const { return isReadOnly(); }

    void stepBy(int steps) override;

signals:
    void ValueApplied(int value);

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QString Text(int value) const;
    void Commit();
    void Apply(int value);

    Style m_style;
    int m_value = 0;
    int m_minimum = 0;
    int m_maximum = 32767;
};
