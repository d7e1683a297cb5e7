// The administrator mode prompt.
#include "maintenance/SwtichAdmin.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

bool sameBytes(const QByteArray& a, const QByteArray& b)
{
    const qsizetype n = std::max(a.size(), b.size());
    unsigned diff = a.size() == b.size() ? 0u : 1u;
    for (qsizetype i = 0; i < n; ++i) {
        const auto x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0u;
        const auto y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0u;
        diff |= x ^ y;
    }
    return diff == 0;
}

void wipe(QByteArray& bytes)
{
    bytes.fill('\0');
    bytes.clear();
}

} // namespace

TAdminPasswordCheck CheckAdminPassword(const QString& typed, const QString& stored)
{
    QByteArray input = ToAnsi(TrimBlanks(typed));
    QByteArray reference;
    try {
        reference = DecryptFieldText(ToAnsi(stored), AdminPasswordKey);
    } catch (const EFieldCipherError&) {
        wipe(input);
        return TAdminPasswordCheck::Unreadable;
    }
    const bool same = sameBytes(input, reference);
    wipe(input);
    wipe(reference);
    return same ? TAdminPasswordCheck::Match : TAdminPasswordCheck::Mismatch;
}

TSwitchAdminMode::TSwitchAdminMode(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("SwitchAdminMode"));
    setWindowTitle(QStringLiteral("管理者モードへの移行"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SetHelpContext(this, 12);

    edtPassword = Named<QLineEdit>(this, "edtPassword");
    edtPassword->setMaxLength(16);
    edtPassword->setEchoMode(QLineEdit::Password);
    edtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    SetImeMode(edtPassword, imClose);
    btnSwitch = MakeButton(this, "btnSwitch", QStringLiteral("モード移行"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(btnSwitch, &QPushButton::clicked, this, &TSwitchAdminMode::btnSwitchClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(edtPassword, btnSwitch);

    auto* layout = new QGridLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Tovarelを管理者モードで利用するためのパスワードを入力してください。")), 0,
        0, 1, 2);
    layout->addWidget(
        new QLabel(QStringLiteral("管理者モードでは 「マイナンバー/法人番号」 や 「保護メモ」 などの閲覧・\n"
                                  "編集が可能になります。")),
        1, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("パスワード")), 2, 0);
    layout->addWidget(edtPassword, 2, 1);
    layout->addLayout(ButtonRow({btnSwitch, btnCancel}), 3, 0, 1, 2);
}

void TSwitchAdminMode::btnSwitchClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TAdminPasswordCheck check = CheckAdminPassword(edtPassword->text(), AdminPassword);
    QApplication::restoreOverrideCursor();
    switch (check) {
    case TAdminPasswordCheck::Match:
        edtPassword->clear();
        accept();
        return;
    case TAdminPasswordCheck::Mismatch:
        MessageBoxPos(this, QStringLiteral("パスワードが違います  "), ProductTitle,
                      MsgSeam::MbIconExclamation);
        break;
    case TAdminPasswordCheck::Unreadable:
        MessageBoxPos(this, QStringLiteral("保存されている管理者パスワードが読み取れません  "), ProductTitle,
                      MsgSeam::MbIconStop);
        break;
    }
    edtPassword->setFocus();
}
