// The backup and restore commands of the address list in the running program: enabled, opening their wizards,
// and the list reconnected to the restored book.
#include "maintenance/BkupDat.h"

#include "maintenance/MaintenanceCommands.h"
#include "maintenance/RestDat.h"
#include "support/MessageRecorder.h"
#include "support/SessionFixture.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace {

class BackupSessionTest : public SessionFixture
{
protected:
    void SetUp() override
    {
        SessionFixture::SetUp();
        RegisterMaintenanceCommands();
        SetDiskSpaceOverride([](const QString&) { return TDiskSpace{4096, qint64(1) << 40}; });
    }
    void TearDown() override
    {
        SetDiskSpaceOverride({});
        for (TListCommand c : {TListCommand::Backup, TListCommand::Restore, TListCommand::Info,
                               TListCommand::StartupNotices, TListCommand::Version})
            RegisterListCommand(c, {});
        SessionFixture::TearDown();
    }
    static void click(QWidget* w, const char* name)
    {
        w->findChild<QPushButton*>(QLatin1String(name))->click();
    }
    static void setText(QWidget* w, const char* name, const QString& text)
    {
        w->findChild<QLineEdit*>(QLatin1String(name))->setText(text);
    }
};

TEST_F(BackupSessionTest, BackUpEmptyTheBookAndRestoreIt)
{
    const QString data = writeWorkBook(12);
    const QString backup = m_root + "backup/";
    MessageRecorder messages;
    messages.allowUnexpected();
    runSession([&](TAddressList& list) {
        ASSERT_EQ(list.GetRecordCount(), 12);
        QAction* backupAction = list.Action("actBackup");
        QAction* restoreAction = list.Action("actRestore");
        list.UpdateActions();
        ASSERT_TRUE(backupAction->isEnabled());
        ASSERT_TRUE(restoreAction->isEnabled());

        m_driver.on("BackupData", [&](QWidget* w) {
            setText(w, "edtDest", backup);
            click(w, "btnNext");
            messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdYes);
            click(w, "btnBackup");
            click(w, "btnClose");
        });
        backupAction->trigger();
        ASSERT_TRUE(QFileInfo::exists(backup + "Adrs/Work/Adrs.DB"));

        // The book emptied behind the list's back.
        {
            Table t;
            t.setTableName(data + "Adrs/Work/Adrs.DB");
            t.open();
            while (!t.isEmpty()) {
                t.first();
                t.deleteRecord();
            }
        }
        m_driver.on("RestoreData", [&](QWidget* w) {
            setText(w, "edtSrc", backup);
            click(w, "btnNext");
            messages.answer(MsgSeam::IdYes);
            click(w, "btnRestore");
            click(w, "btnClose");
        });
        restoreAction->trigger();
        EXPECT_EQ(TableRowCount(data + "Adrs/Work/Adrs.DB"), 12);
        EXPECT_EQ(list.GetRecordCount(), 12);
        EXPECT_EQ(DataFolder, data);
    });
}

} // namespace
