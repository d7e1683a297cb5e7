// Edit with a text alignment and an optional digits-only keyboard input.
#pragma once

#include <QLineEdit>

class TNumEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TNumEdit(QWidget* parent = nullptr);

    // Left, right or centre justified (Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter).
    Qt::Alignment Alignment() const { return m_alignment; }
    void SetAlignment(Qt::Alignment alignment);
    // Only the digits 0 to 9 are taken from the keyboard and the input method.
    bool NumOnly() const { return m_numOnly; }
    void SetNumOnly(bool on) { m_numOnly = on; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_numOnly = false;
};
