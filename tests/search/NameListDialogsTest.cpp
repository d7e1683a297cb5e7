// Tests of the search-name list over Category.DB and of the included and excluded names dialogs over the
// shipped Target.DB and Exception.DB and an own Original.DB.
#include "search/CtgryLst.h"
#include "search/OrgEdit.h"
#include "search/TgtExcpt.h"

#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "platform/TableEngine.h"
#include "search/DicFixture.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

class NameListDialogsTest : public DicTest
{
protected:
    void SetUp() override
    {
        m_saved = {CategoryFolder, OtherFolder};
        CategoryFolder = TempFolder() + QStringLiteral("Category/");
        OtherFolder = TempFolder() + QStringLiteral("Other/");
        QDir().mkpath(CategoryFolder);
        QDir().mkpath(OtherFolder);
        for (const char* table : {"Target.DB", "Exception.DB"})
            ASSERT_TRUE(
                QFile::copy(DicLibraryFolder + QStringLiteral("Category/") + QString::fromLatin1(table),
                            CategoryFolder + QString::fromLatin1(table)));
        DMQuenrid215 = new TDMQuenrid215;
        DMQuenrid215->CreateCategoryTables();
        for (auto open : {&TDMQuenrid215::OpenCategory, &TDMQuenrid215::OpenTarget,
                          &TDMQuenrid215::OpenException, &TDMQuenrid215::OpenOriginal})
            ASSERT_TRUE((DMQuenrid215->*open)());
    }
    void TearDown() override
    {
        delete DMQuenrid215;
        DMQuenrid215 = nullptr;
        CategoryFolder = m_saved[0];
        OtherFolder = m_saved[1];
        DicTest::TearDown();
    }

    // Appends a Category.DB row; chosen: minutes after a fixed time, -1 never.
    static void AddCategory(int recNo, const QString& kana, const QString& kanji, int chosen = -1,
                            bool original = false)
    {
        Table* t = DMQuenrid215->CategoryTable();
        t->append();
        t->fieldByName("RecNo").setInteger(recNo);
        t->fieldByName("Kana").setString(kana);
        t->fieldByName("Kanji").setString(kanji);
        t->fieldByName("Original").setBoolean(original);
        if (chosen >= 0)
            t->fieldByName("AxsDateTime")
                .setDateTime(QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(chosen * 60));
        t->post();
    }
    static QStringList Names(const TCategoryList& list)
    {
        QStringList out;
        for (int r = 0; r < list.RowCount(); ++r)
            out << list.RowName(r);
        return out;
    }
    static QStringList Names(QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    MessageRecorder messages;
    QStringList m_saved;
};

} // namespace

TEST_F(NameListDialogsTest, HistoryShowsTheTwentyNewestAndOlderOnesComeBack)
{
    for (int i = 0; i < 25; ++i)
        AddCategory(i, QStringLiteral("ｱ%1").arg(i), QStringLiteral("名%1").arg(i), i);
    TCategoryList list(nullptr);
    list.SelectIndex(TCategoryList::IndexHistory);
    ASSERT_EQ(list.RowCount(), 20);
    EXPECT_EQ(list.RowName(0), "名24");
    EXPECT_EQ(list.RowName(19), "名5");
    list.SelectRows({0, 1});
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    list.btnDeleteClick();
    EXPECT_EQ(messages.messages()[0].text, "2件のデータを「履歴」欄から削除します\r\nよろしいですか？  ");
    EXPECT_EQ(messages.last().text, "2件のデータを削除しました  ");
    ASSERT_EQ(list.RowCount(), 20);
    EXPECT_EQ(list.RowName(0), "名22");
    EXPECT_EQ(list.RowName(19), "名3");
    // The rows stay under their kana row.
    list.SelectIndex(0);
    EXPECT_EQ(list.RowCount(), 25);
}

TEST_F(NameListDialogsTest, KanaRowsHeadsAndRefusedReadings)
{
    AddCategory(0, QStringLiteral("ｶﾞｯｺｳ"), QStringLiteral("学校"));
    AddCategory(1, QStringLiteral("ｶﾞｸｼ"), QStringLiteral("学資"));
    AddCategory(2, QStringLiteral("ｱｲｳ"), QStringLiteral("甲"));
    AddCategory(3, QStringLiteral("ｱｲｴ"), QStringLiteral("乙"));
    AddCategory(4, QStringLiteral("ﾝｰ"), QStringLiteral("丙"));
    AddCategory(5, QStringLiteral("ﾜｲﾝ"), QStringLiteral("ワイン"));
    TCategoryList list(nullptr);
    list.SelectIndex(0);
    EXPECT_EQ(Names(list), (QStringList{"甲", "乙"}));
    EXPECT_EQ(list.RowHead(0), "ｱｲ");
    EXPECT_EQ(list.RowHead(1), "") << "a head stands once above its group";
    list.SelectIndex(1);
    EXPECT_EQ(list.RowHead(0), "ｶﾞｯ");
    EXPECT_EQ(list.RowHead(1), "ｶﾞｸ");
    list.SelectIndex(9);
    EXPECT_EQ(Names(list), QStringList{"ワイン"}) << "ﾝ is under no kana row";

    list.SetEditPanelVisible(true);
    auto* kana = list.findChild<QLineEdit*>("edtKana");
    auto* kanji = list.findChild<QLineEdit*>("edtKanji");
    for (const QString& reading : {QStringLiteral("ﾝﾝ"), QStringLiteral("ｦｦ")}) {
        kana->setText(reading);
        kanji->setText(QStringLiteral("何か"));
        messages.answer(MsgSeam::IdOk);
        list.btnAddUpdClick(0);
        EXPECT_TRUE(messages.last().text.startsWith("カナの最初の１文字目は")) << reading.toStdString();
    }
    // The last row of the index again: a duplicate; another name for it is fine.
    kana->setText(QStringLiteral("ﾜｲﾝ"));
    kanji->setText(QStringLiteral("ワイン"));
    messages.answer(MsgSeam::IdOk);
    list.btnAddUpdClick(0);
    EXPECT_EQ(messages.last().text, "同じ内容が既に登録されています  ");
    kanji->setText(QStringLiteral("葡萄酒"));
    list.btnAddUpdClick(0);
    EXPECT_EQ(Names(list), (QStringList{"ワイン", "葡萄酒"}));
    EXPECT_EQ(list.GetSelectedName(), "葡萄酒") << "the written row is selected";
    EXPECT_EQ(DMQuenrid215->CategoryTable()->recordCount(), 7);
    // Changing it to the name of the other row of the same reading is a duplicate.
    kanji->setText(QStringLiteral("ワイン"));
    messages.answer(MsgSeam::IdOk);
    list.btnAddUpdClick(1);
    EXPECT_EQ(messages.last().text, "同じ内容が既に登録されています  ");
}

TEST_F(NameListDialogsTest, ChoosingOneRowMarksItUsed)
{
    AddCategory(0, QStringLiteral("ｱｲｳ"), QStringLiteral("甲"));
    AddCategory(1, QStringLiteral("ｱｲｴ"), QStringLiteral("乙"));
    {
        TCategoryList list(nullptr);
        list.SelectIndex(0);
        list.SelectRows({0, 1});
        messages.answer(MsgSeam::IdOk);
        list.btnSelectClick();
        EXPECT_EQ(messages.last().text, "決定するには１件だけ選択してください  ");
        EXPECT_EQ(list.result(), QDialog::Rejected);
        list.SelectRows({1});
        list.btnSelectClick();
        EXPECT_EQ(list.result(), QDialog::Accepted);
        EXPECT_EQ(list.GetSelectedName(), "乙");
    }
    TCategoryList again(nullptr);
    again.SelectIndex(TCategoryList::IndexHistory);
    EXPECT_EQ(Names(again), QStringList{"乙"});
}

TEST_F(NameListDialogsTest, NoMoreThanOneHundredThousandRows)
{
    Table* t = DMQuenrid215->CategoryTable();
    t->startTransaction();
    for (int i = 0; i < TCategoryList::MaxRows; ++i) {
        t->append();
        t->fieldByName("RecNo").setInteger(i);
        t->fieldByName("Kana").setAnsi("\xB1");
        t->fieldByName("Kanji").setAnsi(QByteArray::number(i));
        t->post();
    }
    t->commit();
    TCategoryList list(nullptr);
    list.findChild<QLineEdit*>("edtKana")->setText(QStringLiteral("ｲ"));
    list.findChild<QLineEdit*>("edtKanji")->setText(QStringLiteral("新"));
    messages.answer(MsgSeam::IdOk);
    list.btnAddUpdClick(0);
    EXPECT_EQ(messages.last().text, "最大登録件数10万件に達しました  \r\nこれ以上登録できません  ");
    EXPECT_EQ(t->recordCount(), TCategoryList::MaxRows);
}

TEST_F(NameListDialogsTest, MovesKeepTheShippedOrderAndTheSameNameTwiceBlocksStoring)
{
    TTargetException dialog(nullptr);
    dialog.SetSearchName(QStringLiteral("歯科"));
    dialog.LoadLists();
    const QStringList shipped = dialog.Names(TTargetException::TargetAdd);
    EXPECT_EQ(shipped, (QStringList{"歯科医院", "歯科クリニック", "デンタルクリニック", "デンタルオフィス"}));
    EXPECT_EQ(dialog.Names(TTargetException::TargetList), (QStringList{"矯正歯科", "小児歯科"}));

    // 歯科クリニック (key 1) goes back between the candidates by key, then returns between 0 and 2.
    dialog.List(TTargetException::TargetAdd)->setCurrentRow(1);
    dialog.MoveSelected(0, false);
    EXPECT_EQ(dialog.Names(TTargetException::TargetList),
              (QStringList{"矯正歯科", "小児歯科", "歯科クリニック"}));
    dialog.List(TTargetException::TargetList)->setCurrentRow(2);
    dialog.MoveSelected(0, true);
    EXPECT_EQ(dialog.Names(TTargetException::TargetAdd), shipped);
    // Keys count per list: every name applied, then all out and all in again gives the same order.
    dialog.MoveAll(0, true);
    const QStringList all = dialog.Names(TTargetException::TargetAdd);
    EXPECT_EQ(all, (QStringList{"歯科医院", "矯正歯科", "歯科クリニック", "小児歯科", "デンタルクリニック",
                                "デンタルオフィス"}));
    dialog.MoveAll(0, false);
    EXPECT_TRUE(dialog.Names(TTargetException::TargetAdd).isEmpty());
    EXPECT_FALSE(dialog.Button("bbtnTargetDelete")->isEnabled());
    dialog.MoveAll(0, true);
    EXPECT_EQ(dialog.Names(TTargetException::TargetAdd), all);

    // 歯科医院 in both applied lists: refused, nothing written.
    auto* same = new QListWidgetItem(QStringLiteral("歯科医院"), dialog.List(TTargetException::ExceptionAdd));
    same->setData(TTargetException::OrderKeyRole, 50);
    messages.answer(MsgSeam::IdOk);
    EXPECT_FALSE(dialog.SaveChoices());
    EXPECT_TRUE(messages.last().text.contains("同じ名称があります"));
    EXPECT_FALSE(dialog.Changed());
    delete same;
    EXPECT_TRUE(dialog.SaveChoices());
    EXPECT_TRUE(dialog.Changed());
    TTargetException reread(nullptr);
    reread.SetSearchName(QStringLiteral("歯科"));
    reread.LoadLists();
    EXPECT_EQ(reread.Names(TTargetException::TargetAdd).size(), 6) << "every candidate applied";
}

TEST_F(NameListDialogsTest, OwnNamesAreNumberedCutAndDeletedFromTheOpenDialog)
{
    TTargetException dialog(nullptr);
    dialog.SetSearchName(QStringLiteral("歯科"));
    dialog.LoadLists();
    {
        TOriginalEdit editor(&dialog, &dialog);
        editor.SetItemKind(1);
        editor.SetSearchName(QStringLiteral("歯科"));
        editor.LoadItems();
        // 59 ASCII bytes and a double-byte character at byte 60: 59 bytes stay.
        editor.SetItemText(QString(59, u'a') + QStringLiteral("亜b"));
        EXPECT_EQ(editor.findChild<QLineEdit*>("edtItem")->text(), QString(59, u'a'));
        for (const QString& name :
             {QStringLiteral("技工A"), QStringLiteral("技工B"), QStringLiteral("技工C")}) {
            editor.SetItemText(name);
            editor.btnAddClick();
        }
        EXPECT_EQ(editor.Items(), (QStringList{"技工A", "技工B", "技工C"}));
        for (const auto& [name, message] :
             {std::pair{QStringLiteral("歯科"), "検索名称自体を登録することはできません  "},
              std::pair{QStringLiteral("歯科技工所"), "既に同じ項目が除外項目に登録されています  "},
              std::pair{QStringLiteral("技工A"), "既に同じ項目が登録されています  "}}) {
            editor.SetItemText(name);
            messages.answer(MsgSeam::IdOk);
            editor.btnAddClick();
            EXPECT_EQ(messages.last().text, message);
        }
        EXPECT_EQ(DMQuenrid215->OriginalTable()->recordCount(), 3);
        EXPECT_TRUE(DMQuenrid215->OriginalTable()->locate({"Name"}, {ToAnsi(QStringLiteral("技工A"))}));
        EXPECT_EQ(DMQuenrid215->OriginalTable()->fieldByName("RecNo").asInteger(), 0) << "empty table: 0";
        EXPECT_TRUE(editor.Changed());
    }
    dialog.AddNewOwnItems(1);
    EXPECT_EQ(dialog.Names(TTargetException::ExceptionAdd).mid(2), (QStringList{"技工A", "技工B", "技工C"}));
    {
        TOriginalEdit editor(&dialog, &dialog);
        editor.SetItemKind(1);
        editor.SetSearchName(QStringLiteral("歯科"));
        editor.LoadItems();
        auto* list = editor.findChild<QListWidget*>("lbxList");
        list->item(0)->setSelected(true);
        list->item(2)->setSelected(true);
        messages.answer(MsgSeam::IdYes);
        editor.btnDeleteClick();
        EXPECT_EQ(messages.last().text, "2件の項目を削除します  \r\nよろしいですか？  ");
        EXPECT_EQ(editor.Items(), QStringList{"技工B"});
    }
    EXPECT_EQ(dialog.Names(TTargetException::ExceptionAdd).mid(2), QStringList{"技工B"});

    // Through the dialog's button: a change is reported even when the dialog is then cancelled.
    TTargetException fresh(nullptr);
    fresh.SetSearchName(QStringLiteral("歯科"));
    ModalDriver driver;
    driver.on("OriginalEdit", [](QWidget* w) {
        auto* editor = static_cast<TOriginalEdit*>(w);
        editor->SetItemText(QStringLiteral("技工D"));
        editor->btnAddClick();
        editor->reject();
    });
    driver.on("TargetException", [](QWidget* w) {
        static_cast<TTargetException*>(w)->Button("bbtnExceptionCreate")->click();
        static_cast<TTargetException*>(w)->reject();
    });
    fresh.exec();
    EXPECT_EQ(fresh.result(), QDialog::Rejected);
    EXPECT_TRUE(fresh.Changed());
    EXPECT_TRUE(fresh.Names(TTargetException::ExceptionAdd).contains("技工D"));
}
