// The pack and the index repair: the safety copy first, the current book's table closed and reopened,
// engine failures shown without a completion message, and the repair dialog's choices.
#include "maintenance/DataFolderFixture.h"
#include "maintenance/OptDat.h"
#include "addressbook/AdrsListServices.h"
#include "maintenance/MaintenanceCommands.h"
#include "maintenance/ReprIdx.h"
#include "maintenance/TableTools.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

namespace {

class TableToolsTest : public DataFolderFixture
{
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        dm = std::make_unique<TDMQuenrid215>();
        dm->CreateAdrsTable(QStringLiteral("アドレス"));
        dm->CreateSenderTable();
        ASSERT_TRUE(dm->OpenAdrs());
        SetTableToolHook([this](const QString& step, const QString& path) {
            steps.append(step + QLatin1Char(' ') + QFileInfo(path).dir().dirName());
            if (!failAt.isEmpty() && path.contains(failAt))
                throw TableError(TableErrorCode::Damaged, QStringLiteral("forced failure"));
        });
    }

    void TearDown() override
    {
        SetTableToolHook({});
        dm.reset();
        DataFolderFixture::TearDown();
    }

    // The RecNo values of the current book, read through the shared table.
    QList<qint64> recNos()
    {
        Table& t = *dm->AdrsTable();
        t.refresh();
        QList<qint64> values;
        for (t.first(); !t.eof(); t.next())
            values.append(t.fieldByName(QStringLiteral("RecNo")).asInteger());
        return values;
    }

    std::unique_ptr<TDMQuenrid215> dm;
    QStringList steps;
    QString failAt;
};

TEST_F(TableToolsTest, PackKeepsRecordNumbersAndReportsCompletion)
{
    Table& adrs = *dm->AdrsTable();
    adrs.first();
    adrs.deleteRecord();
    const QList<qint64> before = recNos();
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    int closes = 0;
    TOptimizeData dialog(nullptr, [&] {
        ++closes;
        return true;
    });
    EXPECT_EQ(RunModal(dialog, [&](QDialog&) { dialog.btnOptimizeClick(); }), QDialog::Accepted);
    EXPECT_EQ(closes, 1);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.last().text, QStringLiteral("最適化が完了しました  "));
    EXPECT_EQ(steps, QStringList({QStringLiteral("pack アドレス"), QStringLiteral("pack Other")}));
    EXPECT_TRUE(adrs.active());
    EXPECT_FALSE(adrs.exclusive());
    EXPECT_EQ(dm->OpenCount(TDMQuenrid215::tkAdrs), 1);
    EXPECT_EQ(recNos(), before);
    adrs.append();
    adrs.fieldByName(QStringLiteral("NameKanji")).setString(QStringLiteral("新"));
    adrs.post();
    EXPECT_GT(recNos().last(), 2); // the deleted number is not given again
    EXPECT_TRUE(QFile::exists(DataFolder + QStringLiteral("backup.opt/Adrs/アドレス/Adrs.DB")));
    EXPECT_TRUE(QFile::exists(DataFolder + QStringLiteral("backup.opt/Other/Sender.DB")));
}

TEST_F(TableToolsTest, PackStopsOnFailures)
{
    const struct
    {
        const char* name;
        const char* failAt;
        bool copyFails;
        QStringList steps;
    } cases[] = {
        {"engine fails on the book", "アドレス", false, {QStringLiteral("pack アドレス")}},
        {"engine fails on the sender",
         "Other",
         false,
         {QStringLiteral("pack アドレス"), QStringLiteral("pack Other")}},
        {"safety copy fails", "", true, {}},
    };
    for (const auto& c : cases) {
        steps.clear();
        failAt = QString::fromUtf8(c.failAt);
        SetCopyFaultHook([&](TCopyStep, const QString&) { return c.copyFails; });
        MessageRecorder messages;
        messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
        TOptimizeData dialog(nullptr, [] { return true; });
        dialog.btnOptimizeClick();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << c.name;
        ASSERT_EQ(messages.count(), 2) << c.name;
        EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop)) << c.name;
        EXPECT_EQ(steps, c.steps) << c.name;
        EXPECT_TRUE(dm->AdrsTable()->active()) << c.name;
        EXPECT_EQ(dm->OpenCount(TDMQuenrid215::tkAdrs), 1) << c.name;
    }
}

TEST_F(TableToolsTest, NoAnswerOrAnOpenWindowChangesNothing)
{
    MessageRecorder messages;
    messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    TOptimizeData dialog(nullptr, [] { return false; });
    dialog.btnOptimizeClick();
    dialog.btnOptimizeClick();
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(BackupWorkFolder(TBackupWork::Optimize)));
}

TEST_F(TableToolsTest, RepairDialogListsTheBooksAndFollowsItsBoxes)
{
    // The pending deletion comes first, the current book second.
    AdrsFolderList.move(2, 0);
    CurrentAdrsIndex = 1;
    TRepairIndex dialog(nullptr, [] { return true; });
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lvAdrs"));
    auto* chkAdrs = dialog.findChild<QCheckBox*>(QStringLiteral("chkAdrs"));
    auto* chkSender = dialog.findChild<QCheckBox*>(QStringLiteral("chkSender"));
    auto* repair = dialog.findChild<QPushButton*>(QStringLiteral("btnRepair"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("アドレス"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("仕事"));
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems().first()->text(), QStringLiteral("アドレス"));
    EXPECT_TRUE(chkAdrs->isChecked() && chkSender->isChecked() && repair->isEnabled());
    chkAdrs->click();
    EXPECT_FALSE(list->isEnabled());
    EXPECT_TRUE(repair->isEnabled());
    chkSender->click();
    EXPECT_FALSE(repair->isEnabled());
    chkAdrs->click();
    EXPECT_TRUE(list->isEnabled());
    EXPECT_TRUE(repair->isEnabled());
}

TEST_F(TableToolsTest, RepairOfTheCurrentOrAnotherBook)
{
    const struct
    {
        const char* name;
        int row;
        bool sender;
        bool repaired;
        QStringList steps;
    } cases[] = {
        {"current book and sender",
         0,
         true,
         true,
         {QStringLiteral("reindex アドレス"), QStringLiteral("reindex Other")}},
        {"another book", 1, false, false, {QStringLiteral("reindex 仕事")}},
    };
    for (const auto& c : cases) {
        steps.clear();
        MessageRecorder messages;
        messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
        TRepairIndex dialog(nullptr, [] { return true; });
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lvAdrs"));
        list->item(c.row)->setSelected(true);
        if (!c.sender)
            dialog.findChild<QCheckBox*>(QStringLiteral("chkSender"))->click();
        EXPECT_EQ(RunModal(dialog, [&](QDialog&) { dialog.btnRepairClick(); }), QDialog::Accepted) << c.name;
        EXPECT_EQ(messages.last().text, QStringLiteral("修復が完了しました  ")) << c.name;
        EXPECT_EQ(dialog.Repaired(), c.repaired) << c.name;
        EXPECT_EQ(steps, c.steps) << c.name;
        EXPECT_TRUE(dm->AdrsTable()->active() && !dm->AdrsTable()->exclusive()) << c.name;
        EXPECT_EQ(dm->OpenCount(TDMQuenrid215::tkAdrs), 1) << c.name;
    }
    EXPECT_TRUE(QFile::exists(DataFolder + QStringLiteral("backup.rep/Adrs/仕事/Adrs.DB")));
    EXPECT_TRUE(QFile::exists(DataFolder + QStringLiteral("backup.rep/Other/Sender.DB")));
}

TEST_F(TableToolsTest, RepairFailuresAreShownWithoutCompletion)
{
    MessageRecorder messages;
    TRepairIndex dialog(nullptr, [] { return true; });
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lvAdrs"));
    list->clearSelection();
    messages.answer(MsgSeam::IdOk);
    dialog.btnRepairClick();
    EXPECT_EQ(messages.last().text, QStringLiteral("修復するアドレス帳を選択してください  "));

    list->item(0)->setSelected(true);
    failAt = QStringLiteral("アドレス");
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    dialog.btnRepairClick();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("forced failure")));
    EXPECT_EQ(steps, QStringList{QStringLiteral("reindex アドレス")});
    EXPECT_TRUE(dm->AdrsTable()->active() && !dm->AdrsTable()->exclusive());
}

TEST_F(TableToolsTest, ABookInUseElsewhereIsReportedAndSkipped)
{
    // A second reference keeps the current book's table open: the exclusive open is refused.
    ASSERT_TRUE(dm->OpenAdrs());
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    EXPECT_FALSE(RepairTables(nullptr, CurrentAdrsIndex, false));
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_EQ(messages.count(), 1);
    EXPECT_TRUE(dm->AdrsTable()->active());
    EXPECT_EQ(dm->OpenCount(TDMQuenrid215::tkAdrs), 2);
    dm->CloseAdrs();
}

TEST(TableToolCommands, TheBuiltToolsAreRegistered)
{
    RegisterMaintenanceCommands();
    for (TListCommand c : {TListCommand::Optimize, TListCommand::RepairIndex, TListCommand::ConvertKykbn,
                           TListCommand::ConvertAdrsPos}) {
        EXPECT_TRUE(HasListCommand(c));
        RegisterListCommand(c, {});
    }
}

} // namespace
