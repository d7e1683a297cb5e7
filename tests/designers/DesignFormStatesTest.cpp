// The design window's recent files, context menu and command states; its menus on screen.
#include "core/MainSettings.h"
#include "designers/DesignForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/IllustRect.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/XvfbShot.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

class DesignFormStatesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folders.FoldersMade()); }
    void TearDown() override { delete m_window.data(); }
    TDesignForm& Window()
    {
        if (!m_window)
            m_window = new TDesignForm();
        return *m_window;
    }
    QStringList RecentItems()
    {
        Window().UpdateCommandStates();
        QStringList items;
        for (QAction* a : Window().Commands().Recent().Menu()->actions())
            items << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)"));
        return items;
    }
    TDrawRect* FrameOfKind(int kind)
    {
        for (TDrawRect* frame : Window().Document().ZOrder)
            if (frame->GetKind() == kind)
                return frame;
        return nullptr;
    }

    TDesignerFolders m_folders;
    QPointer<TDesignForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(DesignFormStatesTest, RecentFilesShowOnceOpenFromTheDesignFolderAndMissingOnesAreOff)
{
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        const QString a = m_folders.GoldenDesign(QStringLiteral("a"));
        ini.WriteString(QStringLiteral("DESIGN"), QStringLiteral("History1"), a);
        ini.WriteString(QStringLiteral("DESIGN"), QStringLiteral("History2"),
                        DesignFolder + QStringLiteral("A.GPD"));
        ini.WriteString(QStringLiteral("DESIGN"), QStringLiteral("History3"), m_folders.GoldenDesign(QStringLiteral("b")));
        ASSERT_TRUE(ini.UpdateFile());
    }
    TDesignForm& window = Window();
    EXPECT_EQ(RecentItems(), (QStringList{"&1 a", "&2 b"}));
    EXPECT_EQ(window.Commands().Recent().Menu()->actions()[0]->statusTip(),
              QStringLiteral("最近開いた文面デザインを開きます"));
    // A new design without a file name: the first item opens its file.
    window.Commands().Recent().Click(0);
    EXPECT_EQ(window.Document().FileName, DesignFolder + QStringLiteral("a.gpd"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("文面印刷 - a"));

    // Seven designs opened one after the other: five items, newest first.
    for (const char* title : {"c", "d", "e", "f", "g"})
        ASSERT_TRUE(window.LoadFromFile(m_folders.GoldenDesign(QString::fromLatin1(title))));
    EXPECT_EQ(RecentItems(), (QStringList{"&1 g", "&2 f", "&3 e", "&4 d", "&5 c"}));

    // The first item is the open design: nothing happens, not even the save question.
    window.Document().Modified = true;
    window.Commands().Recent().Click(0);
    EXPECT_EQ(m_messages.count(), 0);
    EXPECT_TRUE(window.Document().Modified);

    ASSERT_TRUE(QFile::remove(DesignFolder + QStringLiteral("e.gpd")));
    EXPECT_EQ(RecentItems(), (QStringList{"&1 g", "&2 f", "&3 e (off)", "&4 d", "&5 c"}));
    window.Document().Modified = false;
    window.Commands().Recent().Click(3);
    EXPECT_EQ(window.Document().FileName, DesignFolder + QStringLiteral("d.gpd"));
    EXPECT_EQ(RecentItems().first(), QStringLiteral("&1 d"));
    EXPECT_EQ(m_messages.count(), 0);
}

TEST_F(DesignFormStatesTest, ContextMenuOffersTheFocusedKindsCommands)
{
    TDesignForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(m_folders.GoldenDesign(QStringLiteral("all"))));
    // The golden design's picture is not there; an illustration is added to the document.
    window.Document().AddFreeFrame(0, std::make_unique<TIllustRect>());
    // Commands that other parts of the window bring; made here when they are not there yet.
    for (const char* name :
         {"actBackImage", "pmiBackClear", "actIllust",    "actWord",      "actFigure",   "actQRCode",
          "actSender",    "pmiIllustDef", "pmiSenderDef", "actDetail",    "actDataForm", "actSenderEdit",
          "actRectPos",   "actRectUnite", "actZOrder",    "actCopy",      "actPaste",    "actDelete",
          "actIllustSet", "actWordSet",   "actFigureSet", "actQRCodeSet", "actSenderSet"})
        if (!DesignerAction(window, QString::fromLatin1(name)))
            (new QAction(QString::fromLatin1(name), &window))->setObjectName(QString::fromLatin1(name));
    const QString tail = QStringLiteral(" | mniRectPos mniRectUnite mniZOrder | actCopy actPaste actDelete");
    struct Case
    {
        int kind;
        QString items;
    };
    const Case cases[] = {
        {-1, "actBackImage pmiBackClear | actIllust actWord actFigure actQRCode actSender" + tail},
        {10, "pmiViewSet pmiIllustDef" + tail},
        {11, "pmiViewSet" + tail},
        {12, "pmiViewSet" + tail},
        {13, "pmiViewSet" + tail},
        {14, "pmiViewSet pmiSenderDef actDetail actDataForm actSenderEdit" + tail},
    };
    TDesignDocument& d = window.Document();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        d.Selection.clear();
        d.FocusedIndex = -1;
        if (c.kind >= 0) {
            TDrawRect* frame = FrameOfKind(c.kind);
            ASSERT_NE(frame, nullptr);
            d.Selection = {frame};
            d.FocusedIndex = 0;
        }
        QMenu* menu = window.Commands().Popup();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(MenuItemNames(*menu), c.items);
    }
    // Without a design there is no context menu.
    d.DocumentOpen = false;
    EXPECT_EQ(window.Commands().Popup(), nullptr);
}

TEST_F(DesignFormStatesTest, StatesFollowTheDesign)
{
    TDesignForm& window = Window();
    auto enabled = [&](const char* name) {
        window.UpdateCommandStates();
        return window.findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
    };
    EXPECT_FALSE(enabled("actClose"));
    EXPECT_FALSE(enabled("actSave"));
    EXPECT_FALSE(window.Commands().Recent().Menu()->menuAction()->isEnabled());
    ASSERT_TRUE(window.LoadFromFile(m_folders.GoldenDesign(QStringLiteral("s"))));
    EXPECT_TRUE(enabled("actClose"));
    EXPECT_FALSE(enabled("actSave"));
    const TDesignerState s = window.CommandState();
    EXPECT_TRUE(s.SenderBlockShown);
    EXPECT_FALSE(s.ListWindow);
    // Two frames selected, the topmost among them.
    TDesignDocument& d = window.Document();
    d.Selection = {d.ZOrder.front(), d.ZOrder.back()};
    d.FocusedIndex = 1;
    const TDesignerState two = window.CommandState();
    EXPECT_EQ(two.SelectedCount, 2);
    EXPECT_TRUE(two.TopSelected);
    EXPECT_TRUE(two.BottomSelected);
    EXPECT_EQ(two.FocusedKind, d.ZOrder.back()->GetKind());
}

TEST_F(DesignFormStatesTest, MenusOnScreen)
{
    if (qEnvironmentVariable("TOVAREL_XVFB_FBDIR").isEmpty())
        GTEST_SKIP() << "only under Xvfb";
    TDesignForm& window = Window();
    ASSERT_TRUE(window.LoadFromFile(m_folders.GoldenDesign(QStringLiteral("b"))));
    ASSERT_TRUE(window.LoadFromFile(m_folders.GoldenDesign(QStringLiteral("a"))));
    // The start menu is left with the design shown.
    ModalDriver driver;
    driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.handled() == 1 && !QApplication::activeModalWidget(); }));
    for (const char* name : {"mniFile", "mniEdit"}) {
        auto* menu = window.findChild<QMenu*>(QString::fromLatin1(name));
        ASSERT_NE(menu, nullptr);
        menu->popup(window.mapToGlobal(QPoint(10, window.menuBar()->height())));
        if (qstrcmp(name, "mniFile") == 0)
            window.Commands().Recent().Menu()->popup(menu->geometry().topRight());
        KeepXvfbScreen(QStringLiteral("design-%1.xwd").arg(QString::fromLatin1(name)));
        window.Commands().Recent().Menu()->hide();
        menu->hide();
    }
    TDesignDocument& d = window.Document();
    d.Selection = {d.SenderBlock()};
    d.FocusedIndex = 0;
    QMenu* popup = window.Commands().Popup();
    popup->popup(window.mapToGlobal(QPoint(120, 160)));
    KeepXvfbScreen(QStringLiteral("design-popup.xwd"));
    popup->hide();
}

} // namespace
