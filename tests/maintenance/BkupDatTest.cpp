// The backup and restore wizards driven page by page, and their list commands.
#include "maintenance/BkupDat.h"

#include "addressbook/AdrsListServices.h"
#include "maintenance/DataFolderFixture.h"
#include "maintenance/MaintenanceCommands.h"
#include "maintenance/RestDat.h"
#include "support/MessageRecorder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTreeWidget>

namespace {

class WizardTest : public DataFolderFixture
{
protected:
    template <class T> static T* child(QWidget* w, const char* name)
    {
        T* c = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static int page(QWidget* w) { return child<QStackedWidget>(w, "pgcMain")->currentIndex(); }
    static QStringList resultRows(QWidget* w)
    {
        QStringList rows;
        auto* list = child<QTreeWidget>(w, "lvResult");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows.append(item->text(0) + u'|' + item->text(1) + u'|' + item->text(2));
        }
        return rows;
    }
    // Keeps a picture of the window when TOVAREL_SHOT_DIR names a folder.
    static void shot(QWidget* w, const char* name)
    {
        const QString folder = qEnvironmentVariable("TOVAREL_SHOT_DIR");
        if (!folder.isEmpty())
            w->grab().save(folder + u'/' + QLatin1String(name) + QStringLiteral(".png"));
    }
    static QStringList keywords() { return QStringList(8, QStringLiteral("キーワード")); }
};

TEST_F(WizardTest, BackupRunsThroughItsThreePages)
{
    MessageRecorder messages;
    TBackupData wizard(nullptr, keywords());
    wizard.show();
    auto* edit = child<QLineEdit>(&wizard, "edtDest");
    EXPECT_TRUE(QRegularExpression(QRegularExpression::escape(DataFolder) + QStringLiteral("\\d{8} \\d{6}/$"))
                    .match(edit->text())
                    .hasMatch())
        << edit->text().toStdString();
    EXPECT_FALSE(child<QPushButton>(&wizard, "btnPrior")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&wizard, "btnBackup")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&wizard, "btnClose")->isVisible());
    shot(&wizard, "backup-1");

    // The data folder in use, reached through a link, is refused; a folder inside it is taken.
    ASSERT_TRUE(QFile::link(DataFolder, m_root + QStringLiteral("link")));
    edit->setText(m_root + QStringLiteral("link"));
    messages.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    wizard.btnNextClick();
    EXPECT_EQ(messages.last().text, QStringLiteral("現在使用しているデータ保存フォルダーを指定しています  "));
    EXPECT_EQ(page(&wizard), 0);

    // A folder that is not absolute has no known free space.
    edit->setText(QString());
    wizard.btnNextClick();
    EXPECT_EQ(page(&wizard), 1);
    EXPECT_EQ(child<QLabel>(&wizard, "pnlFreeSize")->text(), QStringLiteral("--- "));
    wizard.btnBackupClick();
    EXPECT_EQ(messages.last().text, QStringLiteral("空き容量が足りません  "));
    wizard.btnPriorClick();
    EXPECT_EQ(page(&wizard), 0);

    const QString dest = DataFolder + QStringLiteral("save/here");
    edit->setText(dest);
    SetDiskSpaceOverride([](const QString&) { return TDiskSpace{1024, qint64(5) << 30}; });
    wizard.btnNextClick();
    EXPECT_EQ(child<QLabel>(&wizard, "pnlConfirmationDest")->text(), dest + u'/');
    EXPECT_EQ(child<QLabel>(&wizard, "pnlFreeSize")->text(), QStringLiteral("5,242,880 "));
    EXPECT_EQ(child<QLabel>(&wizard, "pnlNeedSize")->text(), KilobyteText(wizard.NeedSize()));
    shot(&wizard, "backup-2");
    messages.answer(MsgSeam::IdNo);
    wizard.btnBackupClick();
    EXPECT_EQ(messages.last().flags,
              unsigned(MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2));
    EXPECT_FALSE(QFileInfo::exists(dest));
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdYes);
    wizard.btnBackupClick();
    EXPECT_EQ(messages.last().text,
              QStringLiteral("保存先フォルダーが見つかりません  \r\n作成してもよろしいですか？  "));
    EXPECT_EQ(page(&wizard), 2);
    const QStringList rows = resultRows(&wizard);
    EXPECT_EQ(rows.size(), 19);
    EXPECT_EQ(rows.first(), QStringLiteral("アドレス帳： アドレス|○|"));
    EXPECT_TRUE(rows.contains(QStringLiteral("キーワードファイル|○|")));
    EXPECT_TRUE(child<QPushButton>(&wizard, "btnClose")->isVisible());
    EXPECT_FALSE(child<QPushButton>(&wizard, "btnCancel")->isVisible());
    EXPECT_TRUE(QFileInfo::exists(dest + QStringLiteral("/Adrs/アドレス/Adrs.DB")));
    shot(&wizard, "backup-3");
    child<QPushButton>(&wizard, "btnClose")->click();
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
}

TEST_F(WizardTest, RestoreChecksItsFoldersAndSwitchesTheDataFolder)
{
    MessageRecorder messages;
    SetDiskSpaceOverride([](const QString&) { return TDiskSpace{4096, qint64(1) << 40}; });
    const QString backup = m_root + QStringLiteral("backup/");
    CopyData(TDataParts::OfDataFolder(DataFolder, CategoryFolder), TDataParts::OfBackup(backup),
             BackupBooks(), HistoryLabels(keywords()), TCopyDirection::Backup);
    int closeCalls = 0;
    bool childrenClose = false;
    TRestoreData wizard(nullptr, keywords(), [&] {
        ++closeCalls;
        return childrenClose;
    });
    wizard.show();
    auto* src = child<QLineEdit>(&wizard, "edtSrc");
    auto* dest = child<QLineEdit>(&wizard, "edtDest");
    EXPECT_EQ(src->text(), DataFolder);
    EXPECT_FALSE(dest->isEnabled());
    shot(&wizard, "restore-1");

    struct Refusal
    {
        QString source;
        bool selectDest;
        QString dest;
        const char* message;
    };
    const QList<Refusal> refusals = {
        {m_root + QStringLiteral("nowhere"), false, {}, "復元元フォルダーが見つかりません  "},
        {DataFolder, false, {}, "復元元に現在使用しているデータ保存フォルダーを指定しています  "},
        {backup, true, backup, "復元元と復元先で同じフォルダーを指定しています  "},
        {m_root, true, m_root + QStringLiteral("x"), "復元元フォルダーには復元するデータがありません  "},
    };
    for (const Refusal& r : refusals) {
        src->setText(r.source);
        child<QRadioButton>(&wizard, r.selectDest ? "rbSelectDataPath" : "rbNowDataPath")->setChecked(true);
        dest->setText(r.dest);
        messages.answer(MsgSeam::IdOk);
        wizard.btnNextClick();
        EXPECT_EQ(messages.last().text, QString::fromUtf8(r.message));
        EXPECT_EQ(page(&wizard), 0) << r.message;
    }

    const QString other = m_root + QStringLiteral("other");
    src->setText(backup);
    dest->setText(other);
    wizard.btnNextClick();
    ASSERT_EQ(page(&wizard), 1);
    EXPECT_EQ(wizard.Books(), QStringList({QStringLiteral("アドレス"), QStringLiteral("仕事")}));
    shot(&wizard, "restore-2");

    // A child window that stays open stops the restore before anything is touched.
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdYes);
    wizard.btnRestoreClick();
    EXPECT_EQ(closeCalls, 1);
    EXPECT_EQ(page(&wizard), 1);
    EXPECT_FALSE(QFileInfo::exists(other + QStringLiteral("/Adrs")));

    childrenClose = true;
    messages.answer(MsgSeam::IdYes);
    wizard.btnRestoreClick();
    ASSERT_EQ(page(&wizard), 2);
    EXPECT_EQ(resultRows(&wizard).first(), QStringLiteral("アドレス帳： アドレス|○|"));
    auto* change = child<QCheckBox>(&wizard, "chkChangeDataPath");
    EXPECT_TRUE(change->isChecked());
    shot(&wizard, "restore-3");
    child<QPushButton>(&wizard, "btnClose")->click();
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(DataFolder, other + u'/');
    EXPECT_EQ(AdrsFolder, other + QStringLiteral("/Adrs/"));
    const TMemIniFile settings(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(
        DecodeDataPath(settings.ReadString(QStringLiteral("BASE"), QStringLiteral("DataPath"), QString())),
        other + u'/');
}

TEST_F(WizardTest, RestoreIntoTheFolderInUseKeepsTheDataFolder)
{
    MessageRecorder messages;
    SetDiskSpaceOverride([](const QString&) { return TDiskSpace{4096, qint64(1) << 40}; });
    const QString backup = m_root + QStringLiteral("backup/");
    CopyData(TDataParts::OfDataFolder(DataFolder, CategoryFolder), TDataParts::OfBackup(backup),
             BackupBooks(), HistoryLabels(keywords()), TCopyDirection::Backup);
    const QString data = DataFolder;
    TRestoreData wizard(nullptr, keywords(), [] { return true; });
    child<QLineEdit>(&wizard, "edtSrc")->setText(backup);
    wizard.btnNextClick();
    messages.answer(MsgSeam::IdYes);
    wizard.btnRestoreClick();
    ASSERT_EQ(page(&wizard), 2);
    auto* change = child<QCheckBox>(&wizard, "chkChangeDataPath");
    EXPECT_FALSE(change->isChecked());
    EXPECT_FALSE(change->isEnabled());
    wizard.btnCloseClick();
    EXPECT_EQ(DataFolder, data);
    EXPECT_FALSE(QFileInfo::exists(DataRootFolder + MainSettingsFileName));
}

TEST(MaintenanceCommands, BackupAndRestoreAreRegistered)
{
    RegisterMaintenanceCommands();
    EXPECT_TRUE(HasListCommand(TListCommand::Backup));
    EXPECT_TRUE(HasListCommand(TListCommand::Restore));
    for (TListCommand c : {TListCommand::Backup, TListCommand::Restore, TListCommand::Info,
                           TListCommand::StartupNotices, TListCommand::Version})
        RegisterListCommand(c, {});
}

} // namespace
