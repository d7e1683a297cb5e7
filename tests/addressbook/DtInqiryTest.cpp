// Tests of the record card window: modes, navigation, saving, deleting, protection and item behaviour.
#include "addressbook/DtInqiry.h"

#include "addressbook/GrpEdt.h"
#include "addressbook/InputLst.h"
#include "core/AppSub.h"
#include "core/CategoryNames.h"
#include "core/MainSettings.h"
#include "core/NMDEdit.h"
#include "core/TntNMDEdit.h"
#include "platform/IniFile.h"
#include "support/CardFixtures.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TDirDetailRec Hit(const char* tel, const QString& name)
{
    TDirDetailRec d;
    std::memset(&d, 0, sizeof d);
    std::memcpy(d.Tel, tel, std::strlen(tel));
    const AnsiString n = ToAnsi(name);
    std::memcpy(d.Name, n.constData(), size_t(n.size()));
    return d;
}

} // namespace

class DtInqiryTest : public CardFixture
{
protected:
    void SetUp() override
    {
        CardFixture::SetUp();
        GroupNames =
            QStringList{QStringLiteral("指定なし"), QStringLiteral("得意先"), QStringLiteral("仕入先")};
        book.senders = {{QStringLiteral("本社"), 5}, {QStringLiteral("支店"), 9}};
        card = new TDataInquiry(&book, data);
        DataInquiry = card;
        card->SetClock([this] { return clock; });
    }
    void TearDown() override
    {
        SetCardListWindow(lsNameAdrsSearch, nullptr);
        SetCardListWindow(lsCategorySearch, nullptr);
        CardFixture::TearDown();
    }

    qint32 addPerson(const QString& name, const char* tel)
    {
        return CardFixture::addPerson(name, {{"Tel", QByteArray(tel)}});
    }

    MessageRecorder messages;
    QDateTime clock{QDate(2026, 5, 6), QTime(7, 8, 9, 321)};
};

TEST_F(DtInqiryTest, CreatedEmptyWithNavigationOff)
{
    EXPECT_EQ(card->ListSource(), -1);
    EXPECT_EQ(card->ShowingItem(), -1);
    EXPECT_FALSE(card->btnUpdate->isEnabled());
    EXPECT_FALSE(card->btnDelete->isEnabled());
    EXPECT_FALSE(card->sbtnNext->isEnabled());
    EXPECT_EQ(card->lblNowRec->text(), QStringLiteral("---"));
    EXPECT_EQ(card->cbxGroup->itemText(1), QStringLiteral(" 1： 得意先"));
    EXPECT_EQ(card->cbxGroup->itemText(10), QStringLiteral("10： "));
    EXPECT_EQ(card->cbxSender->count(), 3);
    EXPECT_TRUE(card->sbtnPriv->isChecked());
    EXPECT_TRUE(card->sbtnJointPrintM->isChecked());
    EXPECT_FALSE(card->HasUnsavedInput());
    EXPECT_EQ(card->GetLoadedRecNo(), -1);
    // Windows of other parts of the program are not there yet: their buttons stay disabled.
    for (QToolButton* b : {card->bbtnTelSch, card->bbtnMap, card->bbtnWebSearch})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    for (QToolButton* b :
         {card->bbtnSymbolColor, card->bbtnCopySetting, card->bbtnOpenExtLink, card->bbtnAddExtLink})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    // The item is named as the list and the narrowing name it.
    QStringList captions;
    for (const QLabel* label : card->findChildren<QLabel*>())
        captions << label->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("従業員番号")));
    EXPECT_FALSE(captions.contains(QStringLiteral("社員番号")));
}

TEST_F(DtInqiryTest, NavigationWalksTheListWithItsCounters)
{
    FakeCardList list;
    for (const char* tel : {"0311110000", "0322220000", "0333330000"}) {
        TCardItem item;
        item.isDirectory = true;
        item.directory = Hit(tel, QStringLiteral("株式会社テスト"));
        list.items.push_back(item);
    }
    SetCardListWindow(lsCategorySearch, &list);
    list.current = 0;
    card->SetListSource(lsCategorySearch);
    EXPECT_GT(list.colorUpdates, 0);
    card->ShowDirectoryRecord(list.items[0].directory);
    EXPECT_EQ(card->windowTitle(), QStringLiteral("アドレス帳情報登録"));
    EXPECT_EQ(card->lblNowRec->text(), QStringLiteral("1"));
    EXPECT_EQ(card->lblTotalRec->text(), QStringLiteral("3"));
    EXPECT_FALSE(card->sbtnFirst->isEnabled());
    EXPECT_FALSE(card->sbtnPrior->isEnabled());
    EXPECT_TRUE(card->sbtnNext->isEnabled());
    EXPECT_FALSE(card->HasUnsavedInput()) << "a fresh hit is not offered for saving";

    card->sbtnNext->click();
    EXPECT_EQ(card->edtTel->text(), QStringLiteral("0322220000"));
    EXPECT_EQ(card->lblNowRec->text(), QStringLiteral("2"));
    EXPECT_TRUE(card->sbtnPrior->isEnabled());
    card->sbtnLast->click();
    EXPECT_EQ(card->lblNowRec->text(), QStringLiteral("3"));
    EXPECT_FALSE(card->sbtnNext->isEnabled());
    EXPECT_FALSE(card->sbtnLast->isEnabled());

    // Typed input: Cancel stays, with the typed text.
    card->edtAdrs3->setText(QStringLiteral("３階"));
    messages.answer(MsgSeam::IdCancel);
    card->sbtnPrior->click();
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("入力途中のデータがあります  \r\n")));
    EXPECT_EQ(messages.last().flags, 0x23u);
    EXPECT_EQ(card->lblNowRec->text(), QStringLiteral("3"));
    EXPECT_EQ(card->edtAdrs3->text(), QStringLiteral("３階"));
    // ChangeData off: replaced without asking or saving.
    MainSettings.ChangeData = false;
    card->sbtnPrior->click();
    EXPECT_EQ(card->lblNowRec->text(), QStringLiteral("2"));
    EXPECT_TRUE(card->edtAdrs3->text().isEmpty());
    EXPECT_EQ(data.table->recordCount(), 0);
    EXPECT_EQ(messages.count(), 1);

    // The list window goes away: navigation off.
    SetCardListWindow(lsCategorySearch, nullptr);
    card->UpdateNavigation();
    EXPECT_EQ(card->lblNowRec->text(), QStringLiteral("---"));
    EXPECT_EQ(card->lblTotalRec->text(), QStringLiteral("---"));
    EXPECT_FALSE(card->sbtnFirst->isEnabled());
}

TEST_F(DtInqiryTest, HitWithoutSnapshotCountsAsInput)
{
    MainSettings.OutOfTarget = false;
    card->ShowDirectoryRecord(Hit("0311110000", QStringLiteral("山田商店")));
    EXPECT_FALSE(card->SnapshotRecord().has_value());
    EXPECT_TRUE(card->HasUnsavedInput());
}

TEST_F(DtInqiryTest, UpdateWritesTheRowAndShowsItAgain)
{
    const qint32 recNo = addPerson(QStringLiteral("山田太郎"), "0311112222");
    showRow(0);
    EXPECT_EQ(card->windowTitle(), QStringLiteral("アドレス帳情報照会"));
    EXPECT_EQ(card->nmedtNameKanji->text(), QStringLiteral("山田太郎"));
    EXPECT_EQ(card->GetLoadedRecNo(), recNo);
    EXPECT_TRUE(card->btnUpdate->isEnabled());
    EXPECT_FALSE(card->HasUnsavedInput());

    // Unchanged: nothing happens, not even the input check.
    card->edtPos->setText(QStringLiteral("12")); // would fail the check, but the digits differ
    card->edtPos->clear();
    card->btnUpdate->click();
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(book.edited.isEmpty());

    card->edtAdrs1->setText(QStringLiteral("港区"));
    card->cbxHonor->setEditText(QStringLiteral("様"));
    card->btnUpdate->click();
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(book.edited, QList<qint32>{recNo});
    TAdrsDataRec rec;
    ASSERT_TRUE(data.readRow(recNo, rec));
    EXPECT_EQ(rec.Adrs1.wide(), QStringLiteral("港区"));
    EXPECT_EQ(FromTDateTime(rec.UpdDateTime), clock);
    EXPECT_EQ(FromTDateTime(rec.AddDateTime), QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(card->edtUpdDateTime->text(), QStringLiteral(" 2026/05/06 07:08:09"));
    EXPECT_FALSE(card->HasUnsavedInput());
    EXPECT_EQ(data.histories[ilHonor]->GetText(0), ToAnsi(QStringLiteral("様")));
    EXPECT_EQ(card->cbxHonor->count(), 1) << "the honorific list was refilled";
}

TEST_F(DtInqiryTest, RegisterAppendsWithWholeSecondsAndCloses)
{
    addPerson(QStringLiteral("既存"), "0300000000");
    card->NewRecord();
    EXPECT_EQ(card->ShowingItem(), 0);
    card->edtTel->setText(QStringLiteral("03-5555-6666"));
    card->nmedtNameKanji->setText(QStringLiteral("鈴木花子"));
    card->btnAdd->click();
    EXPECT_EQ(messages.count(), 0);
    for (const auto& m : messages.messages())
        ADD_FAILURE() << m.text.toStdString();
    EXPECT_EQ(book.IndexOfRecNo(2), 1);
    EXPECT_EQ(book.selections, QList<int>{1}) << "the list selects the new row";
    TAdrsDataRec rec;
    ASSERT_TRUE(data.readRow(2, rec));
    EXPECT_EQ(rec.Tel.text(), "0355556666");
    EXPECT_EQ(FromTDateTime(rec.AddDateTime), QDateTime(clock.date(), QTime(7, 8, 9)));
    EXPECT_EQ(FromTDateTime(rec.UpdDateTime), clock);
    FlushDeletes();
    EXPECT_TRUE(card.isNull()) << "nothing else to show: the card closes without asking";
}

TEST_F(DtInqiryTest, ContinualRegistrationStartsAnEmptyCard)
{
    card->chkContinualAdd->setChecked(true);
    card->sbtnCorp->click();
    card->cbxGroup->setCurrentIndex(2);
    emit card->cbxGroup->activated(2);
    card->nmedtCorpKanji->setText(QStringLiteral("有限会社アオバ"));
    card->btnAdd->click();
    EXPECT_EQ(data.table->recordCount(), 1);
    ASSERT_FALSE(card.isNull());
    EXPECT_TRUE(card->nmedtCorpKanji->text().isEmpty());
    EXPECT_TRUE(card->sbtnCorp->isChecked()) << "a new record keeps the company switch";
    EXPECT_EQ(card->cbxGroup->currentIndex(), 2) << "and the group";
}

TEST_F(DtInqiryTest, FailedSaveKeepsTheTypedInput)
{
    addPerson(QStringLiteral("山田太郎"), "0311112222");
    showRow(0);
    card->edtAdrs2->setText(QStringLiteral("１－２－３"));
    card->cbxPost->setEditText(QStringLiteral("課長"));
    data.table->close();

    // The save the question led to fails: the caller must stay, the input stays.
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    EXPECT_EQ(card->ConfirmPendingChanges(0, 1), 9);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.last().text, QStringLiteral("update error"));
    EXPECT_EQ(messages.last().source, MsgSeam::Source::Application);
    EXPECT_EQ(card->edtAdrs2->text(), QStringLiteral("１－２－３"));
    EXPECT_EQ(data.histories[ilPost]->Count(), 0) << "no history entry for a row that was not written";
    EXPECT_TRUE(book.edited.isEmpty());

    // "登録" that fails shows its own words and keeps the card.
    messages.answer(MsgSeam::IdOk);
    card->btnAdd->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("add error"));
    EXPECT_FALSE(card.isNull());
    EXPECT_EQ(data.histories[ilPost]->Count(), 0);

    // A failing input check stays too.
    card->edtTel->setText(QStringLiteral("03 1111"));
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    EXPECT_EQ(card->ConfirmPendingChanges(0, 0), 9);
    EXPECT_EQ(messages.last().text, QStringLiteral("電話番号は半角数字かハイフンのみが有効です  "));
    EXPECT_TRUE(card->edtTel->hasSelectedText() || !card->isVisible());
}

TEST_F(DtInqiryTest, ConfirmedSaveReloadsTheListAndTellsTheDesigners)
{
    const qint32 recNo = addPerson(QStringLiteral("山田太郎"), "0311112222");
    showRow(0);
    card->edtAdrs2->setText(QStringLiteral("１－２－３"));
    MainSettings.Confirmation = false;
    const int refreshes = book.refreshes;
    EXPECT_EQ(card->ConfirmPendingChanges(0, 1), 0);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_GT(book.refreshes, refreshes);
    EXPECT_EQ(book.edited, QList<qint32>{recNo});
    TAdrsDataRec rec;
    ASSERT_TRUE(data.readRow(recNo, rec));
    EXPECT_EQ(rec.Adrs2.wide(), QStringLiteral("１－２－３"));
}

TEST_F(DtInqiryTest, DeleteRemovesTheRowOrKeepsTheCardOnFailure)
{
    const qint32 first = addPerson(QStringLiteral("一"), "0311110000");
    addPerson(QStringLiteral("二"), "0322220000");
    showRow(0);

    messages.answer(MsgSeam::IdNo);
    card->btnDelete->click();
    EXPECT_EQ(messages.last().flags, 0x124u);
    EXPECT_EQ(data.table->recordCount(), 2);

    data.table->close();
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    card->btnDelete->click();
    EXPECT_EQ(messages.last().flags, unsigned(MsgSeam::MbIconStop));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("このデータを削除できませんでした")));
    FlushDeletes();
    ASSERT_FALSE(card.isNull()) << "the card stays on the row that is still there";
    EXPECT_TRUE(book.deleted.isEmpty());
    EXPECT_EQ(card->GetLoadedRecNo(), first);

    data.table->open();
    messages.answer(MsgSeam::IdYes);
    card->btnDelete->click();
    EXPECT_EQ(book.deleted, QList<qint32>{first});
    EXPECT_EQ(data.table->recordCount(), 1);
    FlushDeletes();
    EXPECT_TRUE(card.isNull());
}

TEST_F(DtInqiryTest, ProtectedItemsMaskedOutsideAdministratorMode)
{
    TAdrsDataRec rec;
    rec.RecNo = 1;
    rec.PrivCorp = true;
    rec.JointPrint = true;
    rec.SymbolColor = DefaultSymbolColor;
    rec.MyNumber = EncryptFieldText("123456789012", FieldCipherKey);
    rec.ProtectMemo1 = EncryptFieldText(ToAnsi(QStringLiteral("暗証")), FieldCipherKey);
    rec.ProtectNote = ToAnsi(QStringLiteral("見せない"));
    card->ShowAddressRecord(rec);
    EXPECT_EQ(card->edtProtectMemo[0]->text(), QStringLiteral("暗証"));
    EXPECT_EQ(card->edtProtectMemo[0]->displayText(), QStringLiteral("暗証"));

    AdminPassword = QStringLiteral("stored");
    card->ApplyProtection();
    EXPECT_EQ(card->edtProtectMemo[0]->displayText(), QStringLiteral("**"));
    EXPECT_EQ(card->edtMyNumber->displayText(), QString(12, QLatin1Char('*')));
    EXPECT_TRUE(card->edtProtectMemo[0]->isReadOnly());
    EXPECT_TRUE(card->edtJointMyNumber[0]->isReadOnly());
    EXPECT_FALSE(card->mmoProtectNote->isEnabled());
    EXPECT_FALSE(card->pnlProtectNoteMask->isHidden());
    EXPECT_FALSE(card->HasUnsavedInput()) << "masked values are still compared as they are";

    AdminMode = true;
    card->ApplyProtection();
    EXPECT_EQ(card->edtProtectMemo[0]->displayText(), QStringLiteral("暗証"));
    EXPECT_FALSE(card->edtProtectMemo[0]->isReadOnly());
    EXPECT_TRUE(card->mmoProtectNote->isEnabled());
    EXPECT_TRUE(card->pnlProtectNoteMask->isHidden());
}

TEST_F(DtInqiryTest, ItemBehaviour)
{
    // A keyword left with 101 bytes whose 100th byte starts a double-byte character keeps 99.
    card->edtKeyword[0]->setText(QString(99, QLatin1Char('a')) + QStringLiteral("あ"));
    Leave(card->edtKeyword[0]);
    EXPECT_EQ(card->edtKeyword[0]->text(), QString(99, QLatin1Char('a')));
    card->edtProtectMemo[2]->setText(QString(59, QLatin1Char('b')) + QStringLiteral("漢字"));
    Leave(card->edtProtectMemo[2]);
    EXPECT_EQ(card->edtProtectMemo[2]->text(), QString(59, QLatin1Char('b')));

    // The cut walks the characters: a trail byte that looks like a lead byte at the limit is kept.
    const QString kanji = QString(50, QChar(0x4E9C)); // 亜 = 88 9F, the 100th byte is 9F
    card->edtKeyword[1]->setText(kanji + QStringLiteral("a"));
    Leave(card->edtKeyword[1]);
    EXPECT_EQ(card->edtKeyword[1]->text(), kanji);

    // Number status.
    AnsiString valid;
    for (char last = '0'; last <= '9'; ++last)
        if (CheckMyNumber(AnsiString("12345678901") + last, MyNumberIndividual) == MyNumberOk)
            valid = AnsiString("12345678901") + last;
    ASSERT_FALSE(valid.isEmpty());
    AnsiString wrong = valid;
    wrong[11] = valid[11] == '9' ? '0' : char(valid[11] + 1);
    card->edtMyNumber->setText(QString::fromLatin1(wrong));
    EXPECT_EQ(card->edtMyNumber->palette().color(QPalette::Base), QColor(0xFF, 0xDF, 0xDF));
    EXPECT_EQ(card->lblMyNumberCount->text(), QStringLiteral("12桁"));
    EXPECT_TRUE(card->lblMyNumberCount->isVisibleTo(card));
    card->edtMyNumber->setText(QString::fromLatin1(valid));
    EXPECT_EQ(card->imgMyNumberStatus->property("picture").toString(), QStringLiteral("MYNUMBERPRIV"));
    EXPECT_FALSE(card->lblMyNumberCount->isVisibleTo(card));

    // Joint names: the honorific follows the name, the owner list follows the names.
    card->nmedtJoint[0]->setText(QStringLiteral("一郎"));
    card->nmedtJoint[2]->setText(QStringLiteral("三郎"));
    emit card->nmedtJoint[2]->editingFinished();
    card->nmedtJoint[1]->setText(QStringLiteral("二郎"));
    emit card->nmedtJoint[1]->editingFinished();
    ASSERT_EQ(card->cbxJointOwner->count(), 4);
    EXPECT_EQ(card->cbxJointOwner->itemText(2), QStringLiteral("二郎"));
    EXPECT_TRUE(card->cbxJointHonor[0]->isEnabled());
    EXPECT_FALSE(card->cbxJointHonor[3]->isEnabled());
    card->sbtnJointPrint[3]->click();
    EXPECT_FALSE(card->sbtnJointPrint[3]->isChecked()) << "no print flag for an empty joint name";

    // A sender that is gone shows as the standard one and is no change.
    TAdrsDataRec rec;
    rec.RecNo = 3;
    rec.PrivCorp = true;
    rec.JointPrint = true;
    rec.SymbolColor = DefaultSymbolColor;
    rec.Sender = 77;
    card->ShowAddressRecord(rec);
    EXPECT_EQ(card->cbxSender->currentIndex(), 0);
    EXPECT_EQ(card->LoadedRecord()->Sender, 0);
    EXPECT_FALSE(card->HasUnsavedInput());
    card->SetRecordSender(9);
    EXPECT_EQ(card->cbxSender->currentText(), QStringLiteral("支店"));
    EXPECT_FALSE(card->HasUnsavedInput());
}

TEST_F(DtInqiryTest, BatchChangeIsNoUnsavedInput)
{
    addPerson(QStringLiteral("山田太郎"), "0311112222");
    showRow(0);
    TAdrsDataRec changed = *card->LoadedRecord();
    changed.Keyword3 = ToAnsi(QStringLiteral("新キーワード"));
    changed.Group = 2;
    changed.UpdDateTime = ToTDateTime(clock);
    std::bitset<17> flags;
    flags[0] = flags[9] = true;
    card->ApplyBatchChange(changed, flags);
    EXPECT_EQ(card->edtKeyword[2]->text(), QStringLiteral("新キーワード"));
    EXPECT_EQ(card->cbxGroup->currentIndex(), 2);
    EXPECT_EQ(card->edtUpdDateTime->text(), QStringLiteral("2026/05/06 07:08:09"));
    EXPECT_FALSE(card->HasUnsavedInput());
}

TEST_F(DtInqiryTest, ListButtonOpensTheEditorAndRefillsTheList)
{
    bool seen = false;
    ModalDriver driver;
    driver.on<TInputList>([&](TInputList* dialog) {
        seen = true;
        EXPECT_EQ(dialog->tabctlInputList->currentIndex(), 1);
        dialog->edtName->setText(QStringLiteral("係長"));
        dialog->bbtnAdd->click();
        dialog->btnOk->click();
    });
    card->sbtnCorp->click();
    card->bbtnPost->click();
    EXPECT_TRUE(seen);
    ASSERT_EQ(card->cbxPost->count(), 1);
    EXPECT_EQ(card->cbxPost->itemText(0), QStringLiteral("係長"));
}

TEST_F(DtInqiryTest, Screenshot)
{
    LoadCategoryNames(QStringLiteral(TOVAREL_PROGRAM_DIR "Dic/dbctgry.dat"));
    card->FillCategoryMainList(0);
    TCardValues v;
    v.Group = 1;
    v.CustomCode = QStringLiteral("T-0001");
    v.Tel = QStringLiteral("03-3211-4455");
    v.MainNumber = true;
    v.Fax = QStringLiteral("03-3211-4456");
    v.PubDate = QStringLiteral(" 2015年04月");
    v.Portable1 = QStringLiteral("090-1234-5678");
    v.Pos = QStringLiteral("100-0005");
    v.JisCode = QStringLiteral("13101");
    v.Tdfkn = QStringLiteral("東京都");
    v.Adrs1 = QStringLiteral("千代田区");
    v.Adrs2 = QStringLiteral("丸の内１－２－３");
    v.Adrs3 = QStringLiteral("丸の内ビル８階");
    v.AdrsKana = QStringLiteral("ﾄｳｷｮｳﾄﾁﾖﾀﾞｸﾏﾙﾉｳﾁ");
    v.Priv = false;
    v.MyNumber = QStringLiteral("1234567890123");
    v.CorpKanji = QStringLiteral("株式会社トヴァレル商事");
    v.CorpKana = QStringLiteral("ﾄｳﾞｧﾚﾙｼｮｳｼﾞ");
    v.Dptmnt = QStringLiteral("営業部");
    v.Post = QStringLiteral("課長");
    v.EmployeeNo = QStringLiteral("A-1024");
    v.NameKanji = QStringLiteral("髙橋 一郎");
    v.NameKana = QStringLiteral("ﾀｶﾊｼ ｲﾁﾛｳ");
    v.Honor = QStringLiteral("様");
    v.CodeMain = 4;
    v.CodeSub = 1;
    v.URL = QStringLiteral("https://tovarel.example.jp/");
    v.EMail1 = QStringLiteral("takahashi@tovarel.example.jp");
    v.Joint[0] = QStringLiteral("髙橋 花子");
    v.JointHonor[0] = QStringLiteral("様");
    v.JointPrint[0] = true;
    v.Sender = 5;
    v.Keyword[0] = QStringLiteral("年賀状");
    v.Keyword[5] = QStringLiteral("重要");
    v.Note = QStringLiteral("2025年 訪問\n担当: 佐藤");
    v.ProtectMemo[0] = QStringLiteral("口座 1234567");
    v.ExtLink = {QStringLiteral("https://tovarel.example.jp/map"), QStringLiteral("/home/user/見積書.pdf")};
    v.SymbolIndex = 6;
    v.AddDateTime = QStringLiteral(" 2024/04/01 09:30:00");
    v.UpdDateTime = QStringLiteral(" 2026/05/06 07:08:09");
    card->SetFormValues(v);
    card->UpdateMyNumberStatus({0});
    card->resize(card->sizeHint());
    card->show();
    QApplication::processEvents();
    const QString folder = qEnvironmentVariable("TOVAREL_SCREENSHOT_DIR");
    for (int page = 0; page < card->pgctlData->count(); ++page) {
        card->pgctlData->setCurrentIndex(page);
        QApplication::processEvents();
        const QImage image = card->grab().toImage();
        EXPECT_FALSE(image.isNull());
        if (!folder.isEmpty())
            image.save(folder + QStringLiteral("/DataInquiry%1.png").arg(page));
    }
    card->hide();
}

TEST_F(DtInqiryTest, ClosingAsksOrDropsAndReleasesTheLists)
{
    FakeCardList search;
    TCardItem item;
    item.isDirectory = true;
    item.directory = Hit("0311110000", QStringLiteral("株式会社テスト"));
    search.items.push_back(item);
    search.current = 0;
    SetCardListWindow(lsNameAdrsSearch, &search);
    card->SetListSource(lsNameAdrsSearch);
    card->ShowDirectoryRecord(item.directory);
    card->show();

    // A registered hit stays on the card as the new baseline.
    card->btnAdd->click();
    EXPECT_EQ(data.table->recordCount(), 1);
    ASSERT_FALSE(card.isNull());
    EXPECT_FALSE(card->HasUnsavedInput());

    card->edtAdrs3->setText(QStringLiteral("別館"));
    messages.answer(MsgSeam::IdCancel);
    EXPECT_FALSE(card->close()) << "Cancel keeps the card open";
    EXPECT_EQ(search.current, 0);

    MainSettings.FormClose = false;
    const int colours = search.colorUpdates;
    EXPECT_TRUE(card->close());
    FlushDeletes();
    EXPECT_TRUE(card.isNull());
    EXPECT_TRUE(DataInquiry.isNull());
    EXPECT_EQ(search.current, -1);
    EXPECT_GT(search.colorUpdates, colours);
    EXPECT_EQ(data.table->recordCount(), 1) << "closed without saving";
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("DATA INQUIRY"), QStringLiteral("Left")));
}
