// Tests of the record card's look-ups: what the card takes over from a lookup answer, the directory and
// address-book answers on the card, and the municipality codes of the typed address.
#include "search/DtInqiryLookups.h"

#include "search/DicSch.h"
#include "search/DirSearchFixture.h"
#include "support/CardFixtures.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

TEST(DtInqiryLookupsLogicTest, StartsWithText)
{
    EXPECT_TRUE(StartsWithText(QStringLiteral("東京都千代田区丸の内１"), QStringLiteral("東京都千代田区")));
    EXPECT_FALSE(StartsWithText(QStringLiteral("  "), QString()));
    EXPECT_FALSE(StartsWithText(QStringLiteral("abc"), QStringLiteral("ABC")));
    EXPECT_FALSE(StartsWithText(QStringLiteral("東京都"), QStringLiteral("東京都千代田区")));
}

TEST(DtInqiryLookupsLogicTest, AddressIsKeptOnlyWhereItGoesOnFromTheAnswer)
{
    TDicResultRec r;
    r.Prefecture = A("東京都");
    r.Address1 = A("千代田区");
    r.AddressKana = A("ﾄｳｷｮｳﾄﾁﾖﾀﾞｸ");
    r.PostalCode = "100-0000";
    r.JisCode = "13101";
    const struct
    {
        const char* tdfkn;
        const char* adrs1;
        const char* adrs2;
        bool kept;
    } cases[] = {{"東京都", "千代田区", "丸の内１－１", true},
                 {"大阪府", "大阪市北区", "梅田", false},
                 {"", "", "", false},
                 {"東京都", "中央区", "", false}};
    for (const auto& c : cases) {
        TCardValues v;
        v.Tdfkn = QString::fromUtf8(c.tdfkn);
        v.Adrs1 = QString::fromUtf8(c.adrs1);
        v.Adrs2 = QString::fromUtf8(c.adrs2);
        v.Tel = QStringLiteral("keep");
        v.MainNumber = true;
        v.CodeMain = 3;
        ApplyDicResult(v, r, 1);
        EXPECT_EQ(v.Tdfkn + v.Adrs1 + v.Adrs2,
                  c.kept ? QStringLiteral("東京都千代田区丸の内１－１") : QStringLiteral("東京都千代田区"))
            << c.adrs1;
        EXPECT_EQ(v.Pos, QStringLiteral("100-0000"))
            << "the postal code is set also where the address is kept";
        EXPECT_EQ(v.JisCode, QStringLiteral("13101"));
        // A postal answer leaves the telephone and category items alone.
        EXPECT_EQ(v.Tel, QStringLiteral("keep"));
        EXPECT_TRUE(v.MainNumber);
        EXPECT_EQ(v.CodeMain, 3);
    }
}

namespace {

class DtInqiryLookupsTest : public CardFixture
{
protected:
    void SetUp() override
    {
        CardFixture::SetUp();
        m_savedProgram = ProgramFolder;
        m_savedDisc = DiscFolder;
        m_savedHdd = HddInstalled;
        ProgramFolder = DicLibraryFolder;
        DiscFolder = DirFixtureFolder.chopped(QStringLiteral("Quenrid215/").size());
        HddInstalled = false;
        MainSettings.OutOfTarget = true;
        ASSERT_EQ(LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/")), 0);
        ASSERT_TRUE(LoadCategoryNames(ProgramFolder + QStringLiteral("Dic/dbctgry.dat")));
        RegisterCardLookups();
        card = new TDataInquiry(&book, data);
        card->show();
    }
    void TearDown() override
    {
        delete card.data();
        for (TCardService s : {TCardService::TelLookup, TCardService::PosLookup, TCardService::AdrsLookup,
                               TCardService::JisCodeLookup})
            RegisterCardService(s, {});
        FreeHyphenLibrary();
        ProgramFolder = m_savedProgram;
        DiscFolder = m_savedDisc;
        HddInstalled = m_savedHdd;
        CardFixture::TearDown();
    }

    MessageRecorder messages;

private:
    QString m_savedProgram, m_savedDisc;
    bool m_savedHdd = false;
};

} // namespace

TEST_F(DtInqiryLookupsTest, ButtonsAreEnabledAndAFaxOnlyNumberLandsInFax)
{
    for (QToolButton* b : {card->bbtnTelSch, card->bbtnPosSch, card->bbtnAdrsSearch, card->bbtnGetJisCode})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    card->edtFax->setText(QStringLiteral("06-6123-0002"));
    card->bbtnTelSch->click();
    EXPECT_EQ(card->edtTel->text(), QString());
    EXPECT_EQ(card->edtFax->text(), QStringLiteral("06-6123-0002"));
    EXPECT_EQ(card->edtFax->cursorPosition(), int(card->edtFax->text().size()));
    EXPECT_EQ(card->focusWidget(), card->edtFax);
    EXPECT_TRUE(card->sbtnCorp->isChecked());
    EXPECT_EQ(card->nmedtCorpKanji->text(), QStringLiteral("梅田ファクス株式会社"));
    EXPECT_EQ(card->edtPubDate->text(), QStringLiteral(" 2010年01月"));
    EXPECT_EQ(card->edtTdfkn->text() + card->edtAdrs1->text() + card->edtAdrs2->text(),
              QStringLiteral("大阪府大阪市北区梅田２丁目"));
    EXPECT_EQ(card->edtJisCode->text(), QStringLiteral("27127"));
    EXPECT_TRUE(card->SnapshotRecord().has_value()) << "OutOfTarget: a fresh snapshot";
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(DtInqiryLookupsTest, RowHiddenByTheNarrowingIsReadByRecNo)
{
    const qint32 recNo = addPerson(QStringLiteral("山田太郎"), {{"Tel", QByteArray("0312345678")}});
    addPerson(QStringLiteral("鈴木一郎"), {});
    book.hidden = {recNo};
    book.RefreshList(false, true, false);
    card->edtTel->setText(QStringLiteral("03-1234-5678"));
    messages.answer(MsgSeam::IdYes);
    card->bbtnTelSch->click();
    ASSERT_TRUE(card->LoadedRecord().has_value());
    EXPECT_EQ(card->LoadedRecord()->RecNo, recNo);
    EXPECT_EQ(card->ListSource(), lsAddressList);
}

TEST_F(DtInqiryLookupsTest, MunicipalityCodes)
{
    card->edtTdfkn->setText(QStringLiteral("東京都"));
    card->edtAdrs1->setText(QStringLiteral("千代田区"));
    card->edtAdrs2->setText(QStringLiteral("千代田１－１"));
    card->bbtnGetJisCode->click();
    EXPECT_EQ(card->edtJisCode->text(), QStringLiteral("13101"));
    EXPECT_FALSE(card->lblKajoCode->text().isEmpty());

    card->edtTdfkn->setText(QStringLiteral("ほげ"));
    card->edtAdrs1->clear();
    card->edtAdrs2->clear();
    card->bbtnGetJisCode->click();
    EXPECT_EQ(card->edtJisCode->text(), QStringLiteral("13101")) << "an unknown address changes nothing";

    card->edtTdfkn->setText(QStringLiteral("  "));
    card->bbtnGetJisCode->click();
    EXPECT_EQ(card->edtJisCode->text(), QString());
    EXPECT_EQ(card->lblKajoCode->text(), QString());

    // A converter that cannot be loaded: its message, the card unchanged.
    ProgramFolder = data.folder();
    card->edtTdfkn->setText(QStringLiteral("東京都"));
    messages.answer(MsgSeam::IdOk);
    card->bbtnGetJisCode->click();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("DLZsCnv.dll")))
        << messages.last().text.toStdString();
    EXPECT_EQ(card->edtJisCode->text(), QString());
}

TEST_F(DtInqiryLookupsTest, DictionaryFailureOfALookupIsShownAndChangesNothing)
{
    ProgramFolder = data.folder();
    card->edtPos->setText(QStringLiteral("100-0001"));
    messages.answer(MsgSeam::IdOk);
    ModalDriver modal;
    modal.on(QStringLiteral("DicSearch"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    card->bbtnPosSch->click();
    EXPECT_EQ(messages.count(), 1);
    EXPECT_EQ(card->edtPos->text(), QStringLiteral("100-0001"));
    EXPECT_EQ(card->edtTdfkn->text(), QString());
}
