// The four table tools in the running program: enabled with rows, each opening its dialog, and the address
// conversion run from the menu with the list reloaded after it.
#include "maintenance/MaintenanceCommands.h"
#include "support/MessageRecorder.h"
#include "support/SessionFixture.h"

#include <QAction>
#include <QPushButton>

namespace {

class TableToolSessionTest : public SessionFixture
{
protected:
    void SetUp() override
    {
        SessionFixture::SetUp();
        RegisterMaintenanceCommands();
    }
    void TearDown() override
    {
        for (TListCommand c :
             {TListCommand::Backup, TListCommand::Restore, TListCommand::Info, TListCommand::StartupNotices,
              TListCommand::Version, TListCommand::Optimize, TListCommand::RepairIndex,
              TListCommand::ConvertKykbn, TListCommand::ConvertAdrsPos})
            RegisterListCommand(c, {});
        SessionFixture::TearDown();
    }
    static void click(QWidget* w, const char* name)
    {
        w->findChild<QPushButton*>(QLatin1String(name))->click();
    }
};

TEST_F(TableToolSessionTest, TheToolsOpenFromTheMenuAndTheConversionReloadsTheList)
{
    const QString data = writeWorkBook(6);
    MessageRecorder messages;
    messages.allowUnexpected();
    runSession([&](TAddressList& list) {
        list.UpdateActions();
        const struct
        {
            const char* action;
            const char* dialog;
        } tools[] = {{"actOptimize", "OptimizeData"},
                     {"actConvertKykbn", "ConvertKykbn"},
                     {"actRepairIndex", "RepairIndex"}};
        for (const auto& tool : tools) {
            QAction* action = list.Action(tool.action);
            ASSERT_TRUE(action->isEnabled()) << tool.action;
            bool opened = false;
            m_driver.on(tool.dialog, [&](QWidget* w) {
                opened = true;
                click(w, "btnClose");
            });
            action->trigger();
            EXPECT_TRUE(opened) << tool.action;
        }

        QAction* convert = list.Action("actConvertAdrsPos");
        ASSERT_TRUE(convert->isEnabled());
        m_driver.on("ConvertAdrsPos", [&](QWidget* w) {
            messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
            click(w, "btnConvert");
        });
        convert->trigger();
        EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("住所・郵便番号変換が完了しました")));
        EXPECT_TRUE(messages.last().text.contains(QStringLiteral("処理件数 = 6 件")));
        EXPECT_TRUE(QFileInfo::exists(data + "backup.cap/Adrs/Work/Adrs.DB"));
        EXPECT_EQ(list.GetRecordCount(), 6);
    });
}

} // namespace
