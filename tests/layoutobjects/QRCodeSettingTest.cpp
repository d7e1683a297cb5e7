// QR code settings dialog: kinds and carriers shown from the copy, the size edit, the header buttons, filling
// from a sender, applying the edits (emptied ones too), and the stored form size.
#include "layoutobjects/QRCodeSetting.h"

#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "platform/IniFile.h"
#include "support/AdrsTableFixture.h"
#include "support/DrawingFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class QRCodeSetting : public DrawingTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        DataRootFolder = m_dir.path() + QStringLiteral("/root/");
        DataFolder = DataRootFolder + QStringLiteral("Data/");
        CategoryFolder = DataRootFolder + QStringLiteral("Category/");
        SetDataSubFolders();
        m_dm = std::make_unique<TDMQuenrid215>();
        DMQuenrid215 = m_dm.get();
        m_dm->CreateSenderTable();
        ASSERT_TRUE(m_dm->CreateSenderFile());
    }
    void TearDown() override
    {
        DMQuenrid215 = nullptr;
        m_dm.reset();
    }

    void addSender(AdrsTableFixture::Fields fields)
    {
        ASSERT_TRUE(m_dm->OpenSender());
        AdrsTableFixture::add(*m_dm->SenderTable(), fields);
        m_dm->CloseSender();
    }

    template <class W> static W* child(QWidget& dialog, const char* name)
    {
        W* w = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static QString text(QWidget& dialog, const char* name) { return child<QLineEdit>(dialog, name)->text(); }
    static void setText(QWidget& dialog, const char* name, const QString& value)
    {
        child<QLineEdit>(dialog, name)->setText(value);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TDMQuenrid215> m_dm;
};

TEST_F(QRCodeSetting, KindsAndCarriersFollowTheCopy)
{
    const struct
    {
        quint8 kind;
        const char* radio;
        const char* carrier;
        const char* page;
        int help;
    } cases[] = {{QRFreeText, "rbText", "rbDocomo", "tbsText", 130},
                 {QRContactCard, "rbAddress", "rbDocomo", "tbsAddress", 130},
                 {QRPhoneBook, "rbAddress", "rbSoftBank", "tbsAddress", 130},
                 {QRMailMessage, "rbMail", "rbDocomo", "tbsMail", 131},
                 {QRMailLink, "rbMail", "rbSoftBank", "tbsMail", 131}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        TQRCodeRect frame;
        frame.SetContentKind(c.kind);
        TQRCodeSettingDialog dialog;
        dialog.SetQRCode(frame);
        dialog.show();
        EXPECT_TRUE(child<QRadioButton>(dialog, c.radio)->isChecked());
        EXPECT_TRUE(child<QRadioButton>(dialog, c.carrier)->isChecked());
        EXPECT_EQ(child<QRadioButton>(dialog, "rbSoftBank")->isEnabled(), c.kind != QRFreeText);
        EXPECT_EQ(child<QStackedWidget>(dialog, "pgcContents")->currentWidget()->objectName(),
                  QLatin1String(c.page));
        EXPECT_EQ(child<QRadioButton>(dialog, c.radio)->palette().color(QPalette::WindowText),
                  QColor(Qt::blue));
        // OK keeps the kind.
        child<QPushButton>(dialog, "btnOK")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.QRCodeRect().ContentKind(), c.kind);
    }
}

TEST_F(QRCodeSetting, SizeEditKeepsOneToFive)
{
    TQRCodeRect frame;
    frame.SetModuleSize(2);
    TQRCodeSettingDialog dialog;
    dialog.SetQRCode(frame);
    dialog.show();
    auto* edSize = child<QLineEdit>(dialog, "edSize");
    EXPECT_EQ(edSize->text(), "2");
    const auto leave = [&](const QString& typed) {
        edSize->setText(typed);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edSize, &out);
        return edSize->text();
    };
    EXPECT_EQ(leave("9"), "5");
    EXPECT_EQ(leave("x"), "5");
    EXPECT_EQ(leave("3"), "3");
    EXPECT_EQ(leave("-"), "3");
    EXPECT_EQ(leave(""), "3");
    EXPECT_EQ(leave("0"), "1");
    QTest::keyClick(edSize, Qt::Key_PageUp);
    EXPECT_EQ(edSize->text(), "5");
    QTest::keyClick(edSize, Qt::Key_Down);
    EXPECT_EQ(edSize->text(), "4");
    // Nothing reaches the copy before "更新".
    EXPECT_EQ(dialog.QRCodeRect().ModuleSize(), 2);
    child<QPushButton>(dialog, "btnRefresh")->click();
    EXPECT_EQ(dialog.QRCodeRect().ModuleSize(), 4);
}

TEST_F(QRCodeSetting, HeaderGoesInAtTheCaret)
{
    TQRCodeRect frame;
    frame.SetText(ToAnsi(QStringLiteral("あいう")));
    TQRCodeSettingDialog dialog;
    dialog.SetQRCode(frame);
    dialog.show();
    auto* memo = child<QPlainTextEdit>(dialog, "memText");
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(2);
    memo->setTextCursor(cursor);
    child<QPushButton>(dialog, "bbtnTelHeader")->click();
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("あいTEL:う"));
    EXPECT_EQ(memo->textCursor().position(), 6);
    child<QPushButton>(dialog, "bbtnURLHeader")->click();
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("あいTEL:http://う"));
}

TEST_F(QRCodeSetting, SenderFillsThePhoneBookEdits)
{
    {
        TQRCodeSettingDialog empty;
        auto* list = child<QComboBox>(empty, "cbxSender");
        EXPECT_EQ(list->count(), 1);
        EXPECT_EQ(list->itemText(0), QStringLiteral("なし"));
        EXPECT_FALSE(child<QPushButton>(empty, "btnSender")->isEnabled());
    }
    addSender(
        {{"Title", QStringLiteral("会社")}, {"Name", QByteArray("x")}, {"Tel", QByteArray("0311112222")}});
    addSender({{"Title", QStringLiteral("自宅")},
               {"Name", WideToHexText(QStringLiteral("山田 花子"))},
               {"Head1", QStringLiteral("携帯")},
               {"Addition1", QByteArray("090-1111-2222")},
               {"Head2", QByteArray("e-mail")},
               {"Addition2", QByteArray("a@b.jp")},
               {"Head3", QStringLiteral("携帯")},
               {"Addition3", QByteArray("(080)3333-4444")},
               {"Head4", QByteArray("FAX")},
               {"Addition4", QByteArray("0355556666")}});
    TQRCodeSettingDialog dialog;
    auto* list = child<QComboBox>(dialog, "cbxSender");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(1), QStringLiteral("自宅"));
    EXPECT_TRUE(child<QPushButton>(dialog, "btnSender")->isEnabled());
    setText(dialog, "edKana", "ﾔﾏﾀﾞ");
    list->setCurrentIndex(1);
    child<QPushButton>(dialog, "btnSender")->click();
    EXPECT_EQ(text(dialog, "edName"), QStringLiteral("山田 花子"));
    EXPECT_EQ(text(dialog, "edKana"), QString());
    EXPECT_EQ(text(dialog, "edTel1"), "09011112222");
    EXPECT_EQ(text(dialog, "edTel2"), "08033334444");
    EXPECT_EQ(text(dialog, "edMail1"), "a@b.jp");
    EXPECT_EQ(text(dialog, "edMail2"), QString());
    // A sender with a telephone keeps it first.
    list->setCurrentIndex(0);
    child<QPushButton>(dialog, "btnSender")->click();
    EXPECT_EQ(text(dialog, "edTel1"), "0311112222");
    EXPECT_EQ(text(dialog, "edTel2"), QString());
}

TEST_F(QRCodeSetting, UpdateAppliesTheEditsEmptiedOnesToo)
{
    TQRCodeRect frame;
    frame.SetContentKind(QRContactCard);
    frame.SetTel(0, "0311");
    frame.SetTel(1, "0322");
    frame.SetMail(0, "a@x");
    frame.SetMail(1, "b@x");
    TQRCodeSettingDialog dialog;
    dialog.SetQRCode(frame);
    dialog.show();
    setText(dialog, "edTel1", "--");
    setText(dialog, "edMail2", "");
    setText(dialog, "edName", QStringLiteral("山田"));
    child<QRadioButton>(dialog, "rbSoftBank")->setChecked(true);
    child<QPushButton>(dialog, "btnRefresh")->click();
    TQRCodeRect& copy = dialog.QRCodeRect();
    EXPECT_EQ(copy.ContentKind(), QRPhoneBook);
    EXPECT_EQ(copy.GetTel(0), AnsiString("0322")); // the second moves up
    EXPECT_EQ(copy.GetTel(1), AnsiString());
    EXPECT_EQ(copy.GetMail(0), AnsiString("a@x"));
    EXPECT_EQ(copy.GetMail(1), AnsiString());
    EXPECT_EQ(copy.Name(), ToAnsi(QStringLiteral("山田")));
    EXPECT_TRUE(copy.ImageCurrent());
    EXPECT_EQ(copy.GetDesignRect().left, 0);
    auto* preview = dialog.findChild<QWidget*>("pbxPreview");
    EXPECT_EQ(preview->width(), copy.GetDesignRect().Width());
    EXPECT_GT(preview->width(), 0);
}

TEST_F(QRCodeSetting, FormSizeIsStoredInDesign)
{
    const QString file = DataRootFolder + MainSettingsFileName;
    const QSize least(ScaleByDpi(580, 1), ScaleByDpi(460, 1));
    {
        TMemIniFile ini(file);
        ini.WriteInteger("DESIGN", "QRWidth", 900);
        ASSERT_TRUE(ini.UpdateFile());
    }
    {
        TQRCodeSettingDialog dialog; // the width alone is not used
        EXPECT_EQ(dialog.size(), least);
    }
    {
        TMemIniFile ini(file);
        ini.WriteInteger("DESIGN", "QRWidth", 300);
        ini.WriteInteger("DESIGN", "QRHeight", 300);
        ASSERT_TRUE(ini.UpdateFile());
    }
    {
        TQRCodeSettingDialog dialog;
        EXPECT_EQ(dialog.size(), least);
        dialog.resize(least + QSize(100, 50));
    }
    const TMemIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("DESIGN", "QRWidth", 0), ScaleByDpi(least.width() + 100, 0));
    EXPECT_EQ(ini.ReadInteger("DESIGN", "QRHeight", 0), ScaleByDpi(least.height() + 50, 0));
}

} // namespace
