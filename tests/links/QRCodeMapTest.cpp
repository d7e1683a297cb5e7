// Tests of the mobile-map QR code dialog, and of the record card's buttons that open the link windows.
#include "links/QRCodeMap.h"

#include "addressbook/DtInqiry.h"
#include "links/AddExtURL.h"
#include "links/LinkFixtures.h"
#include "links/LinkServices.h"
#include "links/WebLinks.h"
#include "links/WebSearch.h"
#include "platform/IniFile.h"
#include "support/CardFixtures.h"
#include "support/ModalDriver.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

void WriteSize(const char* value)
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteString(QStringLiteral("QRMAP"), QStringLiteral("Size"), QLatin1String(value));
    ini.UpdateFile();
}

int StoredSize()
{
    return TMemIniFile(DataRootFolder + MainSettingsFileName)
        .ReadInteger(QStringLiteral("QRMAP"), QStringLiteral("Size"), -1);
}

void Focus(QWidget* w, QEvent::Type type)
{
    QFocusEvent e(type, Qt::TabFocusReason);
    QApplication::sendEvent(w, &e);
}

// What zbarimg reads from picture, without its type prefix.
QString Decode(const QImage& picture, const QString& folder)
{
    const QString file = folder + QStringLiteral("decoded.bmp");
    EXPECT_TRUE(picture.save(file, "BMP"));
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--quiet"), QStringLiteral("--raw"), file});
    EXPECT_TRUE(zbar.waitForFinished(30000));
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

TEST(QRCodeMap, LinkUrlEncodesTheAddress)
{
    EXPECT_EQ(MobileMapLinkUrl(QStringLiteral("ァ 1-2")),
              WebLinks::MobileMapHost + QStringLiteral("/link.cgi?W=D&ZM=11&ADDR=%83@+1-2"));
}

TEST(QRCodeMap, CodeDecodesToTheLinkAndItsFileGoes)
{
    TempDataRoot root;
    TQRCodeMap dialog(nullptr);
    const QString address = QStringLiteral("東京都千代田区千代田1-1");
    dialog.SetAddress(QStringLiteral("  ") + address + QStringLiteral("　 "));
    EXPECT_EQ(dialog.Address(), address + QStringLiteral("　")); // the ideographic space is no blank
    EXPECT_TRUE(dialog.Bitmap().isNull());                       // made when the dialog shows
    dialog.show();
    ASSERT_FALSE(dialog.Bitmap().isNull());
    EXPECT_FALSE(QFile::exists(root.folder() + QStringLiteral("qr.bmp")));
    EXPECT_EQ(Decode(dialog.Bitmap(), root.folder()), MobileMapLinkUrl(dialog.Address()));
    EXPECT_EQ(dialog.findChild<QLineEdit*>("edtAdrs")->text(), dialog.Address());

    // A new address while showing remakes the code; the module size is three pixels.
    const QImage before = dialog.Bitmap();
    dialog.SetAddress(QStringLiteral("大阪府"));
    EXPECT_NE(dialog.Bitmap(), before);
    EXPECT_EQ(Decode(dialog.Bitmap(), root.folder()), MobileMapLinkUrl(QStringLiteral("大阪府")));
    EXPECT_EQ(dialog.Bitmap().width() % 3, 0);
    dialog.hide();
}

TEST(QRCodeMap, SizeSettingFieldAndArrows)
{
    TempDataRoot root;
    WriteSize("9");
    {
        TQRCodeMap dialog(nullptr);
        auto* size = dialog.findChild<QLineEdit*>("edtSize");
        EXPECT_EQ(dialog.Size(), 3);
        EXPECT_EQ(size->text(), QStringLiteral("3"));
        dialog.SetAddress(QStringLiteral("東京都"));
        dialog.show();
        const int width3 = dialog.Bitmap().width();

        // A number outside the sizes, or no number, gives the field its old size back.
        for (const char* typed : {"7", "", "a", "0"}) {
            Focus(size, QEvent::FocusIn);
            size->setText(QLatin1String(typed));
            Focus(size, QEvent::FocusOut);
            EXPECT_EQ(size->text(), QStringLiteral("3")) << typed;
            EXPECT_EQ(dialog.Size(), 3) << typed;
        }

        // The arrows remake the code at the new size, and stop at the ends.
        dialog.findChild<QToolButton*>("udSizeUp")->click();
        EXPECT_EQ(dialog.Size(), 4);
        EXPECT_EQ(size->text(), QStringLiteral("4"));
        EXPECT_EQ(dialog.Bitmap().width(), width3 / 3 * 4);
        dialog.udSizeChangingEx(6);
        EXPECT_EQ(dialog.Size(), 4);
        for (int i = 0; i < 5; ++i)
            dialog.findChild<QToolButton*>("udSizeDown")->click();
        EXPECT_EQ(dialog.Size(), 1);
        EXPECT_EQ(dialog.Bitmap().width(), width3 / 3);

        // Keys in the field: Page Up stops at the largest size; a good number is taken.
        QTest::keyClick(size, Qt::Key_PageUp);
        EXPECT_EQ(dialog.Size(), 5);
        Focus(size, QEvent::FocusIn);
        size->setText(QStringLiteral("2"));
        Focus(size, QEvent::FocusOut);
        EXPECT_EQ(dialog.Size(), 2);
        EXPECT_EQ(dialog.Bitmap().width(), width3 / 3 * 2);
        dialog.hide();
    }
    EXPECT_EQ(StoredSize(), 2);
}

class CardLinkButtonsTest : public CardFixture
{
protected:
    void SetUp() override
    {
        CardFixture::SetUp();
        RegisterLinkServices();
        card = new TDataInquiry(&book, data);
        card->show();
    }
    void TearDown() override
    {
        RegisterCardService(TCardService::QRMap, {});
        RegisterCardService(TCardService::WebSearch, {});
        RegisterCardService(TCardService::AddExtLink, {});
        CardFixture::TearDown();
    }
};

TEST_F(CardLinkButtonsTest, ButtonsOpenTheirWindows)
{
    card->findChild<QLineEdit*>("edtTdfkn")->setText(QStringLiteral("東京都"));
    card->findChild<QLineEdit*>("edtAdrs1")->setText(QStringLiteral("千代田区 "));
    card->findChild<QLineEdit*>("edtAdrs3")->setText(QStringLiteral("ビル"));
    auto* qr = card->findChild<QToolButton*>("bbtnQRMap");
    ASSERT_TRUE(qr->isEnabled());
    EXPECT_TRUE(card->findChild<QToolButton*>("bbtnWebSearch")->isEnabled());
    EXPECT_FALSE(card->findChild<QToolButton*>("bbtnGetURL")->isEnabled());

    ModalDriver driver;
    QString shownAddress, shownWord;
    driver.on(QStringLiteral("QRCodeMap"), [&](QWidget* w) {
        shownAddress = w->findChild<QLineEdit*>("edtAdrs")->text();
        EXPECT_EQ(w->parentWidget(), card.data());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // no hourglass over the open dialog
        w->findChild<QPushButton*>("btnClose")->click();
    });
    qr->click();
    EXPECT_EQ(shownAddress, QStringLiteral("東京都千代田区 ビル"));

    card->sbtnCorp->click();
    card->nmedtCorpKanji->setText(QStringLiteral("株式会社テスト"));
    driver.on(QStringLiteral("WebSearch"), [&](QWidget* w) {
        shownWord = w->findChild<QLineEdit*>("edtWord")->text();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        w->findChild<QPushButton*>("btnClose")->click();
    });
    card->findChild<QToolButton*>("bbtnWebSearch")->click();
    EXPECT_EQ(shownWord, QStringLiteral("株式会社テスト"));

    driver.on(QStringLiteral("AddExtURL"), [&](QWidget* w) {
        w->findChild<QLineEdit*>("edtURL")->setText(QStringLiteral(" https://example.jp/ "));
        w->findChild<QPushButton*>("btnAdd")->click();
    });
    card->pmiExtURLClick();
    EXPECT_EQ(card->FormValues().ExtLink, QStringList{QStringLiteral("https://example.jp/")});
}

} // namespace
