// Tests of the record card's joint print flags, external links, symbol colour, web search, item copy, Enter
// order, page turning, memo fix-ups and name-reading popup.
#include "addressbook/DtInqiry.h"

#include "addressbook/CpItmSet.h"
#include "addressbook/GrpEdt.h"
#include "addressbook/KeywdEdt.h"
#include "addressbook/TntNMDic.h"
#include "core/AppSub.h"
#include "core/CategoryNames.h"
#include "core/CstmClr.h"
#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "core/TntNMDEdit.h"
#include "platform/IniFile.h"
#include "support/CardFixtures.h"
#include "support/InputMethodEvents.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/RecordingOpener.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QWindow>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>

namespace {

void PressEnter(QWidget* w)
{
    QTest::keyClick(w, Qt::Key_Return);
}

} // namespace

class DtInqiryExtrasTest : public CardFixture
{
protected:
    void SetUp() override
    {
        CardFixture::SetUp();
        m_savedProgram = ProgramFolder;
        m_savedKeywords = KeywordNames;
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        GroupNames = QStringList{QStringLiteral("指定なし"), QStringLiteral("得意先")};
        // The telephone lookup and the URL entry exist in these tests; they only count their calls.
        RegisterCardService(TCardService::TelLookup, [this](TDataInquiry&, int) { ++telLookups; });
        RegisterCardService(TCardService::PosLookup, [](TDataInquiry&, int) {});
        RegisterCardService(TCardService::AddExtLink, [this](TDataInquiry& c, int) {
            c.AddExtLink(QStringLiteral("https://entered.example.jp/"));
            ++urlEntries;
        });
    }
    void TearDown() override
    {
        if (NameDicPopup)
            NameDicPopup->close();
        delete card.data();
        DeliverPosted();
        RegisterCardService(TCardService::TelLookup, {});
        RegisterCardService(TCardService::PosLookup, {});
        RegisterCardService(TCardService::AddExtLink, {});
        RegisterCardService(TCardService::WebSearch, {});
        ProgramFolder = m_savedProgram;
        KeywordNames = m_savedKeywords;
        CardFixture::TearDown();
    }

    TDataInquiry* makeCard()
    {
        card = new TDataInquiry(&book, data);
        return card;
    }

    void showActive()
    {
        card->show();
        card->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(card));
    }

    qint32 addPerson(const QString& name)
    {
        return CardFixture::addPerson(name, {{"UpdDateTime", QDateTime(QDate(2021, 6, 7), QTime(8, 9, 10))}});
    }

    void writeSetting(const QString& key, const QString& value)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        ini.WriteString(QStringLiteral("DATA INQUIRY"), key, value);
        ASSERT_TRUE(ini.UpdateFile());
    }

    QStringList links() const
    {
        QStringList out;
        for (int i = 0; i < card->lvExtLink->topLevelItemCount(); ++i)
            out << card->lvExtLink->topLevelItem(i)->text(0) + QLatin1Char(' ') +
                       card->lvExtLink->topLevelItem(i)->text(1);
        return out;
    }

    int telLookups = 0;
    int urlEntries = 0;

private:
    QString m_savedProgram;
    QStringList m_savedKeywords;
};

// ---------------------------------------------------------------------------------------------------------
// Joint owner and print flags

TEST_F(DtInqiryExtrasTest, JointOwnerAndPrintButtons)
{
    makeCard();
    const auto chooseOwner = [this](int index) {
        card->cbxJointOwner->setCurrentIndex(index);
        emit card->cbxJointOwner->activated(index);
    };
    card->nmedtJoint[0]->setText(QStringLiteral("花子"));
    emit card->nmedtJoint[0]->editingFinished();
    card->nmedtJoint[1]->setText(QStringLiteral("次郎"));
    emit card->nmedtJoint[1]->editingFinished();
    ASSERT_EQ(card->cbxJointOwner->count(), 3);

    // Choosing joint 2 as owner presses its print button.
    EXPECT_FALSE(card->sbtnJointPrint[1]->isChecked());
    chooseOwner(2);
    EXPECT_EQ(card->FormValues().JointOwner, 2);
    EXPECT_TRUE(card->sbtnJointPrint[1]->isChecked());
    EXPECT_EQ(card->sbtnJointPrint[1]->property("picture").toString(), QStringLiteral("PRINTER"));
    // The owner's button cannot be released; another one can.
    card->sbtnJointPrint[1]->click();
    EXPECT_TRUE(card->sbtnJointPrint[1]->isChecked());
    card->sbtnJointPrint[0]->click();
    EXPECT_TRUE(card->sbtnJointPrint[0]->isChecked());
    card->sbtnJointPrint[0]->click();
    EXPECT_FALSE(card->sbtnJointPrint[0]->isChecked());
    EXPECT_EQ(card->sbtnJointPrint[0]->property("picture").toString(), QStringLiteral("NOPRINT"));
    // "本" may be released while it is not the owner's.
    card->sbtnJointPrintM->click();
    EXPECT_FALSE(card->sbtnJointPrintM->isChecked());

    // A renamed owner keeps its entry; an emptied owner hands the place back to "本人".
    card->nmedtJoint[1]->setText(QStringLiteral("次郎丸"));
    EXPECT_EQ(card->cbxJointOwner->currentText(), QStringLiteral("次郎丸"));
    card->cbxJointHonor[1]->setEditText(QStringLiteral("様"));
    card->nmedtJoint[1]->clear();
    EXPECT_EQ(card->FormValues().JointOwner, 0);
    EXPECT_EQ(card->cbxJointOwner->currentIndex(), 0);
    EXPECT_FALSE(card->cbxJointHonor[1]->isEnabled());
    EXPECT_TRUE(card->cbxJointHonor[1]->currentText().isEmpty());
    EXPECT_FALSE(card->sbtnJointPrint[1]->isChecked());
    emit card->nmedtJoint[1]->editingFinished();
    EXPECT_EQ(card->cbxJointOwner->count(), 2);

    // "本" as owner again stays down.
    chooseOwner(1);
    chooseOwner(0);
    EXPECT_TRUE(card->sbtnJointPrintM->isChecked());
    card->sbtnJointPrintM->click();
    EXPECT_TRUE(card->sbtnJointPrintM->isChecked());
    EXPECT_TRUE(card->sbtnJointPrintM->focusPolicy() == Qt::NoFocus);
}

// ---------------------------------------------------------------------------------------------------------
// External links

TEST_F(DtInqiryExtrasTest, LinksAddedOnceRenumberedAndCappedAtTen)
{
    makeCard();
    MessageRecorder messages;
    EXPECT_TRUE(card->bbtnAddExtLink->isEnabled());
    EXPECT_FALSE(card->bbtnDelExtLink->isEnabled());

    card->AddExtLink(QStringLiteral("https://Example.jp/Page"));
    card->AddExtLink(QStringLiteral("HTTPS://EXAMPLE.JP/page"));     // the same, ignoring letter case
    card->AddExtLink(QStringLiteral("https://example.jp/ｐａｇｅ")); // full-width letters are not folded
    card->AddExtLink(QString());
    EXPECT_EQ(links(), (QStringList{"1 https://Example.jp/Page", "2 https://example.jp/ｐａｇｅ"}));
    EXPECT_EQ(card->lvExtLink->currentItem()->text(0), QStringLiteral("2"));
    EXPECT_TRUE(card->bbtnDelExtLink->isEnabled());

    // A link the book cannot store is refused with a message.
    messages.answer(MsgSeam::IdOk);
    card->AddExtLink(QStringLiteral("/home/user/😀.txt"));
    EXPECT_EQ(messages.count(), 1);
    EXPECT_EQ(card->lvExtLink->topLevelItemCount(), 2);

    for (int i = 3; i <= 12; ++i)
        card->AddExtLink(QStringLiteral("/srv/link%1").arg(i));
    EXPECT_EQ(card->lvExtLink->topLevelItemCount(), MaxExtLinks);
    EXPECT_EQ(links().last(), QStringLiteral("10 /srv/link10"));
    EXPECT_FALSE(card->bbtnAddExtLink->isEnabled());

    // Deleting renumbers and keeps the selection at the deleted place, or on the new last row.
    card->lvExtLink->setCurrentItem(card->lvExtLink->topLevelItem(1));
    card->bbtnDelExtLink->click();
    EXPECT_EQ(card->lvExtLink->topLevelItemCount(), 9);
    EXPECT_EQ(links().at(1), QStringLiteral("2 /srv/link3"));
    EXPECT_EQ(links().last(), QStringLiteral("9 /srv/link10"));
    EXPECT_EQ(card->lvExtLink->currentItem()->text(1), QStringLiteral("/srv/link3"));
    EXPECT_TRUE(card->bbtnAddExtLink->isEnabled());
    card->lvExtLink->setCurrentItem(card->lvExtLink->topLevelItem(8));
    card->bbtnDelExtLink->click();
    EXPECT_EQ(card->lvExtLink->currentItem()->text(0), QStringLiteral("8"));
    while (card->lvExtLink->topLevelItemCount() > 0)
        card->bbtnDelExtLink->click();
    EXPECT_FALSE(card->bbtnDelExtLink->isEnabled());
    EXPECT_EQ(card->FormValues().ExtLink, QStringList());

    // "URLを登録" goes to the URL entry window; "ファイルを登録" to the open dialog.
    card->pmiExtURLClick();
    EXPECT_EQ(urlEntries, 1);
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/見積書.pdf");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    card->move(20, 30);
    QPoint placed;
    bool seen = false;
    ModalDriver driver;
    driver.on<QFileDialog>([&](QFileDialog* d) {
        seen = true;
        placed = d->pos();
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        // The name box has the focus by now, and selectFile() leaves a focused box as typed.
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        name->setText(file);
        QMetaObject::invokeMethod(d, "accept");
    });
    card->pmiExtFileClick();
    EXPECT_TRUE(seen);
    EXPECT_EQ(links(), (QStringList{"1 https://entered.example.jp/", QStringLiteral("2 ") + file}));
    EXPECT_EQ(placed, card->frameGeometry().topLeft() + QPoint(15, 15));
}

TEST_F(DtInqiryExtrasTest, UrlItemWaitsForTheUrlWindow)
{
    RegisterCardService(TCardService::AddExtLink, {});
    makeCard();
    EXPECT_TRUE(card->bbtnAddExtLink->isEnabled());
    EXPECT_FALSE(card->pmiExtURL->isEnabled());
    EXPECT_TRUE(card->pmiExtFile->isEnabled());
    card->AddExtLink(QStringLiteral("/srv/a"));
    EXPECT_TRUE(card->bbtnAddExtLink->isEnabled());
    EXPECT_TRUE(card->bbtnDelExtLink->isEnabled());
    EXPECT_TRUE(card->bbtnOpenExtLink->isEnabled());
}

TEST_F(DtInqiryExtrasTest, OpeningHandsTheLinkItselfToTheShell)
{
    makeCard();
    QList<TShellOpenRequest> opened;
    auto previous = SetShellOpener(std::make_unique<RecordingOpener>(&opened));
    const QStringList hostile{QStringLiteral("/tmp/a b\"; rm -rf ~ #"),
                              QStringLiteral("https://example.jp/?q=`id`&x=$(reboot)")};
    card->SetFormValues([&] {
        TCardValues v = card->FormValues();
        v.ExtLink = hostile;
        return v;
    }());
    card->bbtnOpenExtLinkClick(); // nothing selected
    EXPECT_TRUE(opened.isEmpty());
    for (int i = 0; i < hostile.size(); ++i) {
        card->lvExtLink->setCurrentItem(card->lvExtLink->topLevelItem(i));
        if (i == 0)
            card->bbtnOpenExtLink->click();
        else
            emit card->lvExtLink->itemDoubleClicked(card->lvExtLink->topLevelItem(i), 1);
    }
    SetShellOpener(std::move(previous));
    ASSERT_EQ(opened.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(opened[i].file, hostile[i]);
        EXPECT_TRUE(opened[i].parameters.isEmpty());
        EXPECT_TRUE(opened[i].folder.isEmpty());
    }
}

TEST_F(DtInqiryExtrasTest, AProgramLinkAsksFirstAndAFailedOpenIsReported)
{
    // Answers ENOEXEC for documents nothing can open.
    struct Opener : TShellOpener
    {
        QStringList* opened;
        int Open(const TShellOpenRequest& r) override
        {
            opened->append(r.file);
            return r.file.endsWith(QLatin1String(".xyz")) ? ENOEXEC : 0;
        }
    };
    const QString folder = DataRootFolder;
    const QString program = folder + "run-me";
    WriteFileBytes(program, "#!/bin/sh\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    WriteFileBytes(folder + "launcher.desktop", "[Desktop Entry]\n");
    WriteFileBytes(folder + "notes.txt", "text");
    WriteFileBytes(folder + "odd.xyz", "?");

    makeCard();
    QStringList opened;
    auto opener = std::make_unique<Opener>();
    opener->opened = &opened;
    auto previous = SetShellOpener(std::move(opener));
    card->SetFormValues([&] {
        TCardValues v = card->FormValues();
        v.ExtLink =
            QStringList{program, folder + "launcher.desktop", folder + "notes.txt", folder + "odd.xyz"};
        return v;
    }());
    const auto open = [this](int row) {
        card->lvExtLink->setCurrentItem(card->lvExtLink->topLevelItem(row));
        card->bbtnOpenExtLink->click();
    };

    MessageRecorder rec;
    rec.answer(MsgSeam::IdNo).answer(MsgSeam::IdNo);
    open(0);
    open(1);
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(rec.count(), 2);
    EXPECT_EQ(rec.messages()[0].text,
              QStringLiteral("「") + program +
                  QStringLiteral("」はプログラムです  \r\n起動してもよろしいですか？  "));
    EXPECT_EQ(rec.last().flags, unsigned(MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2));

    rec.answer(MsgSeam::IdYes);
    open(0);
    EXPECT_EQ(opened, QStringList{program});
    open(2); // a document opens without a question
    EXPECT_EQ(rec.count(), 3);
    rec.answer(MsgSeam::IdOk);
    open(3);
    EXPECT_EQ(opened.size(), 3);
    ASSERT_EQ(rec.count(), 4);
    EXPECT_TRUE(rec.last().text.startsWith(QStringLiteral("リンク先を開くことができませんでした  \r\n")));
    EXPECT_TRUE(rec.last().text.endsWith(QStringLiteral("RC = ") + QString::number(ENOEXEC) + "  "));
    SetShellOpener(std::move(previous));
}

TEST_F(DtInqiryExtrasTest, EscapeClosesAnOpenDropDownBeforeTheCard)
{
    makeCard();
    card->show();
    QApplication::setActiveWindow(card);
    card->cbxGroup->setFocus();
    card->cbxGroup->showPopup();
    ASSERT_TRUE(QApplication::activePopupWidget());
    // Through the window system, as a key press arrives: shortcuts are matched on that path.
    const auto escape = [this] {
        QWindow* target = card->windowHandle();
        if (QWidget* popup = QApplication::activePopupWidget())
            target = popup->window()->windowHandle();
        ASSERT_TRUE(target);
        QTest::keyClick(target, Qt::Key_Escape);
    };
    escape();
    EXPECT_FALSE(QApplication::activePopupWidget());
    ASSERT_TRUE(card);
    EXPECT_TRUE(card->isVisible());
    QApplication::setActiveWindow(card);
    escape();
    EXPECT_TRUE(card.isNull() || !card->isVisible());
}

// ---------------------------------------------------------------------------------------------------------
// Symbol colour and web search

TEST_F(DtInqiryExtrasTest, ColourDialogSharesTheCustomColours)
{
    {
        TMemIniFile ini(DataRootFolder + QStringLiteral("CstmClr.ini"));
        ini.WriteString(QStringLiteral("COMMON"), QStringLiteral("0"), QStringLiteral("0000FF"));
        ini.WriteString(QStringLiteral("COMMON"), QStringLiteral("1"), QStringLiteral("not a colour"));
        ASSERT_TRUE(ini.UpdateFile());
    }
    makeCard();
    EXPECT_EQ(ColorFromValue(card->FormValues().SymbolColor), ColorFromValue(DefaultSymbolColor));

    QColor initial, custom0, custom1;
    bool seen = false;
    ModalDriver driver;
    driver.on<QColorDialog>([&](QColorDialog* d) {
        seen = true;
        initial = d->currentColor();
        custom0 = QColorDialog::customColor(0);
        custom1 = QColorDialog::customColor(1);
        QColorDialog::setCustomColor(5, QColor(0x12, 0x34, 0x56));
        d->setCurrentColor(QColor(0x10, 0x20, 0x30));
        d->accept();
    });
    card->bbtnSymbolColor->click();
    ASSERT_TRUE(seen);
    EXPECT_EQ(initial, ColorFromValue(DefaultSymbolColor));
    EXPECT_EQ(custom0, QColor(0xFF, 0, 0)) << "red is the low byte";
    EXPECT_EQ(custom1, QColor(0, 0, 0));
    EXPECT_EQ(card->FormValues().SymbolColor, 0x302010);
    EXPECT_EQ(card->pnlSymbolColor->palette().color(QPalette::Window), QColor(0x10, 0x20, 0x30));
    const TMemIniFile ini(DataRootFolder + QStringLiteral("CstmClr.ini"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("COMMON"), QStringLiteral("0"), {}), QStringLiteral("0000FF"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("COMMON"), QStringLiteral("1"), {}), QStringLiteral("000000"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("COMMON"), QStringLiteral("5"), {}), QStringLiteral("563412"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("COMMON"), QStringLiteral("15"), {}), QStringLiteral("000000"));

    // Cancel changes nothing.
    driver.on<QColorDialog>([](QColorDialog* d) {
        d->setCurrentColor(Qt::white);
        d->reject();
    });
    card->bbtnSymbolColor->click();
    EXPECT_EQ(card->FormValues().SymbolColor, 0x302010);
}

TEST_F(DtInqiryExtrasTest, WebSearchStartsWithTheCompanyName)
{
    QStringList words;
    RegisterCardService(TCardService::WebSearch,
                        [&words](TDataInquiry& c, int) { words << c.WebSearchWord(); });
    makeCard();
    ASSERT_TRUE(card->bbtnWebSearch->isEnabled());
    card->nmedtCorpKanji->setText(QStringLiteral("株式会社トヴァレル"));
    card->bbtnWebSearch->click(); // private person: the company name does not apply
    card->sbtnCorp->click();
    card->bbtnWebSearch->click();
    EXPECT_EQ(words, (QStringList{QString(), QStringLiteral("株式会社トヴァレル")}));
}

// ---------------------------------------------------------------------------------------------------------
// Item copy

TEST_F(DtInqiryExtrasTest, CopiedLineFollowsTheChosenItems)
{
    addPerson(QStringLiteral("山田太郎"));
    // Chosen: name, telephone, note, print choice, joint owner, links, mark, dates, group; in that order.
    const QList<int> chosen{23, 3, 55, 45, 44, 67, 68, 69, 70, 71, 72, 0, 17};
    QStringList order, flags;
    for (int n : chosen)
        order << QString::number(n), flags << QStringLiteral("1");
    for (int n = 0; n < CopyItemCount; ++n)
        if (!chosen.contains(n))
            order << QString::number(n), flags << QStringLiteral("0");
    writeSetting(QStringLiteral("CopyItemIndex"), order.join(u','));
    writeSetting(QStringLiteral("CopyItemCopy"), flags.join(u','));
    makeCard();
    showRow(0);

    TCardValues v = card->FormValues();
    v.Group = 1;
    v.Tel = QStringLiteral(" 03-1111-2222 ");
    v.Note = QStringLiteral("一行目\n二行目");
    v.PrintException = true;
    v.Joint[0] = QStringLiteral("花子");
    v.JointOwner = 1;
    v.ExtLink = {QStringLiteral("https://a.example/"), QStringLiteral("/srv/b")};
    v.SymbolIndex = 6;
    v.MyNumber = QStringLiteral("123456789012");
    card->SetFormValues(v);
    card->btnCopyClick();
    EXPECT_EQ(
        QGuiApplication::clipboard()->text(),
        QStringLiteral("山田太郎,03-1111-2222,一行目\t二行目,印刷除外,花子,https://a.example/\t/srv/b,★,"
                       "2020/01/02,03:04:05,2021/06/07,08:09:10,得意先,123456789012\r\n"));

    // In the protected state the number is one "*" per byte.
    AdminPassword = QStringLiteral("secret");
    EXPECT_TRUE(card->CopyText().endsWith(QStringLiteral(",得意先,************\r\n")));
    AdminPassword.clear();

    // A directory hit has no dates.
    TDirDetailRec hit;
    std::memset(&hit, 0, sizeof hit);
    std::memcpy(hit.Tel, "0311112222", 10);
    card->ShowDirectoryRecord(hit);
    EXPECT_TRUE(card->CopyText().endsWith(QStringLiteral(",,,,,得意先,\r\n")))
        << card->CopyText().toStdString();
}

TEST_F(DtInqiryExtrasTest, DefaultCopyHoldsEveryItemAndEndsWithALineBreak)
{
    makeCard();
    const QString text = card->CopyText();
    EXPECT_EQ(text.count(u','), CopyItemCount - 1);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("指定なし"))); // the print choice of an empty card
}

TEST(CopyItemSettingTest, StoredTextsFallBackToTheDefaults)
{
    QStringList order, flags;
    for (int n = CopyItemCount - 1; n >= 0; --n)
        order << QString::number(n), flags << QString::number(n % 2);
    QStringList duplicate = order;
    duplicate[3] = duplicate[4];
    QStringList foreign = order;
    foreign[0] = QStringLiteral("75");
    struct Case
    {
        const char* what;
        QString index, copy;
        int firstItem;
        bool allCopied;
    };
    const Case cases[] = {
        {"reversed, flags kept", order.join(u','), flags.join(u','), 74, false},
        {"flags of another count", order.join(u','), QStringLiteral("1,0"), 74, true},
        {"missing", QString(), QString(), 0, true},
        {"74 entries", order.mid(1).join(u','), flags.join(u','), 0, true},
        {"an item twice", duplicate.join(u','), flags.join(u','), 0, true},
        {"no such item", foreign.join(u','), flags.join(u','), 0, true},
        {"not a number", QString(order.join(u',')).replace(QStringLiteral("12"), QStringLiteral("x")),
         flags.join(u','), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TCopyItemEntries e = ParseCopyItems(c.index, c.copy);
        EXPECT_EQ(e[0].ItemNo, c.firstItem);
        EXPECT_EQ(e[0].ItemIndex, c.firstItem);
        const bool all = std::all_of(e.begin(), e.end(), [](const TCopyItemEntry& x) { return x.Copy == 1; });
        EXPECT_EQ(all, c.allCopied);
        if (!c.allCopied) {
            EXPECT_EQ(CopyItemIndexText(e), c.index);
            EXPECT_EQ(CopyItemCopyText(e), c.copy);
        }
    }
}

TEST(CopyItemSettingTest, NothingChosenGivesOnlyTheLineBreak)
{
    TCopyItemEntries none = DefaultCopyItems();
    for (TCopyItemEntry& e : none)
        e.Copy = 0;
    QStringList texts;
    for (int i = 0; i < CopyItemCount; ++i)
        texts << QStringLiteral("a,b");
    EXPECT_EQ(CopyItemsText(texts, none, true), QStringLiteral("\r\n"));
    EXPECT_EQ(CopyItemsText(texts, none, false), QString());
    // Commas inside a text are copied as they are.
    none[4].Copy = 1;
    EXPECT_EQ(CopyItemsText(texts, none, false), QStringLiteral("a,b"));
}

TEST_F(DtInqiryExtrasTest, SettingDialogChangesAndStoresTheOrder)
{
    makeCard();
    bool seen = false;
    ModalDriver driver;
    driver.on<TCopyItemSet>([&](TCopyItemSet* d) {
        seen = true;
        d->lvCopyItem->setCurrentRow(23);
        d->bbtnTop->click();
        d->lvCopyItem->item(1)->setCheckState(Qt::Unchecked);
        d->chkLastReturn->setChecked(false);
        d->btnOk->click();
    });
    card->bbtnCopySetting->click();
    ASSERT_TRUE(seen);
    EXPECT_EQ(card->CopyItems()[0].ItemNo, 23);
    EXPECT_EQ(card->CopyItems()[1].ItemNo, 0);
    EXPECT_EQ(card->CopyItems()[1].Copy, 0);
    EXPECT_FALSE(card->CopyLastReturn());
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_TRUE(ini.ReadString(QStringLiteral("DATA INQUIRY"), QStringLiteral("CopyItemIndex"), {})
                    .startsWith(QStringLiteral("23,0,1,2,")));
    EXPECT_TRUE(ini.ReadString(QStringLiteral("DATA INQUIRY"), QStringLiteral("CopyItemCopy"), {})
                    .startsWith(QStringLiteral("1,0,1,")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("DATA INQUIRY"), QStringLiteral("LastReturn"), {}),
              QStringLiteral("0"));

    // Cancel keeps the setting.
    driver.on<TCopyItemSet>([](TCopyItemSet* d) {
        d->bbtnReSort->click();
        d->btnCancel->click();
    });
    card->bbtnCopySetting->click();
    EXPECT_EQ(card->CopyItems()[0].ItemNo, 23);
}

// ---------------------------------------------------------------------------------------------------------
// Enter order

TEST_F(DtInqiryExtrasTest, EnterMovesThroughTheFieldsAndSkipsLockedOnes)
{
    LoadCategoryNames(QStringLiteral(TOVAREL_PROGRAM_DIR "Dic/dbctgry.dat"));
    makeCard();
    showActive();
    struct Case
    {
        const char* what;
        std::function<void()> arrange;
        QWidget* from;
        QWidget* to;
        bool caretAtEnd;
    };
    TDataInquiry* c = card;
    const auto corp = [c] { c->sbtnCorp->click(); };
    const auto priv = [c] { c->sbtnPriv->click(); };
    const auto lock = [] {
        AdminPassword = QStringLiteral("secret");
        AdminMode = false;
    };
    const Case cases[] = {
        {"group", {}, c->cbxGroup, c->edtCustomCode, true},
        {"next tab stop", {}, c->edtCustomCode, c->edtEnvMyNumber, true},
        {"telephone without prefecture", [c] { c->edtTdfkn->clear(); }, c->edtTel, c->bbtnTelSch, false},
        {"telephone with prefecture", [c] { c->edtTdfkn->setText(QStringLiteral("東京都")); }, c->edtTel,
         c->chkMainNumber, false},
        {"check box", {}, c->chkMainNumber, c->edtFax, true},
        {"postal code with prefecture", {}, c->edtPos, c->edtTdfkn, true},
        {"postal code without", [c] { c->edtTdfkn->setText(QStringLiteral("  ")); }, c->edtPos, c->bbtnPosSch,
         false},
        {"municipality code", {}, c->edtJisCode, c->edtTdfkn, true},
        {"address 3", {}, c->edtAdrs3, c->edtAdrsKana, true},
        {"kana address, unlocked", priv, c->edtAdrsKana, c->edtMyNumber, true},
        {"kana address, locked person", [lock, priv] { lock(), priv(); }, c->edtAdrsKana, c->nmedtNameKanji,
         true},
        {"kana address, locked company", [lock, corp] { lock(), corp(); }, c->edtAdrsKana, c->nmedtCorpKanji,
         true},
        {"company name", corp, c->nmedtCorpKanji, c->edtCorpKana, true},
        {"department", corp, c->cbxDptmnt, c->cbxPost, false},
        {"employee number", corp, c->edtEmployeeNo, c->nmedtNameKanji, false},
        {"honorific, company", corp, c->cbxHonor, c->chkIgnoreName, false},
        {"honorific, person", priv, c->cbxHonor, c->cbxCatMain, false},
        {"no major category", [c] { c->FillCategoryMainList(0); }, c->cbxCatMain, c->btnAdd, false},
        {"major category", [c] { c->FillCategoryMainList(1), c->FillCategorySubList(1); }, c->cbxCatMain,
         c->cbxCatSub, false},
        {"minor category", {}, c->cbxCatSub, c->btnAdd, false},
        {"mail 2", [c] { c->pgctlData->setCurrentIndex(1); }, c->edtEMail2, c->nmedtJoint[0], true},
        {"empty joint name", {}, c->nmedtJoint[0], c->edtJointMyNumber[0], true},
        {"joint name", [c] { c->nmedtJoint[0]->setText(QStringLiteral("花子")); }, c->nmedtJoint[0],
         c->cbxJointHonor[0], false},
        {"joint honorific 1", {}, c->cbxJointHonor[0], c->edtJointMyNumber[0], true},
        {"joint number 1", {}, c->edtJointMyNumber[0], c->nmedtJoint[1], false},
        {"sender", {}, c->cbxSender, c->btnAdd, false},
        {"keyword 8", [c] { c->pgctlData->setCurrentIndex(2); }, c->cbxKeyword[2], c->mmoNote, false},
        {"keyword 5", {}, c->edtKeyword[4], c->cbxKeyword[0], false},
        {"protected memo 10, locked", [lock, c] { lock(), c->pgctlData->setCurrentIndex(3); },
         c->edtProtectMemo[9], c->bbtnNew, false},
        {"links", [c] { c->pgctlData->setCurrentIndex(4); }, c->lvExtLink, c->cbxSymbolMark, false},
        {"symbol", {}, c->cbxSymbolMark, c->btnAdd, false},
        {"registered date", {}, c->edtAddDateTime, c->edtUpdDateTime, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        AdminPassword.clear();
        if (k.arrange)
            k.arrange();
        card->ApplyProtection();
        k.from->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), k.from);
        PressEnter(k.from);
        EXPECT_EQ(QApplication::focusWidget(), k.to)
            << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                            : "none");
        if (auto* edit = qobject_cast<QLineEdit*>(k.to); edit && k.caretAtEnd) {
            EXPECT_FALSE(edit->hasSelectedText());
            EXPECT_EQ(edit->cursorPosition(), edit->text().size());
        }
    }
    AdminPassword.clear();
    card->ApplyProtection();
    // The joint name left by Enter is in the owner list.
    EXPECT_GT(card->cbxJointOwner->findText(QStringLiteral("花子")), 0);

    // The second Enter on the lookup button starts the lookup.
    card->pgctlData->setCurrentIndex(0);
    card->edtTdfkn->clear();
    card->edtTel->setFocus();
    PressEnter(card->edtTel);
    PressEnter(QApplication::focusWidget());
    EXPECT_EQ(telLookups, 1);

    // A loaded record ends on "変更".
    addPerson(QStringLiteral("山田太郎"));
    showRow(0);
    card->cbxCatMain->setFocus();
    PressEnter(card->cbxCatMain);
    EXPECT_EQ(QApplication::focusWidget(), card->btnUpdate);
}

TEST_F(DtInqiryExtrasTest, EnterDuringACompositionIsLeftToTheInputMethod)
{
    makeCard();
    showActive();
    card->nmedtNameKanji->setFocus();
    TestIme::Preedit(card->nmedtNameKanji, QStringLiteral("やま"));
    ASSERT_TRUE(card->nmedtNameKanji->Composing());
    PressEnter(card->nmedtNameKanji);
    EXPECT_EQ(QApplication::focusWidget(), card->nmedtNameKanji);
    TestIme::Commit(card->nmedtNameKanji, QStringLiteral("山"));
    PressEnter(card->nmedtNameKanji);
    EXPECT_EQ(QApplication::focusWidget(), card->nmedtNameKana);
}

// ---------------------------------------------------------------------------------------------------------
// Pages, wheel, memo fix-ups

TEST_F(DtInqiryExtrasTest, PagesTurnByTabAndWheel)
{
    makeCard();
    showActive();
    QTabBar* bar = card->pgctlData->tabBar();
    const auto wheel = [bar](QWidget* target, QPoint at, int delta) {
        QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    };
    // A page the user chooses takes the focus to its first field and sets the help topic.
    card->edtURL->setText(QStringLiteral("https://x.example/"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(card->pgctlData->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), card->edtURL);
    EXPECT_EQ(card->edtURL->cursorPosition(), card->edtURL->text().size());
    EXPECT_EQ(card->property("helpContext").toInt(), 55);

    struct Step
    {
        int from, delta, to;
    };
    const Step steps[] = {{0, 120, 4}, {4, -120, 0}, {0, -120, 1}, {3, 120, 2}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.from);
        card->pgctlData->setCurrentIndex(s.from);
        wheel(bar, bar->tabRect(2).topLeft(), s.delta);
        EXPECT_EQ(card->pgctlData->currentIndex(), s.to);
    }
    EXPECT_EQ(card->property("helpContext").toInt(), 56);
    EXPECT_EQ(QApplication::focusWidget(), card->edtKeyword[0]);
    wheel(card->tabstMemo, QPoint(5, 5), -120); // over a page: left alone
    EXPECT_EQ(card->pgctlData->currentIndex(), 2);

    // The card's own page changes leave the focus alone.
    card->pgctlData->setCurrentIndex(4);
    card->cbxSymbolMark->setFocus();
    card->ClearForm();
    EXPECT_EQ(card->pgctlData->currentIndex(), 0);
    EXPECT_EQ(card->property("helpContext").toInt(), 58);
}

TEST_F(DtInqiryExtrasTest, MemoFixupsAndBlueCaptions)
{
    makeCard();
    struct Case
    {
        QString text, left;
    };
    const Case notes[] = {
        {QStringLiteral("一行目\n二行目"), QStringLiteral("一行目\n二行目\n")},
        {QStringLiteral("済み\n"), QStringLiteral("済み\n")},
        {QStringLiteral("  \n "), QStringLiteral("  \n ")},
        {QString(), QString()},
    };
    for (const Case& c : notes) {
        card->mmoNote->setPlainText(c.text);
        Leave(card->mmoNote);
        EXPECT_EQ(card->mmoNote->toPlainText(), c.left);
    }
    const QString full(1000, QLatin1Char('a'));
    card->mmoProtectNote->setPlainText(full);
    Leave(card->mmoProtectNote);
    EXPECT_EQ(card->mmoProtectNote->toPlainText(), full);
    card->mmoProtectNote->setPlainText(QString(999, QLatin1Char('a')) + QStringLiteral("あ"));
    Leave(card->mmoProtectNote);
    EXPECT_EQ(card->mmoProtectNote->toPlainText(), QString(999, QLatin1Char('a')));

    for (QCheckBox* box : {card->chkMainNumber, card->chkContinualAdd}) {
        box->setChecked(false);
        box->click();
        EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(Qt::blue));
        box->click();
        EXPECT_NE(box->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Name-reading popup

TEST_F(DtInqiryExtrasTest, CompositionShowsThePopupAndAPickFillsNameAndReading)
{
    makeCard();
    showActive();
    TTntNMDEdit* edit = card->nmedtNameKanji;
    edit->setFocus();
    for (const QString& typed : {QStringLiteral("さ"), QStringLiteral("さと"), QStringLiteral("さとう")}) {
        TestIme::Preedit(edit, typed);
        DeliverPosted();
    }
    QPointer<TTntNameDic> popup = NameDicPopup;
    ASSERT_TRUE(popup) << "the program folder's name dictionary knows さとう";
    EXPECT_EQ(popup->parentWidget(), card.data());
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->Tag(), 0);
    EXPECT_EQ(popup->NameKind(), nkLineage);
    EXPECT_EQ(popup->HighlightColor(), QColor(Qt::blue));
    EXPECT_EQ(popup->pos(), edit->mapToGlobal(QPoint(0, edit->height())));

    // The popup follows the card.
    card->move(card->pos() + QPoint(30, 20));
    QApplication::processEvents();
    EXPECT_EQ(popup->pos(), edit->mapToGlobal(QPoint(0, edit->height())));

    // A double click on a written form puts it and its reading into the two edits.
    const QString word = popup->Grid().Cell(1, 0);
    const QString reading = popup->Grid().Cell(0, 0);
    ASSERT_FALSE(word.isEmpty());
    auto* grid = popup->findChild<QTableView*>(QStringLiteral("sgNameList"));
    const QPoint cell = grid->visualRect(grid->model()->index(0, 1)).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    DeliverPosted();
    EXPECT_EQ(edit->text(), word + QChar(0x3000));
    EXPECT_EQ(card->nmedtNameKana->text(), reading + QLatin1Char(' '));
    EXPECT_TRUE(popup.isNull());
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_FALSE(edit->Composing());
}

TEST_F(DtInqiryExtrasTest, JointNamesLookUpGivenNamesAndPickByKey)
{
    makeCard();
    showActive();
    card->pgctlData->setCurrentIndex(1);
    TTntNMDEdit* edit = card->nmedtJoint[1];
    edit->setFocus();
    TestIme::Preedit(edit, QStringLiteral("ひ"));
    TestIme::Preedit(edit, QStringLiteral("ひろ"));
    DeliverPosted();
    QPointer<TTntNameDic> popup = NameDicPopup;
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->Tag(), 3);
    EXPECT_EQ(popup->NameKind(), nkFirst);
    const QString word = popup->Grid().Cell(1, 0);
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Return);
    DeliverPosted();
    EXPECT_EQ(edit->text(), word);
    EXPECT_TRUE(popup.isNull());
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

TEST_F(DtInqiryExtrasTest, SurnameLeavesATypedReadingAlone)
{
    makeCard();
    struct Case
    {
        const char* what;
        QString kana;
        int tag;
        TNameDicKind kind;
        bool copies;
    };
    const Case cases[] = {
        {"surname, reading empty", QString(), 0, nkLineage, true},
        {"surname, reading typed", QStringLiteral("ﾔﾏﾀﾞ"), 0, nkLineage, false},
        {"given name, reading typed", QStringLiteral("ﾔﾏﾀﾞ"), 0, nkFirst, true},
        {"surname in the reading edit", QStringLiteral("ﾔﾏﾀﾞ"), 1, nkLineage, false},
        {"blank reading", QStringLiteral("  "), 0, nkLineage, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        card->nmedtNameKanji->SetAssociate(c.copies ? nullptr : card->nmedtNameKana);
        card->nmedtNameKana->setText(c.kana);
        // A reading without candidates: the popup stays closed, so the rule runs every time.
        card->nmedtNameConvertNeed(c.tag, c.kind, true, QStringLiteral("ﾝﾝﾝﾝ"));
        EXPECT_EQ(NameDicPopup, nullptr);
        EXPECT_EQ(card->nmedtNameKanji->Associate(), c.copies ? card->nmedtNameKana : nullptr);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Screenshot of the item choice dialog

TEST_F(DtInqiryExtrasTest, ItemChoiceDialogScreenshot)
{
    KeywordNames = QStringList{QStringLiteral("趣味"), QStringLiteral("出身校")};
    MainSettings.MyNumberLabel = QStringLiteral("法人番号");
    TCopyItemSet dialog(nullptr);
    TCopyItemEntries entries = DefaultCopyItems();
    std::swap(entries[0], entries[47]); // a user-named item first, the group in its place
    entries[3].Copy = 0;
    dialog.SetItems(entries, true);
    const QStringList captions = dialog.Captions();
    EXPECT_EQ(captions[0], QStringLiteral("趣味"));
    EXPECT_EQ(captions[2], QStringLiteral("法人番号"));
    EXPECT_EQ(captions[47], QStringLiteral("グループ"));
    EXPECT_EQ(captions[48], QStringLiteral("出身校"));
    EXPECT_EQ(captions[49], QStringLiteral("キーワード３"));
    dialog.resize(dialog.sizeHint());
    dialog.show();
    QApplication::processEvents();
    const QImage image = dialog.grab().toImage();
    EXPECT_FALSE(image.isNull());
    const QString folder = qEnvironmentVariable("TOVAREL_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        image.save(folder + QStringLiteral("/CopyItemSet.png"));
    dialog.hide();
}

TEST(CopyItemSetTest, MovesResortDoubleClickAndRefusedEmptyChoice)
{
    TCopyItemSet dialog(nullptr);
    dialog.SetItems(DefaultCopyItems(), false);
    EXPECT_FALSE(dialog.chkLastReturn->isChecked());
    const QStringList table = dialog.Captions();
    // First up and last down change nothing.
    dialog.lvCopyItem->setCurrentRow(0);
    dialog.bbtnUp->click();
    dialog.lvCopyItem->setCurrentRow(CopyItemCount - 1);
    dialog.bbtnDown->click();
    EXPECT_EQ(dialog.Captions(), table);
    // Moves carry caption, check and entry.
    dialog.lvCopyItem->item(10)->setCheckState(Qt::Unchecked);
    dialog.lvCopyItem->setCurrentRow(10);
    dialog.bbtnBottom->click();
    EXPECT_EQ(dialog.lvCopyItem->currentRow(), CopyItemCount - 1);
    dialog.bbtnUp->click();
    dialog.lvCopyItem->setCurrentRow(2);
    dialog.bbtnDown->click();
    TCopyItemEntries got;
    bool lastReturn = true;
    dialog.GetItems(got, lastReturn);
    EXPECT_FALSE(lastReturn);
    EXPECT_EQ(got[2].ItemNo, 3);
    EXPECT_EQ(got[3].ItemNo, 2);
    EXPECT_EQ(got[CopyItemCount - 2].ItemNo, 10);
    EXPECT_EQ(got[CopyItemCount - 2].Copy, 0);
    EXPECT_EQ(got[CopyItemCount - 1].ItemNo, 74);
    EXPECT_EQ(dialog.Captions()[CopyItemCount - 2], table[10]);

    // Back to table order with the checks kept.
    dialog.bbtnReSort->click();
    EXPECT_EQ(dialog.Captions(), table);
    EXPECT_EQ(dialog.lvCopyItem->item(10)->checkState(), Qt::Unchecked);
    EXPECT_EQ(dialog.lvCopyItem->currentRow(), 0);

    // Enter goes from the list to the final line break and on to OK.
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.lvCopyItem->setFocus();
    QTest::keyClick(dialog.lvCopyItem, Qt::Key_Return);
    EXPECT_TRUE(dialog.chkLastReturn->hasFocus());
    QTest::keyClick(dialog.chkLastReturn, Qt::Key_Return);
    EXPECT_TRUE(dialog.btnOk->hasFocus());
    EXPECT_TRUE(dialog.isVisible());

    // A double click toggles the focused row.
    dialog.lvCopyItem->setCurrentRow(10);
    emit dialog.lvCopyItem->itemDoubleClicked(dialog.lvCopyItem->item(10));
    EXPECT_EQ(dialog.lvCopyItem->item(10)->checkState(), Qt::Checked);

    // Nothing checked: OK is refused; "すべてコピー" checks everything.
    for (int i = 0; i < CopyItemCount; ++i)
        dialog.lvCopyItem->item(i)->setCheckState(Qt::Unchecked);
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    dialog.show();
    dialog.btnOk->click();
    EXPECT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("コピーする項目は１つ以上選択してください  "));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    dialog.bbtnAll->click();
    dialog.btnOk->click();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    dialog.GetItems(got, lastReturn);
    EXPECT_TRUE(std::all_of(got.begin(), got.end(), [](const TCopyItemEntry& e) { return e.Copy == 1; }));
}
