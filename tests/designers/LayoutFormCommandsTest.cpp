// The address printing window's document, record and view commands: the recent-file menu, close, the
// paper change's question, record navigation and the record card, the details, the sender follow-up,
// window switching and hints.
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "designers/DesignerCommandStates.h"
#include "designers/PrintDataFile.h"
#include "layoutobjects/SenderForm.h"
#include "designers/LayoutForm.h"
#include "layoutobjects/NewLayout.h"
#include "layoutobjects/WordRect.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/XvfbShot.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What the window asked of the address list.
struct FakeList
{
    int count = 5;
    int first = 0;
    std::vector<int> selected;
    int inquiries = 0;
    int senderLists = 0;
    std::vector<std::pair<qint32, qint32>> senders;
    QWidget listWindow;
    QWidget* card = nullptr;

    TLayoutForm::TListLink Link()
    {
        TLayoutForm::TListLink link;
        link.RecordCount = [this] { return count; };
        link.FirstSelectedIndex = [this] { return first; };
        link.RecNo = [this](int index) { return index >= 0 && index < count ? qint32(100 + index) : -1; };
        link.SelectIndex = [this](int index) {
            selected.push_back(index);
            first = index;
        };
        link.Inquiry = [this] { ++inquiries; };
        link.LoadSenderList = [this] { ++senderLists; };
        link.SetRecordSender = [this](qint32 recNo, qint32 sender) { senders.emplace_back(recNo, sender); };
        link.ListWindow = [this] { return &listWindow; };
        link.CardWindow = [this] { return card; };
        return link;
    }
};

class LayoutFormCommandsTest : public ::testing::Test, protected TDesignerFolders
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FoldersMade());
        m_window = new TLayoutForm();
        m_window->SetListLink(m_list.Link());
    }
    void TearDown() override { delete m_window.data(); }
    // A saved postcard layout in the layout folder.
    QString SavedLayout(const QString& title)
    {
        TLayoutDocument document;
        document.PaperIndex = 0;
        EXPECT_TRUE(document.LoadPaperFormat());
        document.SetIndividualLayout(false, true);
        document.NewLayout();
        const QString path = LayoutFolder + title + QStringLiteral(".gpl");
        EXPECT_TRUE(document.SaveToFile(path));
        return path;
    }
    TLayoutForm& Window() { return *m_window; }
    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    QStringList RecentItems()
    {
        m_window->actRecentUpdate();
        QStringList items;
        for (QAction* a : m_window->Recent().Menu()->actions())
            items << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)"));
        return items;
    }
    std::vector<bool> MoveStates()
    {
        m_window->updateCommandActions();
        std::vector<bool> states;
        for (const char* name : {"actFirst", "actPrior", "actNext", "actLast"})
            states.push_back(Action(name)->isEnabled());
        return states;
    }

    FakeList m_list;
    QPointer<TLayoutForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(LayoutFormCommandsTest, TheFirstRecentItemIsTheOpenFile)
{
    const QString a = SavedLayout(QStringLiteral("a")), b = SavedLayout(QStringLiteral("b"));
    TLayoutForm& window = Window();
    EXPECT_FALSE(Action("actRecent")->isEnabled() && !window.RecentFiles().isEmpty());
    ASSERT_TRUE(window.LoadFromFile(b));
    ASSERT_TRUE(window.LoadFromFile(a));
    EXPECT_EQ(RecentItems(), (QStringList{QStringLiteral("&1 a"), QStringLiteral("&2 b")}));
    EXPECT_TRUE(Action("actRecent")->isEnabled());

    window.Document().Modified = true;
    window.Recent().Click(0);
    EXPECT_EQ(m_messages.count(), 0);
    EXPECT_EQ(window.Document().FileName, a);

    // The second item asks about the changes first; No, then Yes to dropping them, opens it.
    m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    window.Recent().Click(1);
    EXPECT_EQ(m_messages.count(), 2);
    EXPECT_EQ(window.Document().FileName, b);
    EXPECT_FALSE(window.Document().Modified);

    // Cancel keeps the layout.
    window.Document().Modified = true;
    m_messages.answer(MsgSeam::IdCancel);
    window.Recent().Click(1);
    EXPECT_EQ(window.Document().FileName, b);
    EXPECT_TRUE(window.Document().Modified);
}

TEST_F(LayoutFormCommandsTest, RecentItemsShowADuplicateOnceAndNoSixth)
{
    TLayoutForm& window = Window();
    for (const char* title : {"a", "b", "A", "c", "d", "e", "f"})
        ASSERT_TRUE(window.LoadFromFile(SavedLayout(QString::fromLatin1(title))));
    // "A" and "a" are one file name to the list; "e" disappears before the menu is built.
    QFile::remove(LayoutFolder + QStringLiteral("e.gpl"));
    EXPECT_EQ(RecentItems(),
              (QStringList{QStringLiteral("&1 f"), QStringLiteral("&2 e (off)"), QStringLiteral("&3 d"),
                           QStringLiteral("&4 c"), QStringLiteral("&5 A")}));
    EXPECT_EQ(window.RecentFiles().size(), 5);
    EXPECT_EQ(window.Recent().Menu()->actions().first()->statusTip(),
              QStringLiteral("最近開いた宛名レイアウトを開きます"));
}

TEST_F(LayoutFormCommandsTest, CloseEmptiesTheWindowAfterTheQuestion)
{
    TLayoutForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("closing"))));
    window.updateCommandActions();
    EXPECT_TRUE(Action("actClose")->isEnabled());
    window.Document().Modified = true;
    m_messages.answer(MsgSeam::IdCancel);
    Action("actClose")->trigger();
    EXPECT_TRUE(window.Document().DocumentOpen);

    m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    Action("actClose")->trigger();
    EXPECT_FALSE(window.Document().DocumentOpen);
    EXPECT_TRUE(window.Document().FileName.isEmpty());
    EXPECT_TRUE(window.Document().Stacking.empty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("宛名印刷"));
    EXPECT_FALSE(Action("actClose")->isEnabled());
    EXPECT_FALSE(Action("actDetail")->isEnabled());
}

TEST_F(LayoutFormCommandsTest, AWiderPaperAsksWhetherToScaleTheFreeFrames)
{
    TLayoutForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("wide"))));
    TLayoutDocument& d = window.Document();
    TDrawRect* text = d.AddFreeFrame(FreeText, std::make_unique<TWordRect>());
    text->SetDesignRect({100, 40, 200, 90});
    d.InsertIntoStacking(text, false);
    // The dialog chooses a postcard 1070 wide as another format.
    ModalDriver driver;
    driver.on(QStringLiteral("NewLayoutDialog"), [](QWidget* w) {
        auto* dialog = static_cast<TNewLayoutDialog*>(w);
        dialog->accept();
        dialog->Paper.Width = 1070;
        dialog->FormatIndex = 1;
    });
    m_messages.answer(MsgSeam::IdYes);
    window.actFormatExecute();
    ASSERT_EQ(m_messages.count(), 1);
    EXPECT_EQ(m_messages.last().text,
              QStringLiteral("配置されている枠を、新しい用紙にあわせて拡大/縮小しますか？　"));
    EXPECT_EQ(m_messages.last().flags, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion);
    EXPECT_EQ(text->GetDesignRect().left, 107);
    EXPECT_EQ(text->GetDesignRect().right, 214);
    EXPECT_EQ(d.Undo.Count(), 0);
    EXPECT_TRUE(d.Modified);
}

TEST_F(LayoutFormCommandsTest, NavigationFollowsTheListAndTheMode)
{
    TLayoutForm& window = Window();
    // No layout: nothing moves.
    EXPECT_EQ(MoveStates(), (std::vector<bool>{false, false, false, false}));
    ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("moves"))));
    ASSERT_EQ(window.Document().SenderDisplayMode, 0);
    struct Case
    {
        int count, first;
        std::vector<bool> states;
    } cases[] = {
        {5, 0, {false, false, true, true}},
        {5, 2, {true, true, true, true}},
        {5, 4, {true, true, false, false}},
        {1, 0, {false, false, false, false}},
        {0, -1, {false, false, false, false}},
        {5, -1, {false, false, true, true}}, // nothing selected: the start lies before the first
    };
    for (const Case& c : cases) {
        m_list.count = c.count;
        m_list.first = c.first;
        EXPECT_EQ(MoveStates(), c.states) << c.count << " " << c.first;
    }
    // The moves select their rows.
    m_list.count = 5;
    m_list.first = 2;
    MoveStates();
    for (const char* name : {"actPrior", "actNext", "actLast", "actFirst"})
        Action(name)->trigger();
    EXPECT_EQ(m_list.selected, (std::vector<int>{1, 2, 4, 0}));
    EXPECT_EQ(MoveStates(), (std::vector<bool>{false, false, true, true}));

    // The sender side alone merges no record.
    window.Document().SenderDisplayMode = 2;
    m_list.first = 2;
    EXPECT_EQ(MoveStates(), (std::vector<bool>{false, false, false, false}));
    EXPECT_FALSE(Action("actEditData")->isEnabled());
}

TEST_F(LayoutFormCommandsTest, TheRecordCardOpensOnTheSelectedRecord)
{
    TLayoutForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("card"))));
    m_list.first = 3;
    window.updateCommandActions();
    ASSERT_TRUE(Action("actEditData")->isEnabled());
    Action("actEditData")->trigger();
    EXPECT_EQ(m_list.selected, std::vector<int>{3});
    EXPECT_EQ(m_list.inquiries, 1);
}

TEST_F(LayoutFormCommandsTest, TheSenderChoiceGoesToTheCurrentRecord)
{
    TLayoutForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("sender"))));
    window.Document().SenderRecNo = 2;
    m_list.first = 1;
    window.SenderEditorClosed(2, 9); // cancelled
    EXPECT_EQ(m_list.senderLists, 1);
    EXPECT_TRUE(m_list.senders.empty());
    EXPECT_EQ(window.Document().SenderRecNo, 2);
    window.SenderEditorClosed(1, 2); // the same sender
    EXPECT_TRUE(m_list.senders.empty());
    window.SenderEditorClosed(1, 9);
    EXPECT_EQ(m_list.senderLists, 3);
    EXPECT_EQ(m_list.senders, (std::vector<std::pair<qint32, qint32>>{{101, 9}}));
    EXPECT_EQ(window.Document().SenderRecNo, 9);
}

TEST_F(LayoutFormCommandsTest, SenderEditorAndDataFormRunOnTheOpenLayout)
{
    TLayoutForm& window = Window();
    window.updateCommandActions();
    EXPECT_FALSE(Action("actSenderEdit")->isEnabled());
    EXPECT_FALSE(Action("actDataForm")->isEnabled());
    ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("forms"))));
    window.updateCommandActions();
    ASSERT_TRUE(Action("actSenderEdit")->isEnabled());
    ASSERT_TRUE(Action("actDataForm")->isEnabled());

    // Cancel keeps the settings; OK takes the dialog's choices.
    const QByteArray before = window.Document().Settings.Bytes();
    for (const char* button : {"btnCancel", "btnOK"}) {
        ModalDriver driver;
        driver.on("DataFormDialog", [button](QWidget* w) {
            w->findChild<QCheckBox*>(QStringLiteral("ckbChineseNumeral"))->click();
            w->findChild<QPushButton*>(QLatin1String(button))->click();
        });
        Action("actDataForm")->trigger();
    }
    EXPECT_NE(window.Document().Settings.Bytes(), before);
    EXPECT_EQ(window.Document().Settings.Byte(LayoutSettingsField::KanjiNumerals), 1);

    // On an empty sender table the editor makes "差出人1" the default, and the list's senders are reloaded.
    SetDataSubFolders();
    QDir().mkpath(HistoryFolder);
    QDir().mkpath(OtherFolder);
    TDMQuenrid215 dm;
    DMQuenrid215 = &dm;
    dm.DataModuleCreate();
    dm.InitDatabase();
    ASSERT_TRUE(dm.Connect());
    dm.CreateSenderTable();
    DefaultSenderNo = 0;
    {
        ModalDriver driver;
        driver.on("SenderForm", [](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("btnClose"))->click(); });
        Action("actSenderEdit")->trigger();
    }
    dm.Disconnect();
    DMQuenrid215 = nullptr;
    EXPECT_EQ(m_list.senderLists, 1);
    TMemIniFile ini(DataFolder + QStringLiteral("Sender.ini"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SENDER"), QStringLiteral("Default"), 0), 1);
    EXPECT_EQ(m_messages.count(), 0);
}

TEST_F(LayoutFormCommandsTest, ManualLayoutFromTheDetailsSwitchesToTheDetailedSet)
{
    TLayoutForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("detail"))));
    window.Document().Modified = false;
    {
        ModalDriver driver;
        driver.on(QStringLiteral("LayoutDetailDialog"), [](QWidget* w) {
            w->findChild<QCheckBox*>(QStringLiteral("ckbAuto"))->setChecked(false);
            w->findChild<QCheckBox*>(QStringLiteral("ckbCorp"))->setChecked(false);
            auto* pages = w->findChild<QTabWidget*>(QStringLiteral("pgcDetail"));
            for (int page = 0; page < pages->count(); ++page) {
                pages->setCurrentIndex(page);
                KeepXvfbScreen(QStringLiteral("layout-detail-%1.xwd").arg(page));
            }
            w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        Action("actDetail")->trigger();
    }
    TLayoutDocument& d = window.Document();
    EXPECT_TRUE(d.DetailedSet);
    EXPECT_TRUE(d.Modified);
    EXPECT_LT(d.StackingIndex(d.Detailed().Corp[0]), 0);
    EXPECT_GE(d.StackingIndex(d.Detailed().Address[1]), 0);
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("cbxViewRect"));
    EXPECT_GE(combo->findText(QStringLiteral("住所２")), 0);
    EXPECT_LT(combo->findText(QStringLiteral("会社")), 0);

    // Cancel changes nothing.
    d.Modified = false;
    ModalDriver driver;
    driver.on(QStringLiteral("LayoutDetailDialog"), [](QWidget* w) {
        w->findChild<QCheckBox*>(QStringLiteral("ckbAuto"))->setChecked(true);
        static_cast<QDialog*>(w)->reject();
    });
    Action("actDetail")->trigger();
    EXPECT_TRUE(d.DetailedSet);
    EXPECT_FALSE(d.Modified);
}

TEST_F(LayoutFormCommandsTest, F6AndF7BringTheAddressWindowsForward)
{
    TLayoutForm& window = Window();
    window.updateCommandActions();
    EXPECT_EQ(Action("actAdrsList")->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(Action("actAdrsView")->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_TRUE(Action("actAdrsList")->isEnabled());
    EXPECT_FALSE(Action("actAdrsView")->isEnabled());
    Action("actAdrsList")->trigger();
    EXPECT_TRUE(m_list.listWindow.isVisible());
    QWidget card;
    m_list.card = &card;
    window.updateCommandActions();
    ASSERT_TRUE(Action("actAdrsView")->isEnabled());
    Action("actAdrsView")->trigger();
    EXPECT_TRUE(card.isVisible());
}

TEST_F(LayoutFormCommandsTest, HintsGoToTheFirstStatusPanel)
{
    TLayoutForm& window = Window();
    ModalDriver driver;
    driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QApplication::activeModalWidget(); }));
    QCursor::setPos(window.frameGeometry().center());
    if (!window.frameGeometry().contains(QCursor::pos()))
        GTEST_SKIP() << "the platform keeps no cursor position";
    auto* panel = window.findChild<QLabel*>(QStringLiteral("stbarInfo"));
    QStatusTipEvent tip(QStringLiteral("短い|保存した宛名レイアウトを開きます"));
    QApplication::sendEvent(&window, &tip);
    EXPECT_EQ(panel->text(), QStringLiteral("保存した宛名レイアウトを開きます"));
    QStatusTipEvent blank(QStringLiteral("  "));
    QApplication::sendEvent(&window, &blank);
    EXPECT_TRUE(panel->text().isEmpty());
    // A menu item's tip comes from the menu bar that opened the menu.
    Action("actDetail")->showStatusText(window.menuBar());
    EXPECT_EQ(panel->text(), Action("actDetail")->statusTip());
}

TEST_F(LayoutFormCommandsTest, MenusCarryTheCommands)
{
    TLayoutForm& window = Window();
    ModalDriver driver;
    driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QApplication::activeModalWidget(); }));
    ASSERT_TRUE(window.LoadFromFile(SavedLayout(QStringLiteral("menus"))));
    auto texts = [&](const char* name) {
        QStringList list;
        auto* menu = window.findChild<QMenu*>(QString::fromLatin1(name));
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                list << a->text();
        return list;
    };
    const QStringList file = texts("mniFile");
    EXPECT_EQ(file.indexOf(QStringLiteral("最近開いたファイル(&R)")),
              file.indexOf(QStringLiteral("開く(&O)...")) + 1);
    EXPECT_EQ(file.indexOf(QStringLiteral("閉じる(&C)")), file.indexOf(QStringLiteral("開く(&O)...")) + 2);
    EXPECT_EQ(texts("mniData"),
              (QStringList{QStringLiteral("最初のデータ(&F)"), QStringLiteral("前のデータ(&P)"),
                           QStringLiteral("次のデータ(&N)"), QStringLiteral("最後のデータ(&L)"),
                           QStringLiteral("アドレス帳データの編集(&E)..."),
                           QStringLiteral("差出人の編集(&N)...")}));
    EXPECT_EQ(texts("mniSetting"), (QStringList{QStringLiteral("フォント・配置の詳細設定(&Y)..."),
                                                QStringLiteral("表示情報の書式設定(&F)...")}));
    EXPECT_EQ(texts("mniWindow"),
              (QStringList{QStringLiteral("アドレス帳一覧(&L)"), QStringLiteral("アドレス帳詳細(&I)")}));
    for (const char* name : {"mniFile", "mniData", "mniSetting", "mniWindow"}) {
        auto* menu = window.findChild<QMenu*>(QString::fromLatin1(name));
        window.menuBar()->setActiveAction(menu->menuAction());
        KeepXvfbScreen(QStringLiteral("layout-menu-%1.xwd").arg(QLatin1String(name)));
        menu->hide();
    }
}

} // namespace
