// Data format dialog: the choices read from any stored value and written as 0-2, honorifics cut at a
// character boundary, the untouched rest of the record, the paper kinds and the recipient switch, Cancel.
#include "layoutobjects/DataFormDialog.h"

#include "core/PDFHelp.h"
#include "support/ModalDriver.h"
#include "support/SettingDialogFixture.h"
#include "support/XvfbShot.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

using namespace LayoutSettingsField;

class DataForm : public SettingDialogTest
{
protected:
    static TLayoutSettings patterned()
    {
        TLayoutSettings settings;
        for (int i = 0; i < LayoutSettingsSize; ++i)
            settings.SetByte(i, quint8(0xA0 + i));
        return settings;
    }
};

TEST_F(DataForm, ChoicesFromStoredValues)
{
    const struct
    {
        qint32 stored;
        const char* company;
        const char* mark;
        qint32 written;
    } cases[] = {{0, "rbNone", "rbPosNone", 0},
                 {1, "rbOmittion", "rbPosMark", 1},
                 {2, "rbFull", "rbPosHyphen", 2},
                 {7, "rbFull", "rbPosHyphen", 2},
                 {-1, "rbFull", "rbPosHyphen", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        TLayoutSettings settings;
        settings.SetInt(CompanyForm, c.stored);
        settings.SetInt(RecipientPostalMark, c.stored);
        settings.SetByte(VerticalDigits, 1);
        TDataFormDialog dialog;
        dialog.SetDataForm(settings);
        EXPECT_TRUE(child<QRadioButton>(dialog, c.company)->isChecked());
        EXPECT_TRUE(child<QRadioButton>(dialog, c.mark)->isChecked());
        EXPECT_TRUE(blue(child<QRadioButton>(dialog, c.mark)));
        EXPECT_TRUE(child<QRadioButton>(dialog, "rbSendPosNone")->isChecked());
        EXPECT_TRUE(child<QCheckBox>(dialog, "ckbVertNumeral")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(dialog, "ckbTdfkn")->isChecked());
        TLayoutSettings out;
        dialog.GetDataForm(out);
        EXPECT_EQ(out.Int(CompanyForm), c.written);
        EXPECT_EQ(out.Int(RecipientPostalMark), c.written);
        EXPECT_EQ(out.Int(SenderPostalMark), 0);
        EXPECT_EQ(out.Byte(VerticalDigits), 1);
    }
}

TEST_F(DataForm, HonorificsCutAtCharacterBoundary)
{
    const struct
    {
        QString typed;
        QString stored;
        int length;
    } cases[] = {
        {QStringLiteral("様"), QStringLiteral("様"), 2},
        {QStringLiteral("ＡＢＣＤＥ"), QStringLiteral("ＡＢＣＤＥ"), 10},
        {QStringLiteral("abcdefghij"), QStringLiteral("abcdefghij"), 10},
        // 11 bytes: the last whole character would end past 10, so it goes.
        {QStringLiteral("a様様様様様"), QStringLiteral("a様様様様"), 9},
        {QStringLiteral("御中御中御中"), QStringLiteral("御中御中御"), 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        TDataFormDialog dialog;
        dialog.SetDataForm(TLayoutSettings());
        child<QLineEdit>(dialog, "edCorpHonor")->setText(c.typed);
        TLayoutSettings out;
        dialog.GetDataForm(out);
        EXPECT_EQ(out.Byte(CompanyHonorific), c.length);
        EXPECT_EQ(out.Honorific(CompanyHonorific), c.stored);
    }
}

TEST_F(DataForm, RestOfTheRecordUntouched)
{
    TLayoutSettings settings;
    settings.SetDefaults(false);
    TDataFormDialog dialog;
    dialog.SetDataForm(settings);
    EXPECT_EQ(child<QLineEdit>(dialog, "edSenderHonor")->text(), QStringLiteral("行"));
    TLayoutSettings out = patterned();
    dialog.GetDataForm(out);
    EXPECT_EQ(out.Bytes().left(DataFormBytes), settings.Bytes().left(DataFormBytes));
    EXPECT_EQ(out.Bytes().mid(DataFormBytes), patterned().Bytes().mid(DataFormBytes));
}

TEST_F(DataForm, PaperKindsAndRecipientItems)
{
    const auto senderEnabled = [](TDataFormDialog& d) {
        return child<QRadioButton>(d, "rbSendPosMark")->isEnabled() &&
               child<QLabel>(d, "lblSender")->isEnabled();
    };
    const auto honorsEnabled = [](TDataFormDialog& d) {
        return child<QLineEdit>(d, "edDefHonor")->isEnabled() && child<QGroupBox>(d, "gbxHonor")->isEnabled();
    };
    TLayoutSettings settings;
    settings.SetDefaults(true);
    for (int kind : {0, 1, 2, 3}) {
        SCOPED_TRACE(kind);
        TDataFormDialog dialog;
        dialog.SetDataForm(settings);
        dialog.SetPaperKind(kind);
        dialog.show();
        EXPECT_EQ(HelpContextOf(&dialog), DataFormHelp);
        EXPECT_EQ(senderEnabled(dialog), kind < 2);
        EXPECT_EQ(child<QLabel>(dialog, "lblNote")->isVisible(), kind == 2);
        if (kind == 2)
            KeepXvfbScreen("data-form.xwd");
        EXPECT_EQ(honorsEnabled(dialog), kind != 3);
        EXPECT_TRUE(child<QRadioButton>(dialog, "rbPosMark")->isEnabled());
        // Disabled honorifics are still written back.
        child<QLineEdit>(dialog, "edPostHonor")->setText(QStringLiteral("殿"));
        TLayoutSettings out;
        dialog.GetDataForm(out);
        EXPECT_EQ(out.Honorific(TitleHonorific), QStringLiteral("殿"));
        EXPECT_EQ(out.Honorific(DefaultHonorific), QStringLiteral("様"));
    }
    TDataFormDialog message;
    message.DisableRecipientItems(0);
    EXPECT_TRUE(child<QRadioButton>(message, "rbPosNone")->isEnabled());
    message.DisableRecipientItems(1);
    EXPECT_FALSE(child<QRadioButton>(message, "rbPosNone")->isEnabled());
    EXPECT_FALSE(child<QLabel>(message, "lblRecipient")->isEnabled());
    EXPECT_FALSE(honorsEnabled(message));
    EXPECT_TRUE(senderEnabled(message));
    EXPECT_EQ(HelpContextOf(&message), DataFormHelp);
}

TEST_F(DataForm, OkAndCancel)
{
    TLayoutSettings settings;
    settings.SetDefaults(false);
    for (const char* button : {"btnCancel", "btnOK"}) {
        SCOPED_TRACE(button);
        TDataFormDialog dialog;
        dialog.SetDataForm(settings);
        ModalDriver driver;
        driver.on("DataFormDialog", [button](QWidget* w) {
            w->findChild<QCheckBox*>(QStringLiteral("ckbChineseNumeral"))->click();
            w->findChild<QRadioButton*>(QStringLiteral("rbOmittion"))->click();
            w->findChild<QPushButton*>(QLatin1String(button))->click();
        });
        const bool accepted = dialog.exec() == QDialog::Accepted;
        EXPECT_EQ(accepted, QByteArray(button) == "btnOK");
        if (!accepted)
            continue;
        TLayoutSettings out = settings;
        dialog.GetDataForm(out);
        EXPECT_EQ(out.Byte(KanjiNumerals), 1);
        EXPECT_EQ(out.Int(CompanyForm), 1);
    }
}

} // namespace
