// The administrator password check and its prompt.
#include "maintenance/SwtichAdmin.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString stored(const char* password)
{
    return ToWide(EncryptFieldText(password, AdminPasswordKey));
}

TEST(SwtichAdmin, PasswordCheck)
{
    using C = TAdminPasswordCheck;
    const struct
    {
        const char* name;
        QString typed;
        QString stored;
        C expected;
    } cases[] = {
        {"nothing stored, empty input", QString(), QString(), C::Match},
        {"nothing stored, blanks", QStringLiteral("   "), QString(), C::Match},
        {"nothing stored, a word", QStringLiteral("x"), QString(), C::Mismatch},
        {"exact", QStringLiteral("Secret9"), stored("Secret9"), C::Match},
        {"blanks around", QStringLiteral("  Secret9 "), stored("Secret9"), C::Match},
        {"other case", QStringLiteral("secret9"), stored("Secret9"), C::Mismatch},
        {"prefix", QStringLiteral("Secret"), stored("Secret9"), C::Mismatch},
        {"longer", QStringLiteral("Secret99"), stored("Secret9"), C::Mismatch},
        {"damaged", QStringLiteral("Secret9"), QStringLiteral("ZZ12"), C::Unreadable},
        {"wrong key", QStringLiteral("Secret9"), ToWide(EncryptFieldText("Secret9", FieldCipherKey)), C::Unreadable},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckAdminPassword(c.typed, c.stored), c.expected) << c.name;
}

TEST(SwtichAdmin, PromptStaysOpenUntilThePasswordIsRight)
{
    AdminPassword = stored("Secret9");
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    TSwitchAdminMode prompt(nullptr);
    auto* edit = prompt.findChild<QLineEdit*>(QStringLiteral("edtPassword"));
    EXPECT_EQ(edit->maxLength(), 16);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    const int result = RunModal(prompt, QList<std::function<void()>>{
                                            [&] {
                                                edit->setText(QStringLiteral("secret9"));
                                                prompt.btnSwitchClick();
                                                EXPECT_TRUE(prompt.isVisible());
                                            },
                                            [&] {
                                                edit->setText(QStringLiteral(" Secret9"));
                                                prompt.btnSwitchClick();
                                            }});
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("パスワードが違います  "));
    AdminPassword.clear();
}

TEST(SwtichAdmin, DamagedStoredPasswordIsReported)
{
    AdminPassword = QStringLiteral("not a cipher");
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    TSwitchAdminMode prompt(nullptr);
    const int result = RunModal(prompt, QList<std::function<void()>>{
                                            [&] { prompt.btnSwitchClick(); },
                                            [&] { prompt.findChild<QPushButton*>(QStringLiteral("btnCancel"))->click(); }});
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().flags & 0xF0, MsgSeam::MbIconStop);
    EXPECT_EQ(messages.last().text, QStringLiteral("保存されている管理者パスワードが読み取れません  "));
    AdminPassword.clear();
}

} // namespace
