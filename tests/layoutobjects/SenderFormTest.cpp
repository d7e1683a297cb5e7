// Sender records editor over a real Sender.DB: the first record and the default, titles and numbers of new
// records, deleting, the title refusals, the contact toggles and headings, lookups, the post list, saving on
// close and the designers' entry point.
#include "layoutobjects/SenderForm.h"

#include "addressbook/InputLst.h"
#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/Dlhyp.h"
#include "core/HisInfo.h"
#include "core/MainSettings.h"
#include "core/TntNMDEdit.h"
#include "platform/IniFile.h"
#include "platform/TableEngine.h"
#include "addressbook/TntNMDic.h"
#include "support/AdrsTableFixture.h"
#include "support/InputMethodEvents.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const QString TitleEmpty = QStringLiteral("登録名を入力してください  ");
const QString TitleTaken = QStringLiteral("おなじ登録名が存在します．別の登録名を入力してください  ");

// A lookup that answers from a script.
struct ScriptedLookup
{
    int start = 1;
    bool exec = true;
    TDicResultRec result;
    int runs = 0;
    QString text;
};

class SenderFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {DataRootFolder, DataFolder, ProgramFolder};
        DataRootFolder = m_dir.path() + QStringLiteral("/root/");
        DataFolder = DataRootFolder + QStringLiteral("Data/");
        SetDataSubFolders();
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        ASSERT_TRUE(QDir().mkpath(HistoryFolder));
        m_dm = std::make_unique<TDMQuenrid215>();
        DMQuenrid215 = m_dm.get();
        m_dm->DataModuleCreate();
        m_dm->InitDatabase();
        ASSERT_TRUE(m_dm->Connect());
        m_dm->CreateSenderTable();
        ASSERT_TRUE(m_dm->OpenSender());
        DefaultSenderNo = 0;
    }
    void TearDown() override
    {
        form.reset();
        SetSenderLookupFactory({});
        m_dm->CloseSender();
        m_dm->Disconnect();
        DMQuenrid215 = nullptr;
        m_dm.reset();
        DataRootFolder = m_saved[0];
        DataFolder = m_saved[1];
        ProgramFolder = m_saved[2];
        SetDataSubFolders();
    }

    Table& table() { return *m_dm->SenderTable(); }
    void add(AdrsTableFixture::Fields fields) { AdrsTableFixture::add(table(), fields); }
    void addTitled(qint32 recNo, const char* title)
    {
        add({{"RecNo", recNo}, {"Title", QString::fromUtf8(title)}});
    }
    TSenderForm& open(qint32 senderNo = 0)
    {
        form = std::make_unique<TSenderForm>();
        form->SenderNo = senderNo;
        form->show();
        return *form;
    }
    QString field(qint32 recNo, const char* name)
    {
        EXPECT_TRUE(table().locate({QStringLiteral("RecNo")}, {recNo})) << recNo;
        return table().fieldByName(QLatin1String(name)).asString();
    }
    QList<qint32> recNos()
    {
        QList<qint32> out;
        for (table().first(); !table().eof(); table().next())
            out << qint32(table().fieldByName(QStringLiteral("RecNo")).asInteger());
        return out;
    }
    int iniValue(const char* key)
    {
        return TMemIniFile(DataFolder + QStringLiteral("Sender.ini"))
            .ReadInteger(QStringLiteral("SENDER"), QLatin1String(key), -1);
    }
    void useLookup(ScriptedLookup& script)
    {
        struct Lookup : TSenderLookup
        {
            ScriptedLookup& s;
            explicit Lookup(ScriptedLookup& s) : s(s) {}
            int StartSearch(int, const QString& text) override
            {
                ++s.runs;
                s.text = text;
                return s.start;
            }
            bool Exec() override { return s.exec; }
            TDicResultRec GetResult() const override { return s.result; }
        };
        SetSenderLookupFactory([&script](QWidget*) { return std::make_unique<Lookup>(script); });
    }

    std::unique_ptr<TSenderForm> form;
    MessageRecorder messages;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDMQuenrid215> m_dm;
    QStringList m_saved;
};

} // namespace

TEST_F(SenderFormTest, EmptyTableGetsSender1AsTheDefault)
{
    TSenderForm& f = open();
    EXPECT_EQ(recNos(), QList<qint32>{1});
    EXPECT_EQ(field(1, "Title"), QStringLiteral("差出人1"));
    EXPECT_TRUE(table().fieldByName(QStringLiteral("NamePrint")).asBoolean());
    EXPECT_TRUE(table().fieldByName(QStringLiteral("JointPrint5")).asBoolean());
    EXPECT_EQ(DefaultSenderNo, 1);
    EXPECT_EQ(f.SenderNo, 1);
    EXPECT_EQ(f.edTitle->text(), QStringLiteral("差出人1"));
    EXPECT_TRUE(f.ckbDefault->isChecked());
    EXPECT_FALSE(f.sbtnNext->isEnabled());
    f.btnClose->click();
    EXPECT_EQ(iniValue("Default"), 1);
    EXPECT_EQ(iniValue("LastNo"), 1);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(SenderFormTest, NewRecordsTakeFreeTitlesAndNeverReuseNumbers)
{
    addTitled(1, "差出人3");
    addTitled(2, "差出人4");
    addTitled(3, "差出人5");
    TSenderForm& f = open(2);
    EXPECT_EQ(f.edTitle->text(), QStringLiteral("差出人4"));
    f.bbtnNewClick();
    EXPECT_EQ(f.SenderNo, 4);
    EXPECT_EQ(field(4, "Title"), QStringLiteral("差出人6"));
    EXPECT_EQ(f.edTitle->text(), QStringLiteral("差出人6"));
    EXPECT_EQ(f.lblRecord->text(), QStringLiteral("4"));

    messages.answer(MsgSeam::IdYes);
    f.bbtnDeleteClick();
    EXPECT_EQ(messages.last().text, QStringLiteral("差出人'差出人6'を削除します  \r\nよろしいですか？"));
    EXPECT_EQ(messages.last().flags, 292u);
    EXPECT_EQ(recNos(), (QList<qint32>{1, 2, 3}));
    EXPECT_EQ(f.SenderNo, 3);
    f.bbtnNewClick();
    EXPECT_EQ(f.SenderNo, 5) << "the deleted number is not given again";
    EXPECT_EQ(f.LastNo(), 5);

    messages.answer(MsgSeam::IdNo);
    f.bbtnDeleteClick();
    EXPECT_EQ(recNos(), (QList<qint32>{1, 2, 3, 5})) << "No keeps the record";
    f.btnClose->click();
    EXPECT_EQ(iniValue("LastNo"), 5);
    EXPECT_EQ(iniValue("Default"), 1);
}

TEST_F(SenderFormTest, DeletingTheOnlyRecordClearsItToNumberOne)
{
    add({{"RecNo", 7},
         {"Title", QStringLiteral("自宅")},
         {"Name", QVariant(WideToHexText(QStringLiteral("山田太郎")))},
         {"Tel", QByteArray("0312345678")},
         {"SelectInfo", 2},
         {"AdditionPrint1", true}});
    TMemIniFile ini(DataFolder + QStringLiteral("Sender.ini"));
    ini.WriteInteger(QStringLiteral("SENDER"), QStringLiteral("LastNo"), 9);
    ini.WriteInteger(QStringLiteral("SENDER"), QStringLiteral("Default"), 7);
    ASSERT_TRUE(ini.UpdateFile());
    TSenderForm& f = open(7);
    EXPECT_EQ(f.edName->text(), QStringLiteral("山田太郎"));
    EXPECT_EQ(f.pgctlSender->currentWidget(), f.tbsCorp);
    messages.answer(MsgSeam::IdYes);
    f.bbtnDeleteClick();
    EXPECT_EQ(recNos(), QList<qint32>{1});
    EXPECT_EQ(field(1, "Title"), QStringLiteral("差出人1"));
    EXPECT_EQ(field(1, "Name"), QString());
    EXPECT_EQ(field(1, "Tel"), QString());
    EXPECT_EQ(table().fieldByName(QStringLiteral("SelectInfo")).asInteger(), 0);
    EXPECT_FALSE(table().fieldByName(QStringLiteral("AdditionPrint1")).asBoolean());
    EXPECT_TRUE(table().fieldByName(QStringLiteral("JointPrint1")).asBoolean());
    EXPECT_EQ(f.SenderNo, 1);
    EXPECT_EQ(DefaultSenderNo, 1);
    EXPECT_EQ(f.edName->text(), QString());
    f.btnClose->click();
    EXPECT_EQ(iniValue("LastNo"), 9) << "the highest number is never lowered";
}

TEST_F(SenderFormTest, EmptyAndDuplicateTitlesKeepTheUserOnTheRecord)
{
    addTitled(1, "自宅");
    addTitled(2, "会社");
    TSenderForm& f = open(2);

    f.edTitle->setText(QStringLiteral("  "));
    messages.answer(MsgSeam::IdOk);
    f.sbtnMoveClick(0);
    EXPECT_EQ(messages.last().text, TitleEmpty);
    EXPECT_EQ(messages.last().flags, 64u);
    EXPECT_EQ(f.SenderNo, 2);
    EXPECT_EQ(field(2, "Title"), QStringLiteral("会社"));

    f.edTitle->setText(QStringLiteral("自宅 "));
    messages.answer(MsgSeam::IdOk);
    EXPECT_FALSE(f.edTitleExit()) << "leaving the edit";
    EXPECT_EQ(messages.last().text, TitleTaken);
    messages.answer(MsgSeam::IdOk);
    f.sbtnMoveClick(0);
    EXPECT_EQ(messages.count(), 3) << "moving";
    EXPECT_EQ(f.SenderNo, 2);
    EXPECT_EQ(f.edTitle->selectedText(), QStringLiteral("自宅 "));
    messages.answer(MsgSeam::IdOk);
    f.btnClose->click();
    EXPECT_EQ(messages.count(), 4) << "closing";
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(field(2, "Title"), QStringLiteral("会社"));

    f.edTitle->setText(QStringLiteral("会社"));
    f.sbtnMoveClick(0);
    EXPECT_EQ(messages.count(), 4) << "changed back: no refusal";
    EXPECT_EQ(f.SenderNo, 1);
}

TEST_F(SenderFormTest, AtMostTwoContactsArePrinted)
{
    add({{"RecNo", 1},
         {"Title", QStringLiteral("自宅")},
         {"AdditionPrint1", true},
         {"AdditionPrint2", true},
         {"AdditionPrint3", true}});
    TSenderForm& f = open(1);
    const auto pressed = [&f] {
        QList<int> out;
        for (int i = 0; i < 4; ++i)
            if (f.sbtnAdditionPrint[size_t(i)]->isChecked())
                out << i + 1;
        return out;
    };
    EXPECT_EQ(pressed(), (QList<int>{1, 2})) << "only the first two stay pressed";
    f.sbtnAdditionPrint[3]->click();
    EXPECT_EQ(pressed(), (QList<int>{1, 4})) << "the highest-numbered other one is released";
    f.sbtnAdditionPrint[0]->click();
    f.sbtnAdditionPrint[2]->click();
    EXPECT_EQ(pressed(), (QList<int>{3, 4}));
    f.btnClose->click();
    ASSERT_TRUE(table().locate({QStringLiteral("RecNo")}, {1}));
    EXPECT_FALSE(table().fieldByName(QStringLiteral("AdditionPrint1")).asBoolean());
    EXPECT_TRUE(table().fieldByName(QStringLiteral("AdditionPrint3")).asBoolean());
    EXPECT_TRUE(table().fieldByName(QStringLiteral("AdditionPrint4")).asBoolean());
}

TEST_F(SenderFormTest, TelContactFollowsTheTelephone)
{
    ASSERT_EQ(LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/")), 0);
    add({{"RecNo", 1},
         {"Title", QStringLiteral("自宅")},
         {"Tel", QByteArray("0312345678")},
         {"Fax", QByteArray("0312349999")},
         {"Head1", QByteArray("TEL")},
         {"Addition1", QByteArray("0312345678")},
         {"Head2", QByteArray("FAX")},
         {"Addition2", QByteArray("0312349999")},
         {"Head3", QByteArray("URL")},
         {"Addition3", QByteArray("https://example.jp/")}});
    TSenderForm& f = open(1);
    EXPECT_EQ(f.edTel->text(), QStringLiteral("03-1234-5678"));
    EXPECT_EQ(f.edAddition[0]->text(), QStringLiteral("03-1234-5678"));
    EXPECT_EQ(f.edAddition[1]->text(), QStringLiteral("03-1234-9999"));
    f.edTel->setText(QStringLiteral("03-9876-5432"));
    EXPECT_EQ(f.edAddition[0]->text(), QStringLiteral("03-9876-5432"));
    EXPECT_EQ(f.edAddition[1]->text(), QStringLiteral("03-1234-9999")) << "the fax contact stays";
    ASSERT_TRUE(f.SaveRecord());
    EXPECT_EQ(field(1, "Addition1"), QStringLiteral("0398765432")) << "stored as digits";
    EXPECT_EQ(field(1, "Tel"), QStringLiteral("0398765432"));
    EXPECT_EQ(field(1, "Addition3"), QStringLiteral("https://example.jp/"));

    f.cbxHead[0]->setCurrentIndex(5);
    emit f.cbxHead[0]->activated(5);
    EXPECT_EQ(f.edAddition[0]->text(), QString()) << "URL empties the copied number";
    f.cbxHead[3]->setCurrentIndex(3);
    emit f.cbxHead[3]->activated(3);
    EXPECT_EQ(f.edAddition[3]->text(), QStringLiteral("03-9876-5432"));
    FreeHyphenLibrary();
    f.btnClose->click();
    EXPECT_EQ(field(1, "Head1"), QStringLiteral("URL"));
    EXPECT_EQ(field(1, "Addition4"), QStringLiteral("0398765432"));
}

TEST_F(SenderFormTest, LookupsFillTheirFields)
{
    addTitled(1, "自宅");
    TSenderForm& f = open(1);
    ScriptedLookup script;
    useLookup(script);

    f.edTel->setText(QStringLiteral("03-1111-2222"));
    script.result.Tel = "06-6123-0001";
    script.result.PhoneKind = 1;
    script.result.IsPerson = 0;
    script.result.Name = ToAnsi(QStringLiteral("梅田商会"));
    script.result.PostalCode = "530-0001";
    script.result.Prefecture = ToAnsi(QStringLiteral("大阪府"));
    script.result.Address1 = ToAnsi(QStringLiteral("大阪市北区"));
    script.result.Address2 = ToAnsi(QStringLiteral("梅田"));
    f.bbtnSearchClick(0);
    EXPECT_EQ(script.text, QStringLiteral("03-1111-2222"));
    EXPECT_EQ(f.edTel->text(), QString()) << "a fax number empties the telephone";
    EXPECT_EQ(f.edFax->text(), QStringLiteral("06-6123-0001"));
    EXPECT_EQ(f.edCorp->text(), QStringLiteral("梅田商会"));
    EXPECT_EQ(f.pgctlSender->currentWidget(), f.tbsCorp);
    EXPECT_EQ(f.edPos->text(), QStringLiteral("530-0001"));
    EXPECT_EQ(f.edAdrs2->text(), QStringLiteral("梅田"));

    // The postal prefix rule: a typed second line that begins with the answer's is kept.
    f.edAdrs2->setText(QStringLiteral("梅田１丁目"));
    f.edAdrs3->setText(QStringLiteral("梅田ビル"));
    script.result = {};
    script.result.PostalCode = "5300001";
    script.result.Prefecture = ToAnsi(QStringLiteral("大阪府"));
    script.result.Address1 = ToAnsi(QStringLiteral("大阪市北区"));
    script.result.Address2 = ToAnsi(QStringLiteral("梅田"));
    f.bbtnSearchClick(1);
    EXPECT_EQ(f.edAdrs2->text(), QStringLiteral("梅田１丁目"));
    EXPECT_EQ(f.edAdrs3->text(), QStringLiteral("梅田ビル")) << "an empty third line replaces nothing";
    script.result.Address2 = ToAnsi(QStringLiteral("茶屋町"));
    script.result.Address3 = ToAnsi(QStringLiteral("１番"));
    f.bbtnSearchClick(1);
    EXPECT_EQ(f.edAdrs2->text(), QStringLiteral("茶屋町"));
    EXPECT_EQ(f.edAdrs3->text(), QStringLiteral("１番"));
    EXPECT_EQ(f.edName->text(), QString());

    // Abandoned lookups change nothing.
    const auto snapshot = [&f] {
        QStringList out;
        for (QLineEdit* e : f.findChildren<QLineEdit*>())
            out << e->text();
        return out;
    };
    script.result.Tel = "0399999999";
    script.result.Name = ToAnsi(QStringLiteral("別人"));
    script.result.IsPerson = 1;
    const QStringList before = snapshot();
    for (const auto& [start, exec] : {std::pair{2, true}, {9, true}, {-1, true}, {0, false}}) {
        script.start = start;
        script.exec = exec;
        f.bbtnSearchClick(0);
        EXPECT_EQ(snapshot(), before) << start << " " << exec;
    }
    script.start = 0;
    script.exec = true;
    f.bbtnSearchClick(2);
    EXPECT_EQ(f.edName->text(), QStringLiteral("別人")) << "0 and OK take the answer";
    EXPECT_EQ(f.edTel->text(), QStringLiteral("0399999999"));
    EXPECT_EQ(f.edFax->text(), QString());
}

TEST_F(SenderFormTest, PostListShowsEachHistoryEntryOnce)
{
    THistoryData& posts = *DMQuenrid215->PostHistory();
    posts.Insert(0, ToAnsi(QStringLiteral("課長")), 0);
    posts.Insert(0, ToAnsi(QStringLiteral("部長")), 0);
    add({{"RecNo", 1}, {"Title", QStringLiteral("自宅")}, {"Post", QStringLiteral("課長")}});
    TSenderForm& f = open(1);
    const auto items = [&f] {
        QStringList out;
        for (int i = 0; i < f.cbxPost->count(); ++i)
            out << f.cbxPost->itemText(i);
        return out;
    };
    EXPECT_EQ(items(), (QStringList{QStringLiteral("部長"), QStringLiteral("課長")}));
    EXPECT_EQ(f.cbxPost->currentText(), QStringLiteral("課長"));

    ModalDriver driver;
    driver.on("InputList", [](QWidget* w) {
        auto* list = static_cast<TInputList*>(w);
        EXPECT_EQ(list->tabctlInputList->currentIndex(), 1);
        list->edtName->setText(QStringLiteral("係長"));
        list->bbtnAddClick();
        list->btnOkClick();
    });
    f.bbtnEditListClick(1);
    EXPECT_EQ(items(), (QStringList{QStringLiteral("係長"), QStringLiteral("部長"), QStringLiteral("課長")}));
    EXPECT_EQ(f.cbxPost->currentText(), QStringLiteral("課長"));

    f.cbxPost->setEditText(QStringLiteral("部長"));
    ASSERT_TRUE(f.SaveRecord());
    EXPECT_EQ(items(), (QStringList{QStringLiteral("部長"), QStringLiteral("係長"), QStringLiteral("課長")}))
        << "the saved post moves to the top";
    EXPECT_EQ(f.cbxPost->currentIndex(), 0);
    EXPECT_EQ(field(1, "Post"), QStringLiteral("部長"));
}

TEST_F(SenderFormTest, ClosingSavesAndChoosingHandsBackTheSender)
{
    addTitled(1, "自宅");
    addTitled(2, "会社");
    TSenderForm& f = open(1);
    f.edName->setText(QStringLiteral("山田太郎"));
    f.edNote[0]->setText(QStringLiteral("様"));
    f.btnClose->click();
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(messages.count(), 0) << "saved without asking";
    ASSERT_TRUE(table().locate({QStringLiteral("RecNo")}, {1}));
    EXPECT_EQ(HexTextToWide(table().fieldByName(QStringLiteral("Name")).asAnsi()), QStringLiteral("山田太郎"));
    EXPECT_EQ(field(1, "Note1"), QStringLiteral("様"));

    ModalDriver driver;
    driver.on("SenderForm", [](QWidget* w) {
        auto* editor = static_cast<TSenderForm*>(w);
        EXPECT_EQ(editor->SenderNo, 1) << "a missing sender shows the default";
        editor->sbtnMoveClick(3);
        editor->ckbDefault->click();
        editor->btnChoice->click();
    });
    qint32 senderNo = 99;
    EXPECT_TRUE(ExecuteSenderForm(nullptr, senderNo));
    EXPECT_EQ(senderNo, 2);
    EXPECT_EQ(iniValue("Default"), 2);
}

TEST_F(SenderFormTest, ByteFieldsStopAtTheirBytes)
{
    addTitled(1, "自宅");
    TSenderForm& f = open(1);
    // Thirty double-byte characters would be 60 bytes in a 30-byte field.
    f.edTitle->setText(QString(30, QChar(0x3042)));
    EXPECT_EQ(f.edTitle->text(), QString(15, QChar(0x3042)));
    f.edNote[0]->setText(QString(11, QChar(0x6A58)));
    EXPECT_EQ(f.edNote[0]->text(), QString(10, QChar(0x6A58)));
    f.edTdfkn->setText(QStringLiteral("神奈川県X"));
    EXPECT_EQ(f.edTdfkn->text(), QStringLiteral("神奈川県"));
    ASSERT_TRUE(f.SaveRecord());
    EXPECT_EQ(field(1, "Title"), QString(15, QChar(0x3042)));
}

TEST_F(SenderFormTest, JointNamesLookUpGivenNamesAndThePopupFollows)
{
    addTitled(1, "自宅");
    TSenderForm& f = open(1);
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    TTntNMDEdit* edit = f.edJoint[1];
    edit->setFocus();
    TestIme::Preedit(edit, QStringLiteral("ひ"));
    TestIme::Preedit(edit, QStringLiteral("ひろ"));
    QCoreApplication::sendPostedEvents();
    QPointer<TTntNameDic> popup = NameDicPopup;
    ASSERT_TRUE(popup) << "the program folder's name dictionary knows ひろ";
    EXPECT_EQ(popup->parentWidget(), &f);
    EXPECT_EQ(popup->Tag(), 2);
    EXPECT_EQ(popup->NameKind(), nkFirst);
    f.move(f.pos() + QPoint(30, 20));
    QApplication::processEvents();
    EXPECT_EQ(popup->pos(), edit->mapToGlobal(QPoint(0, edit->height())));
    const QString word = popup->Grid().Cell(1, 0);
    ASSERT_FALSE(word.isEmpty());
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(edit->text(), word);
    EXPECT_TRUE(popup.isNull());
    EXPECT_TRUE(f.Modified());
}
