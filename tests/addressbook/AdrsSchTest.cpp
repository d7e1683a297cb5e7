// The narrowing dialog: building conditions, the condition list, the views, and the "Search.ptn" patterns.
#include "addressbook/AdrsSch.h"
#include "addressbook/FakeAddressList.h"
#include "core/AppSub.h"
#include "core/CategoryNames.h"
#include "core/MainSettings.h"
#include "platform/IniFile.h"
#include "support/MessageRecorder.h"
#include "support/NarrowDownItems.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The three patterns of the golden files, in the order they are saved.
TSearchPattern PatternA()
{
    return {A("顧客A"), {{TextItem(1, "0312345678", 0), ValueItem(34, 12, 1203, 0, true)}, true}};
}
TSearchPattern PatternRange()
{
    return {"range", {{ValueItem(4, 11, 200103, 201005), ValueItem(33, 1, 5), TextItem(32, "", -1)}, false}};
}
TSearchPattern PatternRangeUpper()
{
    return {"Range", {{ValueItem(9, 1, 1)}, true}};
}

QString Golden(const char* name)
{
    return QStringLiteral(TOVAREL_TEST_DATA_DIR "addressbook/") + QLatin1String(name);
}

class AdrsSchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        DataFolder = m_dir.path() + "/data/";
        DataRootFolder = m_dir.path() + "/";
        QDir().mkpath(DataFolder);
        ParseCategoryNames(A("1,1,農業,米作\r\n1,2,農業,果樹\r\n12,3,小売業,書店\r\n"));
    }
    void TearDown() override { ParseCategoryNames(QByteArray()); }
    QString PatternFile() const { return DataFolder + "Search.ptn"; }

    template <class W> W* Child(QWidget& dialog, const char* name)
    {
        W* widget = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QTemporaryDir m_dir;
    FakeAddressList m_list;
};

TEST_F(AdrsSchTest, PatternFileMatchesGoldenAfterSaveAndDelete)
{
    MessageRecorder messages;
    TSearchPatternStore store(PatternFile());
    for (const TSearchPattern& p : {PatternA(), PatternRange(), PatternRangeUpper()})
        ASSERT_TRUE(store.Save(p.name, p.condition, nullptr));
    EXPECT_EQ(ReadFileBytes(PatternFile()), ReadFileBytes(Golden("Search3.ptn")));

    // Saving under an existing name replaces its conditions in place; names differing in case stay apart.
    ASSERT_TRUE(store.Save(" range ", PatternRange().condition, nullptr));
    EXPECT_EQ(store.Patterns().size(), 3);
    EXPECT_EQ(ReadFileBytes(PatternFile()), ReadFileBytes(Golden("Search3.ptn")));

    ASSERT_TRUE(store.Remove("range", nullptr));
    EXPECT_EQ(ReadFileBytes(PatternFile()), ReadFileBytes(Golden("Search2.ptn")));

    TSearchPatternStore reread(PatternFile());
    reread.Load();
    EXPECT_EQ(reread.Patterns(), (QList<TSearchPattern>{PatternA(), PatternRangeUpper()}));

    // Deleting the last pattern removes the file; saving into the empty list creates it again.
    ASSERT_TRUE(store.Remove(A("顧客A"), nullptr));
    ASSERT_TRUE(store.Remove("Range", nullptr));
    EXPECT_FALSE(QFile::exists(PatternFile()));
    ASSERT_TRUE(store.Save("Range", PatternRangeUpper().condition, nullptr));
    EXPECT_TRUE(QFile::exists(PatternFile()));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(AdrsSchTest, DamagedPatternFileKeepsThePatternsBeforeTheDamage)
{
    const QByteArray golden = ReadFileBytes(Golden("Search3.ptn"));
    const QList<TSearchPattern> all = DecodeSearchPatterns(golden);
    ASSERT_EQ(all.size(), 3);
    // Every cut of the file loads a prefix of its patterns, never more than the whole ones before the cut.
    const qsizetype firstEnd = 1 + EncodeSearchPatterns({PatternA()})->size() - 1;
    for (qsizetype cut = 0; cut < golden.size(); ++cut) {
        SCOPED_TRACE(cut);
        const QList<TSearchPattern> loaded = DecodeSearchPatterns(golden.left(cut));
        EXPECT_EQ(loaded, all.mid(0, loaded.size()));
        EXPECT_LT(loaded.size(), 3);
        if (cut < firstEnd) {
            EXPECT_TRUE(loaded.isEmpty());
        }
    }

    struct Case
    {
        const char* name;
        std::function<void(QByteArray&)> damage;
        int expected;
    } cases[] = {
        {"text length beyond the data", [](QByteArray& b) { b[10] = char(0x7F); }, 0},
        {"negative text length", [](QByteArray& b) { b[13] = char(0x80); }, 0},
        {"name length beyond the data", [](QByteArray& b) { b[0x23] = char(0xF0); }, 1},
        {"count beyond the blocks", [](QByteArray& b) { b[0] = char(4); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = golden;
        c.damage(bytes);
        const QList<TSearchPattern> loaded = DecodeSearchPatterns(bytes);
        EXPECT_EQ(loaded, all.mid(0, c.expected));
    }

    // A condition byte 0xFF reads back as "no condition", not 255.
    EXPECT_EQ(all[0].condition.items[1].condition, -1);
    EXPECT_TRUE(all[0].condition.items[1].negate);
}

// A pattern holding an item this program cannot evaluate is no damage: it loads, and saving another
// pattern writes it back unchanged instead of dropping it and the patterns after it.
TEST_F(AdrsSchTest, PatternsWithUnknownItemsSurviveARewrite)
{
    QByteArray bytes = ReadFileBytes(Golden("Search3.ptn"));
    bytes[8] = char(35); // the first item of the first pattern: beyond the item table
    WriteFileBytes(PatternFile(), bytes + "trailing");
    TSearchPatternStore store(PatternFile());
    store.Load();
    ASSERT_EQ(store.Patterns().size(), 3);
    EXPECT_EQ(store.Patterns()[0].condition.items[0].item, 35);

    MessageRecorder messages;
    const TSearchPattern added{"new", {{ValueItem(9, 1, 0)}, true}};
    ASSERT_TRUE(store.Save(added.name, added.condition, nullptr));
    const QByteArray rewritten = ReadFileBytes(PatternFile());
    EXPECT_EQ(rewritten.mid(1, bytes.size() - 1), bytes.mid(1))
        << "the old patterns are written back as read";
    TSearchPatternStore reread(PatternFile());
    reread.Load();
    EXPECT_EQ(reread.Patterns(), store.Patterns());
    EXPECT_EQ(reread.Patterns().size(), 4);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(AdrsSchTest, A256thPatternIsRefusedAndTheFileKeepsItsCount)
{
    MessageRecorder messages;
    TSearchPatternStore store(PatternFile());
    for (int i = 0; i < MaxSearchPatterns; ++i)
        ASSERT_TRUE(store.Save("P" + QByteArray::number(i), PatternRangeUpper().condition, nullptr));
    const QByteArray full = ReadFileBytes(PatternFile());
    EXPECT_EQ(quint8(full[0]), 255);

    messages.answer(MsgSeam::IdOk);
    EXPECT_FALSE(store.Save("one too many", PatternA().condition, nullptr));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("パターンが保存できませんでした  "));
    EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop));
    EXPECT_EQ(store.Patterns().size(), 255);
    EXPECT_EQ(ReadFileBytes(PatternFile()), full);

    // Replacing one of the 255 still works.
    EXPECT_TRUE(store.Save("P7", PatternA().condition, nullptr));
    TSearchPatternStore reread(PatternFile());
    reread.Load();
    ASSERT_EQ(reread.Patterns().size(), 255);
    EXPECT_EQ(reread.Patterns()[7].condition, PatternA().condition);
}

TEST_F(AdrsSchTest, FailedWriteTellsTheUserAndKeepsTheChangeInMemory)
{
    MessageRecorder messages;
    // A folder in the file's place cannot be replaced by a file.
    ASSERT_TRUE(QDir().mkpath(PatternFile()));
    TSearchPatternStore store(PatternFile());
    messages.answer(MsgSeam::IdOk);
    EXPECT_FALSE(store.Save("range", PatternRange().condition, nullptr));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("パターンが保存できませんでした  "));
    EXPECT_EQ(store.Patterns().size(), 1);
    EXPECT_TRUE(QFileInfo(PatternFile()).isDir());
}

TEST_F(AdrsSchTest, PanelBuildsConditions)
{
    struct Case
    {
        const char* name;
        TNarrowDownPanelInput input;
        TNarrowDownItem expected;
        const char* content;
        const char* condition;
    } cases[] = {
        {"phone without hyphens",
         {.row = 1, .text = "03-1234-5678", .conditionIndex = 1},
         TextItem(1, "0312345678", 1),
         "0312345678",
         "あいまい"},
        {"postal code without hyphens",
         {.row = 7, .text = "100-0001"},
         TextItem(7, "1000001", 0),
         "1000001",
         "前方一致"},
        {"customer code keeps hyphens",
         {.row = 0, .text = "03-1234", .conditionIndex = 2},
         TextItem(0, "03-1234", 2),
         "03-1234",
         "後方一致"},
        {"empty text", {.row = 11, .text = "", .conditionIndex = 2}, TextItem(11, "", -1), "＜空白＞", ""},
        {"text is not trimmed",
         {.row = 11, .text = " 商事 "},
         TextItem(11, A(" 商事 "), 0),
         " 商事 ",
         "前方一致"},
        {"Unicode name",
         {.row = 15, .text = QString::fromUtf8("髙橋")},
         TextItem(15, WideToHexText("髙橋"), 0),
         "髙橋",
         "前方一致"},
        {"range upside down",
         {.row = 4, .fromYear = 2010, .fromMonth = 5, .toYear = 2001, .toMonth = 3, .conditionShown = false},
         ValueItem(4, 11, 200103, 201005),
         "2001年03月～2010年05月",
         ""},
        {"choice with NOT",
         {.row = 33, .choice = 5, .conditionShown = false, .notShown = true, .notChecked = true},
         ValueItem(33, 1, 5, 0, true),
         "★",
         "以外"},
        {"category without minor",
         {.row = 34, .categoryCode = 1200, .conditionShown = false, .notShown = true},
         ValueItem(34, 12, 1200),
         "小売業",
         ""},
        {"category with minor",
         {.row = 34, .categoryCode = 1203, .conditionShown = false, .notShown = true},
         ValueItem(34, 12, 1203),
         "小売業-書店",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TNarrowDownItem item = BuildNarrowDownItem(c.input);
        EXPECT_EQ(item, c.expected);
        const TNarrowDownRowTexts texts = NarrowDownRowTexts(item, m_list);
        EXPECT_EQ(texts.name, QString::fromUtf8(NarrowDownItemTable[c.input.row].caption));
        EXPECT_EQ(texts.content, QString::fromUtf8(c.content));
        EXPECT_EQ(texts.condition, QString::fromUtf8(c.condition));
    }
}

TEST_F(AdrsSchTest, ConditionListRefusesDuplicatesAndHoldsTen)
{
    MessageRecorder messages;
    TAddressSearch dialog(nullptr, m_list);
    auto* item = Child<QComboBox>(dialog, "cbxItem");
    auto* text = Child<QLineEdit>(dialog, "edtText");
    auto* add = Child<QPushButton>(dialog, "btnListAdd");
    auto* update = Child<QPushButton>(dialog, "btnListUpdate");
    auto* remove = Child<QPushButton>(dialog, "btnListDelete");
    auto* clear = Child<QPushButton>(dialog, "btnListClear");
    auto* save = Child<QPushButton>(dialog, "btnPatternSave");
    auto* list = Child<QTreeWidget>(dialog, "lvCondition");

    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(clear->isEnabled());
    item->setCurrentIndex(0);
    text->setText("K1");
    add->click();
    add->click(); // the same condition again: silently refused
    ASSERT_EQ(dialog.ConditionList().size(), 1);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(update->isEnabled());
    EXPECT_TRUE(list->topLevelItem(0)->isSelected());

    for (int i = 2; i <= 10; ++i) {
        text->setText("K" + QString::number(i));
        add->click();
    }
    ASSERT_EQ(dialog.ConditionList().size(), 10);
    EXPECT_FALSE(add->isEnabled());
    text->setText("K11");
    add->click();
    EXPECT_EQ(dialog.ConditionList().size(), 10);

    // Changing a row to a condition already listed is refused too.
    list->clearSelection();
    list->topLevelItem(3)->setSelected(true);
    text->setText("K1");
    update->click();
    EXPECT_EQ(dialog.ConditionList()[3].text, "K4");
    text->setText("K44");
    update->click();
    EXPECT_EQ(dialog.ConditionList()[3].text, "K44");
    EXPECT_EQ(list->topLevelItem(3)->text(1), "K44");

    // Deleting rows 8 and 9 selects the row now at 8; "追加" comes back.
    list->clearSelection();
    list->topLevelItem(8)->setSelected(true);
    list->topLevelItem(9)->setSelected(true);
    EXPECT_FALSE(update->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
    remove->click();
    ASSERT_EQ(dialog.ConditionList().size(), 8);
    EXPECT_TRUE(add->isEnabled());
    EXPECT_TRUE(list->topLevelItem(7)->isSelected());
    EXPECT_EQ(list->currentItem(), list->topLevelItem(7));

    clear->click();
    EXPECT_TRUE(dialog.ConditionList().isEmpty());
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(AdrsSchTest, DoubleClickPutsARowBackIntoThePanel)
{
    TAddressSearch dialog(nullptr, m_list);
    TNarrowDownCondition condition{{ValueItem(4, 11, 200103, 201005), ValueItem(34, 12, 1203, 0, true),
                                    TextItem(15, WideToHexText(QString::fromUtf8("髙橋")), 2)},
                                   false};
    dialog.SetCondition(condition);
    EXPECT_EQ(dialog.PanelCondition(), condition.items[0]);
    auto* list = Child<QTreeWidget>(dialog, "lvCondition");
    for (int row = 1; row < 3; ++row) {
        SCOPED_TRACE(row);
        list->clearSelection();
        list->topLevelItem(row)->setSelected(true);
        emit list->itemDoubleClicked(list->topLevelItem(row), 0);
        EXPECT_EQ(dialog.PanelCondition(), condition.items[row]);
    }
    EXPECT_EQ(list->topLevelItem(2)->text(1), QString::fromUtf8("髙橋"));
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rbtnOr")->isChecked());
    TNarrowDownCondition back;
    dialog.GetCondition(back);
    EXPECT_EQ(back, condition);
}

TEST_F(AdrsSchTest, SimpleViewNarrowsByThePanelAlone)
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger("ADRS SCH", "ViewType", 0);
    ASSERT_TRUE(ini.UpdateFile());

    TNarrowDownCondition condition{{TextItem(0, "A", 0), TextItem(11, "B", 1), TextItem(32, "C", 2)}, false};
    {
        TAddressSearch dialog(nullptr, m_list);
        dialog.SetCondition(condition);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("絞り込み"));
        EXPECT_TRUE(Child<QWidget>(dialog, "pnlCondition")->isHidden());
        EXPECT_TRUE(Child<QPushButton>(dialog, "btnRelease")->isEnabled());
        const int result = RunModal(dialog, [&](QDialog& d) {
            Child<QLineEdit>(d, "edtText")->setText("");
            Child<QPushButton>(d, "btnSearch")->click();
        });
        EXPECT_EQ(result, QDialog::Accepted);
        TNarrowDownCondition back;
        dialog.GetCondition(back);
        // The panel's one condition (an empty text on the first item) is the whole condition.
        EXPECT_EQ(back.items, QList<TNarrowDownItem>{TextItem(0, "", -1)});
        EXPECT_FALSE(back.andFlag);
    }

    // Switching to the advanced view is kept in the settings file for the next time.
    {
        TAddressSearch dialog(nullptr, m_list);
        Child<QPushButton>(dialog, "btnSwitchView")->click();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("絞り込み - 高度な設定"));
        EXPECT_EQ(Child<QPushButton>(dialog, "btnSwitchView")->text(),
                  QStringLiteral("通常の設定方法に戻す"));
        EXPECT_EQ(dialog.HelpTopic(), 48);
    }
    EXPECT_EQ(TMemIniFile(DataRootFolder + MainSettingsFileName).ReadInteger("ADRS SCH", "ViewType", -1), 1);
    {
        TAddressSearch dialog(nullptr, m_list);
        EXPECT_EQ(dialog.ViewType(), 1);
        EXPECT_FALSE(Child<QWidget>(dialog, "pnlCondition")->isHidden());
        dialog.SetCondition(condition);
        const int result = RunModal(dialog, [&](QDialog& d) { Child<QPushButton>(d, "btnSearch")->click(); });
        EXPECT_EQ(result, QDialog::Accepted);
        TNarrowDownCondition back;
        dialog.GetCondition(back);
        EXPECT_EQ(back, condition);

        const int released =
            RunModal(dialog, [&](QDialog& d) { Child<QPushButton>(d, "btnRelease")->click(); });
        EXPECT_EQ(released, QDialog::Accepted);
        dialog.GetCondition(back);
        EXPECT_TRUE(back.items.isEmpty());
    }
}

TEST_F(AdrsSchTest, CommandHandsTheConditionInAndTakesItBackOnOk)
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger("ADRS SCH", "ViewType", 1);
    ASSERT_TRUE(ini.UpdateFile());
    TNarrowDownCondition condition{{TextItem(0, "A", 0), TextItem(11, "B", 1)}, true};
    {
        ModalDriver cancel;
        cancel.on("AddressSearch", [](QWidget* d) {
            d->findChild<QPushButton*>("btnListClear")->click();
            d->findChild<QPushButton*>("btnCancel")->click();
        });
        EXPECT_FALSE(ExecuteAddressSearch(nullptr, m_list, condition));
        EXPECT_EQ(cancel.handled(), 1);
        EXPECT_EQ(condition.items.size(), 2);
    }
    ModalDriver ok;
    ok.on("AddressSearch", [](QWidget* d) {
        d->findChild<QRadioButton*>("rbtnOr")->setChecked(true);
        auto* list = d->findChild<QTreeWidget*>("lvCondition");
        list->topLevelItem(0)->setSelected(true);
        d->findChild<QPushButton*>("btnListDelete")->click();
        d->findChild<QPushButton*>("btnSearch")->click();
    });
    EXPECT_TRUE(ExecuteAddressSearch(nullptr, m_list, condition));
    EXPECT_EQ(condition, (TNarrowDownCondition{{TextItem(11, "B", 1)}, false}));
}

TEST_F(AdrsSchTest, PatternButtonsSaveShowAndDelete)
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger("ADRS SCH", "ViewType", 1);
    ASSERT_TRUE(ini.UpdateFile());
    MessageRecorder messages;
    TAddressSearch dialog(nullptr, m_list);
    auto* pattern = Child<QComboBox>(dialog, "cbxPattern");
    auto* view = Child<QPushButton>(dialog, "btnPatternView");
    auto* save = Child<QPushButton>(dialog, "btnPatternSave");
    auto* remove = Child<QPushButton>(dialog, "btnPatternDelete");
    EXPECT_FALSE(view->isEnabled());
    EXPECT_FALSE(remove->isEnabled());

    dialog.SetCondition(PatternRange().condition);
    EXPECT_TRUE(save->isEnabled());
    pattern->setEditText("   ");
    messages.answer(MsgSeam::IdOk);
    save->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("保存するにはパターン名を入力してください  "));
    EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconInformation));

    pattern->setEditText(" range ");
    save->click();
    EXPECT_EQ(ReadFileBytes(PatternFile()), EncodeSearchPatterns({PatternRange()}).value());
    EXPECT_TRUE(view->isEnabled());
    EXPECT_EQ(pattern->currentIndex(), -1); // the typed text keeps its blanks; the name does not
    EXPECT_EQ(pattern->itemText(0), "range");

    // Showing a pattern replaces the list and the AND/OR choice.
    dialog.SetCondition(TNarrowDownCondition{{TextItem(0, "X", 0)}, true});
    pattern->setEditText("Range");
    messages.answer(MsgSeam::IdOk);
    view->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("指定したパターン名は保存されていません  "));
    pattern->setEditText("range");
    view->click();
    TNarrowDownCondition shown;
    dialog.GetCondition(shown);
    EXPECT_EQ(shown, PatternRange().condition);

    // Deleting asks first; No keeps it, Yes deletes it and with it the file.
    messages.answer(MsgSeam::IdNo);
    remove->click();
    EXPECT_EQ(messages.last().text,
              QStringLiteral("選択しているパターンを削除します  \r\nよろしいですか？  "));
    EXPECT_TRUE(QFile::exists(PatternFile()));
    messages.answer(MsgSeam::IdYes);
    remove->click();
    EXPECT_FALSE(QFile::exists(PatternFile()));
    EXPECT_FALSE(view->isEnabled());
    EXPECT_EQ(messages.pendingAnswers(), 0);

    // Cancel hands nothing back, but saved patterns stay saved.
    pattern->setEditText("kept");
    save->click();
    EXPECT_EQ(RunModal(dialog, [&](QDialog& d) { Child<QPushButton>(d, "btnCancel")->click(); }),
              QDialog::Rejected);
    TSearchPatternStore reread(PatternFile());
    reread.Load();
    EXPECT_EQ(reread.Names(), QStringList{"kept"});
}

TEST_F(AdrsSchTest, ItemPanelFollowsTheChosenItem)
{
    m_list.keywordNames = QStringList{"K1", "K2", "K3", "K4", "K5", QString::fromUtf8("趣味")};
    m_list.histories.insert(29, {A("釣り"), A("囲碁")});
    TAddressSearch dialog(nullptr, m_list);
    auto* item = Child<QComboBox>(dialog, "cbxItem");
    EXPECT_EQ(item->count(), 35);
    EXPECT_EQ(item->itemText(29), QString::fromUtf8("趣味"));
    struct Case
    {
        int row;
        const char* shown;
        bool condition;
        bool notBox;
    } cases[] = {
        {0, "edtText", true, false},   {15, "edtWideText", true, false}, {29, "cbxHistory", true, false},
        {9, "cbxChoice", false, true}, {4, "pnlRange", false, false},    {34, "cbxMajor", false, true},
    };
    const char* contentNames[] = {"edtText",   "edtWideText", "cbxHistory",
                                  "cbxChoice", "pnlRange",    "cbxMajor"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        item->setCurrentIndex(c.row);
        for (const char* name : contentNames)
            EXPECT_EQ(Child<QWidget>(dialog, name)->isHidden(), strcmp(name, c.shown) != 0) << name;
        EXPECT_EQ(Child<QWidget>(dialog, "cbxCondition")->isHidden(), !c.condition);
        EXPECT_EQ(Child<QWidget>(dialog, "chkNot")->isHidden(), !c.notBox);
        EXPECT_EQ(Child<QWidget>(dialog, "lblCondition")->isHidden(), c.row == 4);
    }
    item->setCurrentIndex(29);
    EXPECT_EQ(Child<QComboBox>(dialog, "cbxHistory")->count(), 2);
    EXPECT_EQ(Child<QComboBox>(dialog, "cbxHistory")->itemText(1), QString::fromUtf8("囲碁"));

    item->setCurrentIndex(34);
    auto* major = Child<QComboBox>(dialog, "cbxMajor");
    auto* minor = Child<QComboBox>(dialog, "cbxMinor");
    EXPECT_EQ(major->currentData().toInt(), 1);
    EXPECT_EQ(minor->count(), 3);
    EXPECT_EQ(minor->itemData(0).toInt(), 100);
    major->setCurrentIndex(1);
    EXPECT_EQ(minor->count(), 2);
    EXPECT_EQ(minor->itemData(1).toInt(), 1203);

    // The range combos offer 2016 down to 1995, preset to the widest range.
    item->setCurrentIndex(4);
    auto* fromYear = Child<QComboBox>(dialog, "cbxFromYear");
    EXPECT_EQ(fromYear->count(), 22);
    EXPECT_EQ(fromYear->itemText(0), QString::fromUtf8("2016年"));
    EXPECT_EQ(dialog.PanelCondition(), ValueItem(4, 11, 199501, 201612));
}

TEST_F(AdrsSchTest, EnterMovesTheFocusOn)
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger("ADRS SCH", "ViewType", 0);
    ASSERT_TRUE(ini.UpdateFile());
    TAddressSearch dialog(nullptr, m_list);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    auto* item = Child<QComboBox>(dialog, "cbxItem");
    auto* text = Child<QLineEdit>(dialog, "edtText");
    text->setText("abc");
    item->setFocus();
    QTest::keyClick(item, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), text);
    EXPECT_EQ(text->cursorPosition(), 3);
    QTest::keyClick(text, Qt::Key_Return);
    auto* condition = Child<QComboBox>(dialog, "cbxCondition");
    EXPECT_EQ(QApplication::focusWidget(), condition);
    // In the simple view the condition goes straight to "絞り込む".
    QTest::keyClick(condition, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Child<QPushButton>(dialog, "btnSearch"));
    EXPECT_TRUE(dialog.isVisible());

    Child<QPushButton>(dialog, "btnSwitchView")->click();
    QTest::keyClick(item, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(condition, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Child<QTreeWidget>(dialog, "lvCondition"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Child<QRadioButton>(dialog, "rbtnAnd"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Child<QPushButton>(dialog, "btnSearch"));
    auto* pattern = Child<QComboBox>(dialog, "cbxPattern");
    pattern->setFocus();
    QTest::keyClick(pattern, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), item);

    // The history drop-down of the department takes the text and passes Enter on.
    item->setCurrentIndex(12);
    QTest::keyClick(item, Qt::Key_Return);
    auto* history = Child<QComboBox>(dialog, "cbxHistory");
    EXPECT_EQ(QApplication::focusWidget(), history);
    QTest::keyClicks(history, "abc");
    QTest::keyClick(history, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), condition);
    EXPECT_EQ(dialog.PanelCondition(), TextItem(12, "abc", 0));
    dialog.hide();
}

// Saves a picture of the narrowing dialog in both views when TOVAREL_SCREENSHOT_DIR names a folder.
TEST_F(AdrsSchTest, Screenshot)
{
    const QString folder = qEnvironmentVariable("TOVAREL_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "TOVAREL_SCREENSHOT_DIR not set";
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger("ADRS SCH", "ViewType", 1);
    ASSERT_TRUE(ini.UpdateFile());
    TSearchPatternStore store(PatternFile());
    ASSERT_TRUE(store.Save(A("顧客A"), PatternA().condition, nullptr));
    TAddressSearch dialog(nullptr, m_list);
    dialog.SetCondition(PatternRange().condition);
    Child<QComboBox>(dialog, "cbxPattern")->setEditText(QString::fromUtf8("顧客A"));
    dialog.show();
    EXPECT_TRUE(dialog.grab().save(QDir(folder).filePath("AdrsSch-advanced.png")));
    Child<QPushButton>(dialog, "btnSwitchView")->click();
    EXPECT_TRUE(dialog.grab().save(QDir(folder).filePath("AdrsSch-simple.png")));
}

} // namespace
