// The dialog "固定値の入力": a constant for every imported line, with today's date or the time at a press.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;

class TConstantInput : public QDialog
{
    Q_OBJECT
public:
    static constexpr int HelpTopic = 67;

    // maxBytes: the item's longest constant in CP932 bytes (0: no limit).
    TConstantInput(QWidget* owner, int maxBytes);

    // The trimmed text.
    QString GetConstant() const;

private:
    QLineEdit* m_edtConst = nullptr;
    QToolButton* m_bbtnDate = nullptr;
    QToolButton* m_bbtnTime = nullptr;
    QPushButton* m_btnOk = nullptr;
    QPushButton* m_btnCancel = nullptr;
};
