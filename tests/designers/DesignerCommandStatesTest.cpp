// The designer windows' command states and context menus computed from a window's state, and the recent-files
// submenu over a list of paths.
#include "designers/DesignerCommandStates.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QTemporaryDir>

#include <functional>

namespace {

bool enabledIn(const std::vector<TCommandState>& states, const char* name)
{
    for (const TCommandState& s : states)
        if (qstrcmp(s.Name, name) == 0)
            return s.Enabled;
    ADD_FAILURE() << name << " is not decided";
    return false;
}

TDesignerState openLabel()
{
    TDesignerState s;
    s.DocumentOpen = true;
    s.FileName = QStringLiteral("/data/a.gpa");
    return s;
}

TDesignerState openDesign()
{
    TDesignerState s = openLabel();
    s.Window = TDesignerKind::Design;
    return s;
}

TDesignerState focused(TDesignerState s, int kind, int selected = 1)
{
    s.FocusedKind = kind;
    s.SelectedCount = selected;
    return s;
}

TEST(DesignerCommandStatesTest, EachCommandFollowsItsCondition)
{
    struct Case
    {
        const char* what;
        std::function<TDesignerState()> state;
        const char* command;
        bool enabled;
    };
    auto with = [](TDesignerState s, auto change) {
        change(s);
        return s;
    };
    const Case cases[] = {
        {"nothing open", [] { return TDesignerState{}; }, "actSaveAs", false},
        {"nothing open", [] { return TDesignerState{}; }, "actSave", false},
        {"open", openLabel, "actSaveAs", true},
        {"open design", openDesign, "actBackImage", true},
        {"open design", openDesign, "actClose", true},
        {"named and unchanged", openLabel, "actSave", false},
        {"new without a name", [&] { return with(openLabel(), [](auto& s) { s.FileName.clear(); }); },
         "actSave", true},
        {"changed", [&] { return with(openLabel(), [](auto& s) { s.Modified = true; }); }, "actSave", true},
        {"three steps, none undone", [&] { return with(openLabel(), [](auto& s) { s.UndoCount = 3; }); },
         "actUndo", true},
        {"three steps, none undone", [&] { return with(openLabel(), [](auto& s) { s.UndoCount = 3; }); },
         "actRedo", false},
        {"three steps, all undone",
         [&] { return with(openLabel(), [](auto& s) { s.UndoCount = 3, s.UndoPosition = 2; }); }, "actUndo",
         false},
        {"three steps, all undone",
         [&] { return with(openLabel(), [](auto& s) { s.UndoCount = 3, s.UndoPosition = 2; }); }, "actRedo",
         true},
        {"text focused", [] { return focused(openLabel(), 11); }, "actCopy", true},
        {"barcode focused", [] { return focused(openLabel(), 9); }, "actCopy", false},
        {"clipboard filled", [&] { return with(openLabel(), [](auto& s) { s.ClipboardPresent = true; }); },
         "actPaste", true},
        {"clipboard filled, nothing open",
         [&] { return with(TDesignerState{}, [](auto& s) { s.ClipboardPresent = true; }); }, "actPaste",
         false},
        {"a frame focused", [] { return focused(openLabel(), 1); }, "actRectPos", true},
        {"no frame focused", openLabel, "actRectPos", false},
        {"one frame selected", [] { return focused(openLabel(), 11); }, "actRectUnite", false},
        {"one frame selected", [] { return focused(openLabel(), 11); }, "actRectLeft", false},
        {"two frames selected", [] { return focused(openLabel(), 11, 2); }, "actEqualPaperH", true},
        {"two frames selected", [] { return focused(openDesign(), 11, 2); }, "actRectSize", true},
        {"topmost selected",
         [&] { return with(focused(openLabel(), 11), [](auto& s) { s.TopSelected = true; }); }, "actTop",
         false},
        {"topmost selected",
         [&] { return with(focused(openLabel(), 11), [](auto& s) { s.TopSelected = true; }); }, "actUp",
         false},
        {"topmost selected",
         [&] { return with(focused(openLabel(), 11), [](auto& s) { s.TopSelected = true; }); }, "actDown",
         true},
        {"bottommost selected",
         [&] { return with(focused(openLabel(), 11), [](auto& s) { s.BottomSelected = true; }); },
         "actBottom", false},
        {"no frame focused", openLabel, "actZOrder", false},
        {"label: fixed address frame", [] { return focused(openLabel(), 1); }, "actDelete", false},
        {"label: fixed address frame placed one by one",
         [&] { return with(focused(openLabel(), 1), [](auto& s) { s.IndividualLayout = true; }); },
         "actDelete", true},
        {"label: additional item", [] { return focused(openLabel(), 8); }, "actDelete", true},
        {"label: illustration", [] { return focused(openLabel(), 10); }, "actDelete", true},
        {"label: no frame", openLabel, "actDelete", false},
        {"design: sender block", [] { return focused(openDesign(), 14); }, "actDelete", true},
        {"design: no frame", openDesign, "actDelete", false},
        {"address list there", [&] { return with(openLabel(), [](auto& s) { s.ListWindow = true; }); },
         "actAdrsList", true},
        {"no record card", openLabel, "actAdrsView", false},
        {"record card there", [&] { return with(openDesign(), [](auto& s) { s.CardWindow = true; }); },
         "actAdrsView", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(enabledIn(DesignerCommandStates(c.state()), c.command), c.enabled)
            << c.what << ": " << c.command;
}

TEST(DesignerCommandStatesTest, LabelRecordNavigationFollowsTheAddressList)
{
    struct Case
    {
        const char* what;
        int source, records, first;
        bool first_, prior, next, last, editData, senderEdit;
    };
    const Case cases[] = {
        {"first row", 1, 3, 0, false, false, true, true, true, false},
        {"middle row", 1, 3, 1, true, true, true, true, true, false},
        {"last row", 1, 3, 2, true, true, false, false, true, false},
        {"no rows shown", 1, 0, -1, false, false, false, false, false, false},
        {"sender as source", 2, 3, 1, false, false, false, false, false, true},
    };
    for (const Case& c : cases) {
        TDesignerState s = openLabel();
        s.DataSource = c.source;
        s.RecordCount = c.records;
        s.FirstSelected = c.first;
        const auto states = DesignerCommandStates(s);
        EXPECT_EQ(enabledIn(states, "actFirst"), c.first_) << c.what;
        EXPECT_EQ(enabledIn(states, "actPrior"), c.prior) << c.what;
        EXPECT_EQ(enabledIn(states, "actNext"), c.next) << c.what;
        EXPECT_EQ(enabledIn(states, "actLast"), c.last) << c.what;
        EXPECT_EQ(enabledIn(states, "actEditData"), c.editData) << c.what;
        EXPECT_EQ(enabledIn(states, "actSenderEdit"), c.senderEdit) << c.what;
    }
    // Nothing open: no record command.
    TDesignerState closed;
    closed.RecordCount = 3;
    closed.FirstSelected = 1;
    EXPECT_FALSE(enabledIn(DesignerCommandStates(closed), "actNext"));
}

TEST(DesignerCommandStatesTest, LabelFontAndDefaultLayoutFollowTheFocusedFrame)
{
    TDesignerState text = focused(openLabel(), 11);
    text.FocusedHasText = true;
    EXPECT_TRUE(enabledIn(DesignerCommandStates(text), "actFont"));
    EXPECT_FALSE(enabledIn(DesignerCommandStates(text), "actDefaultLayout"));
    EXPECT_FALSE(enabledIn(DesignerCommandStates(focused(openLabel(), 12)), "actFont"));
    EXPECT_TRUE(enabledIn(DesignerCommandStates(focused(openLabel(), 2)), "actDefaultLayout"));
    EXPECT_TRUE(enabledIn(DesignerCommandStates(openLabel()), "actDefaultLayout"));
    EXPECT_FALSE(enabledIn(DesignerCommandStates(TDesignerState{}), "actDefaultLayout"));
}

TEST(DesignerCommandStatesTest, DesignSenderNeedsASenderAndNoBlockShown)
{
    struct Case
    {
        int senders;
        bool shown;
        bool enabled;
    };
    for (const Case& c : {Case{1, false, true}, Case{0, false, false}, Case{2, true, false}}) {
        TDesignerState s = openDesign();
        s.SenderCount = c.senders;
        s.SenderBlockShown = c.shown;
        EXPECT_EQ(enabledIn(DesignerCommandStates(s), "actSender"), c.enabled) << c.senders << c.shown;
    }
}

TEST(DesignerCommandStatesTest, ContextMenuOffersTheFocusedKindsCommands)
{
    const QString common = QStringLiteral("actRectPos actRectUnite actZOrder");
    const QString edit = QStringLiteral("- actCopy actPaste actDelete");
    struct Case
    {
        TDesignerKind window;
        int kind;
        QString items;
    };
    const Case cases[] = {
        {TDesignerKind::Label, -1,
         "actFont actDetail actDataForm - actEditData actSenderEdit actAdditionSet - " + common +
             " actDefaultLayout " + edit},
        {TDesignerKind::Label, 1,
         "actFont actDetail actDataForm - actEditData actSenderEdit actAdditionSet - " + common +
             " actDefaultLayout " + edit},
        {TDesignerKind::Label, 10,
         "actIllust pmiIllustDef pmiViewSet - " + common + " actDefaultLayout " + edit},
        {TDesignerKind::Label, 13, "pmiViewSet - " + common + " actDefaultLayout " + edit},
        {TDesignerKind::Address, 1,
         "actFont actDetail actDataForm - actEditData actSenderEdit actSender actBarcodeSet - " + common +
             " actDefaultLayout " + edit},
        {TDesignerKind::Address, 10,
         "actIllust pmiIllustDef pmiViewSet - " + common + " actDefaultLayout " + edit},
        {TDesignerKind::Address, 11, "actWordEdit pmiViewSet - " + common + " actDefaultLayout " + edit},
        {TDesignerKind::Design, -1,
         "actBackImage pmiBackClear - actIllust actWord actFigure actQRCode actSender - " + common + " " +
             edit},
        {TDesignerKind::Design, 10, "pmiViewSet pmiIllustDef - " + common + " " + edit},
        {TDesignerKind::Design, 12, "pmiViewSet - " + common + " " + edit},
        {TDesignerKind::Design, 14,
         "pmiViewSet pmiSenderDef actDetail actDataForm actSenderEdit - " + common + " " + edit},
    };
    for (const Case& c : cases) {
        TDesignerState s = focused(c.window == TDesignerKind::Design ? openDesign() : openLabel(), c.kind);
        s.Window = c.window;
        EXPECT_EQ(DesignerPopupItems(s).join(u' '), c.items) << int(c.window) << " kind " << c.kind;
    }
    EXPECT_STREQ(DesignerViewSetCommand(11), "actWordSet");
    EXPECT_STREQ(DesignerViewSetCommand(14), "actSenderSet");
    EXPECT_EQ(DesignerViewSetCommand(2), nullptr);
}

TEST(DesignerCommandStatesTest, RecentListDropsLaterCopiesIgnoringCaseAndKeepsFive)
{
    struct Case
    {
        QStringList in, out;
    };
    const Case cases[] = {
        {{"/d/a.gpd", "/d/b.gpd", "/d/c.gpd", "/d/d.gpd", "/d/e.gpd", "/d/f.gpd", "/d/g.gpd"},
         {"/d/a.gpd", "/d/b.gpd", "/d/c.gpd", "/d/d.gpd", "/d/e.gpd"}},
        {{"/d/A.gpd", "/d/b.gpd", "/D/a.GPD", "/d/c.gpd"}, {"/d/A.gpd", "/d/b.gpd", "/d/c.gpd"}},
        // Copies go before the cut, so a sixth distinct entry moves up.
        {{"/d/a", "/d/A", "/d/b", "/d/c", "/d/d", "/d/e", "/d/f"}, {"/d/a", "/d/b", "/d/c", "/d/d", "/d/e"}},
        // Only ASCII letters fold.
        {{"/d/ä.gpd", "/d/Ä.gpd"}, {"/d/ä.gpd", "/d/Ä.gpd"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        QStringList list = c.in;
        TidyRecentFiles(list);
        EXPECT_EQ(list, c.out) << c.in.join(u' ').toStdString();
    }
}

class RecentMenuTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString File(const QString& name, bool exists = true)
    {
        const QString path = m_dir.filePath(name);
        if (exists) {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        }
        return path;
    }
    TDesignerRecentMenu& Menu()
    {
        if (!m_menu)
            m_menu = new TDesignerRecentMenu(
                m_window, m_list, QStringLiteral("hint"), [this](const QString& title) { m_opened << title; },
                [this] { return m_currentOpen; });
        return *m_menu;
    }
    QStringList Items()
    {
        QStringList items;
        for (QAction* a : Menu().Menu()->actions())
            items << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)"));
        return items;
    }

    QTemporaryDir m_dir;
    QMainWindow m_window;
    QStringList m_list;
    QStringList m_opened;
    bool m_currentOpen = false;
    TDesignerRecentMenu* m_menu = nullptr;
    bool m_renamed = false;
};

TEST_F(RecentMenuTest, SevenEntriesShowFiveWithCopiesOnceAndMissingFilesOff)
{
    for (const char* name : {"a.gpd", "b.gpd", "c.gpd", "d.gpd", "e.gpd", "f.gpd"})
        m_list << File(QString::fromLatin1(name), qstrcmp(name, "c.gpd") != 0);
    m_list.insert(1, m_list[0].toUpper());
    Menu().Update(m_renamed);
    EXPECT_EQ(m_list.size(), 5);
    EXPECT_EQ(Items(), (QStringList{"&1 a", "&2 b", "&3 c (off)", "&4 d", "&5 e"}));
    EXPECT_EQ(Menu().Menu()->objectName(), QStringLiteral("mmiRecent"));
    EXPECT_EQ(Menu().Menu()->menuAction()->objectName(), QStringLiteral("actRecent"));
    EXPECT_TRUE(Menu().Menu()->menuAction()->isEnabled());
    EXPECT_EQ(Menu().Menu()->actions().first()->statusTip(), QStringLiteral("hint"));

    // A file deleted later shows off at the next update; a changed entry is shown; the renamed flag is taken.
    QFile::remove(m_list[1]);
    Menu().Update(m_renamed);
    EXPECT_EQ(Items(), (QStringList{"&1 a", "&2 b (off)", "&3 c (off)", "&4 d", "&5 e"}));
    m_list[4] = File(QStringLiteral("z.gpd"));
    m_renamed = true;
    Menu().Update(m_renamed);
    EXPECT_FALSE(m_renamed);
    EXPECT_EQ(Items().last(), QStringLiteral("&5 z"));

    m_list.clear();
    Menu().Update(m_renamed);
    EXPECT_TRUE(Items().isEmpty());
    EXPECT_FALSE(Menu().Menu()->menuAction()->isEnabled());
}

TEST_F(RecentMenuTest, FirstItemDoesNothingWhileItsFileIsOpen)
{
    m_list << File(QStringLiteral("open.gpd")) << File(QStringLiteral("other.gpd"));
    Menu().Update(m_renamed);
    m_currentOpen = true;
    Menu().Menu()->actions()[0]->trigger();
    EXPECT_TRUE(m_opened.isEmpty());
    Menu().Menu()->actions()[1]->trigger();
    EXPECT_EQ(m_opened, QStringList{"other"});
    // A new document without a file name: the first item opens its file.
    m_currentOpen = false;
    Menu().Click(0);
    EXPECT_EQ(m_opened, (QStringList{"other", "open"}));
}

TEST(DesignerWindowFilterTest, LongHintsGoToTheFirstPanelWhileTheCursorIsOverTheWindow)
{
    QMainWindow window;
    InstallDesignerWindowFilter(window);
    window.setGeometry(100, 100, 400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto tip = [&](const QString& text) {
        QStatusTipEvent event(text);
        QApplication::sendEvent(&window, &event);
        return window.statusBar()->currentMessage();
    };
    QCursor::setPos(window.frameGeometry().center());
    EXPECT_EQ(tip(QStringLiteral("開く|保存された名刺レイアウトを開きます")),
              QStringLiteral("保存された名刺レイアウトを開きます"));
    EXPECT_EQ(tip(QStringLiteral("閉じます")), QStringLiteral("閉じます"));
    EXPECT_EQ(tip(QStringLiteral("短い|  ")), QString());
    tip(QStringLiteral("閉じます"));
    // The edge counts as inside; beyond it the panel is left as it is.
    QCursor::setPos(window.frameGeometry().bottomRight());
    EXPECT_EQ(tip(QStringLiteral("x|右下")), QStringLiteral("右下"));
    QCursor::setPos(window.frameGeometry().bottomRight() + QPoint(5, 5));
    EXPECT_EQ(tip(QStringLiteral("x|外")), QStringLiteral("右下"));
}

} // namespace
