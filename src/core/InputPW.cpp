// The start-up password prompt: the run goes on only with the right password.
#include "core/InputPW.h"

#include "core/DialogSub.h"

#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TInputPassword::TInputPassword(QWidget* owner, std::optional<QString> expected)
    : QDialog(owner), m_expected(std::move(expected))
{
    setObjectName(QStringLiteral("InputPassword"));
    setWindowTitle(QStringLiteral("起動時パスワードの入力"));
    SetHelpContext(this, 1);

    m_lblMsg1 = new QLabel(ProductTitle, this);
    m_lblMsg1->setObjectName(QStringLiteral("lblMsg1"));
    auto* lblMsg2 = new QLabel(QStringLiteral("を起動するためのパスワードを入力してください"), this);
    lblMsg2->setObjectName(QStringLiteral("lblMsg2"));
    m_medtPassword = new QLineEdit(this);
    m_medtPassword->setObjectName(QStringLiteral("medtPassword"));
    m_medtPassword->setMaxLength(16);
    m_medtPassword->setEchoMode(QLineEdit::Password);
    m_medtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_medtPassword->setAttribute(Qt::WA_InputMethodEnabled, false);
    auto* bvlLine = new QFrame(this);
    bvlLine->setObjectName(QStringLiteral("bvlLine"));
    bvlLine->setFrameShape(QFrame::HLine);
    bvlLine->setFrameShadow(QFrame::Sunken);
    m_btnOk = MakeButton(this, "btnOk", QStringLiteral("OK"), true);
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblMsg1);
    layout->addWidget(lblMsg2);
    layout->addWidget(m_medtPassword);
    layout->addWidget(bvlLine);
    auto* buttons = ButtonRow({m_btnOk, m_btnCancel});
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_btnOk, &QPushButton::clicked, this, &TInputPassword::btnOkClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &TInputPassword::btnCancelClick);
    m_medtPassword->setFocus();
    adjustSize();
    CenterForm(this);
}

void TInputPassword::btnOkClick()
{
    const QString typed = m_medtPassword->text();
    if (typed.isEmpty()) {
        MessageBoxPos(this, QStringLiteral("パスワードを入力してください  "), ProductTitle,
                      MsgSeam::MbIconInformation, 0);
        m_medtPassword->setFocus();
        return;
    }
    if (m_expected && typed == *m_expected) {
        done(mrOk);
        return;
    }
    MessageBoxPos(this, QStringLiteral("パスワードが違います  \r\n正しいパスワードを入力してください  "),
                  ProductTitle, MsgSeam::MbIconInformation, 0);
    m_medtPassword->clear();
    m_medtPassword->setFocus();
}

void TInputPassword::btnCancelClick()
{
    reject();
}

void TInputPassword::reject()
{
    // Esc, the cancel button and the window's close box all come here.
    done(mrCancel);
}

void TInputPassword::done(int result)
{
    if (result != mrOk) {
        const int answer =
            MessageBoxPos(this, QStringLiteral("Tovarel の起動を中止します  \r\nよろしいですか？  "),
                          ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion, 0);
        if (answer == MsgSeam::IdNo)
            return;
        result = mrCancel;
    }
    QDialog::done(result);
}
