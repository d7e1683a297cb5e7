// The export window in the running program: opened by the address list's command, following its selection,
// closed with its children. With TOVAREL_XVFB_FBDIR set, the screen is kept as export-shot.xwd there.
#include "dataexchange/FExport.h"

#include "support/MessageRecorder.h"
#include "support/SessionFixture.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

namespace {

class FExportSessionTest : public SessionFixture
{
protected:
    void SetUp() override
    {
        SessionFixture::SetUp();
        AdminPassword.clear();
        AdminMode = false;
        RegisterFileExport();
    }
    void TearDown() override
    {
        RegisterListCommand(TListCommand::ExportFile, {});
        RegisterListChild(TListChild::FileExport, {});
        SessionFixture::TearDown();
    }
};

// Keeps the X server's frame buffer once the windows have been drawn.
void KeepScreenshot()
{
    const QString folder = qEnvironmentVariable("TOVAREL_XVFB_FBDIR");
    if (folder.isEmpty())
        return;
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 1500)
        QTest::qWait(50);
    QFile::remove(folder + "/export-shot.xwd");
    QFile::copy(folder + "/Xvfb_screen0", folder + "/export-shot.xwd");
}

} // namespace

TEST_F(FExportSessionTest, TheListCommandOpensOneWindowThatFollowsTheSelection)
{
    writeWorkBook(25);
    writeSettings({{"FILE EXPORT", "Layout1", "23,25"},
                   {"FILE EXPORT", "Layout2", "3"},
                   {"FILE EXPORT", "Type", "1"}});
    MessageRecorder messages;
    messages.allowUnexpected();
    runSession([](TAddressList& list) {
        QAction* action = list.Action("actExportFile");
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), "テキストファイルの出力(&E)...");
        list.SelectIndex(2, true, true);
        list.UpdateActions();
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
        ASSERT_TRUE(FileExport);
        TFileExport* window = FileExport;
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle(), "テキストファイルの出力");
        EXPECT_EQ(window->TargetCount(), 1);
        action->trigger(); // a second time: the same window
        EXPECT_EQ(FileExport.data(), window);

        list.SelectIndex(5, false, false);
        EXPECT_EQ(window->TargetCount(), 2);
        EXPECT_EQ(window->findChild<QLabel*>("lblDataCount")->text(), "2 件");
        KeepScreenshot();

        EXPECT_TRUE(list.CloseChildWindows());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(FileExport);
    });
}
