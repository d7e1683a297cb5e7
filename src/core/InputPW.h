// The start-up password prompt.
#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class TInputPassword : public QDialog
{
    Q_OBJECT
public:
    // expected: the plain start-up password the typed text must equal; with none (a stored value that does
    // not decode) no typed text is right, so the run can only be given up.
    TInputPassword(QWidget* owner, std::optional<QString> expected);

    // Modal results: 1 the password was right, 2 the user gave up.
    enum { mrOk = 1, mrCancel = 2 };

    void btnOkClick();
    void btnCancelClick();

    void done(int result) override;
    void reject() override;

private:
    std::optional<QString> m_expected;
    QLabel* m_lblMsg1;
    QLineEdit* m_medtPassword;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
};
