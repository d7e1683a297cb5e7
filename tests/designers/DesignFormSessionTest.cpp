// The message-side design window in the running program: the address list's command opens it on the last
// design through the start menu, and the list closes it for another designer. With TOVAREL_XVFB_FBDIR set,
// the screen is kept there.
#include "designers/DesignForm.h"

#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "platform/IniFile.h"
#include "support/AdrsTableFixture.h"
#include "support/MessageRecorder.h"
#include "support/DesignerSession.h"
#include "support/XvfbShot.h"

#include <QAction>
#include <QTest>

namespace {

class DesignFormSessionTest : public DesignerSessionFixture
{
protected:
    DesignFormSessionTest()
        : DesignerSessionFixture(RegisterDesignForm, {TListCommand::DesignPrint}, {TListChild::DesignForm})
    {
    }
};

TEST_F(DesignFormSessionTest, ListOpensTheLastDesignAndClosesItForAnotherDesigner)
{
    writeWorkBook(5);
    MessageRecorder messages;
    runSession([&](TAddressList& list) {
        QDir().mkpath(DesignFolder);
        const QString path = DesignFolder + "greeting.gpd";
        ASSERT_TRUE(QFile::copy(TOVAREL_TEST_DATA_DIR "designers/every-kind.gpd", path));
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        ini.WriteString("DESIGN", "History1", path);
        ASSERT_TRUE(ini.UpdateFile());
        // The design's sender block is filled from the sender of its key.
        ASSERT_TRUE(DMQuenrid215 && DMQuenrid215->OpenSender());
        AdrsTableFixture::add(*DMQuenrid215->SenderTable(), {{"Title", QByteArray("office")},
                                                             {"Pos", QByteArray("1000001")},
                                                             {"Adrs1", QStringLiteral("千代田区1-1")},
                                                             {"SelectInfo", 1},
                                                             {"NamePrint", true},
                                                             {"Name", WideToHexText("山田 花子")}});
        DMQuenrid215->CloseSender();

        QAction* action = list.Action("actDesignPrint");
        list.UpdateActions();
        ASSERT_TRUE(action->isEnabled());
        EXPECT_EQ(action->text(), "文面印刷(&D)...");
        m_driver.on("PrintMenuDialog", [](QWidget* w) {
            KeepXvfbScreen("design-menu.xwd");
            static_cast<QDialog*>(w)->accept();
        });
        action->trigger();
        ASSERT_TRUE(QTest::qWaitFor([] { return DesignForm && DesignForm->Document().DocumentOpen; }));
        TDesignForm& window = *DesignForm;
        EXPECT_EQ(window.windowTitle(), "文面印刷 - greeting");
        EXPECT_EQ(ListChildWindow(TListChild::DesignForm), &window);
        ASSERT_NE(window.Document().SenderBlock(), nullptr);
        EXPECT_EQ(window.Document().SenderBlock()->GetName(true)->Name(), "山田 花子");
        KeepXvfbScreen("design-window.xwd");

        // The same kind stays open; another designer closes it.
        EXPECT_TRUE(list.CloseDesignWindows(4));
        EXPECT_TRUE(DesignForm);
        EXPECT_TRUE(list.CloseDesignWindows(1));
        EXPECT_TRUE(QTest::qWaitFor([] { return !DesignForm; }));
    });
    EXPECT_EQ(messages.count(), 0);
}

} // namespace
