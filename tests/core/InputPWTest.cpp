// The start-up password prompt: right, wrong, empty and given-up passwords.
#include "core/InputPW.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QLineEdit* field(TInputPassword& dlg)
{
    return dlg.findChild<QLineEdit*>("medtPassword");
}

TEST(InputPW, TypedPasswordIsComparedExactly)
{
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    TInputPassword dlg(nullptr, "Secret1");
    EXPECT_EQ(dlg.findChild<QLabel*>("lblMsg1")->text(), QStringLiteral("Tovarel"));
    EXPECT_EQ(field(dlg)->maxLength(), 16);
    EXPECT_EQ(field(dlg)->echoMode(), QLineEdit::Password);

    dlg.btnOkClick(); // empty
    ASSERT_EQ(rec.count(), 1);
    EXPECT_EQ(rec.last().text, QStringLiteral("パスワードを入力してください  "));
    EXPECT_EQ(rec.last().owner, &dlg);
    EXPECT_EQ(rec.last().mode, 0);

    field(dlg)->setText("secret1"); // other letter case
    dlg.btnOkClick();
    ASSERT_EQ(rec.count(), 2);
    EXPECT_TRUE(rec.last().text.startsWith(QStringLiteral("パスワードが違います")));
    EXPECT_TRUE(field(dlg)->text().isEmpty());
    EXPECT_EQ(dlg.result(), 0);

    field(dlg)->setText("Secret1");
    dlg.btnOkClick();
    EXPECT_EQ(dlg.result(), TInputPassword::mrOk);
    EXPECT_EQ(rec.count(), 2);
}

TEST(InputPW, GivingUpAsksFirstAndNoKeepsTheText)
{
    MessageRecorder rec;
    rec.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    TInputPassword dlg(nullptr, "pw");
    EXPECT_EQ(RunModal(dlg, {[&] {
                           field(dlg)->setText("typed");
                           dlg.findChild<QPushButton*>("btnCancel")->click(); // answered No
                           EXPECT_TRUE(dlg.isVisible());
                           EXPECT_EQ(field(dlg)->text(), QStringLiteral("typed"));
                           dlg.close(); // the close box asks the same; answered Yes
                       }}),
              TInputPassword::mrCancel);
    ASSERT_EQ(rec.count(), 2);
    EXPECT_EQ(rec.messages()[0].text, QStringLiteral("Tovarel の起動を中止します  \r\nよろしいですか？  "));
    EXPECT_EQ(rec.messages()[0].flags, 36u);
    EXPECT_EQ(rec.messages()[1].flags, 36u);
}

} // namespace
