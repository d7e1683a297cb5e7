// The hard-disk install: the space estimate, the disc test and choice, the copy with its cancel, the record
// written and the uninstall.
#include "maintenance/HDDInst.h"

#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "maintenance/ChgDisc.h"
#include "maintenance/HdiRW.h"
#include "platform/DiskSpace.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/StartupFixture.h"
#include "support/TestFiles.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

namespace {

const QString Done = QStringLiteral("電話帳データのインストールが完了しました  ");
const QString Stopped = QStringLiteral("電話帳データのインストールを中止しました  ");

class HDDInstTest : public StartupFixture
{
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        m_other = m_root + QStringLiteral("cd");
        m_disc = m_root + QStringLiteral("VK318D01");
        for (size_t i = 0; i < HddDataFiles.size(); ++i)
            WriteFileBytes(m_disc + QStringLiteral("/Quenrid215/") + QLatin1String(HddDataFiles[i].name),
                           QByteArray(int(100 + i), char('a' + i)));
        QFile::setPermissions(m_disc + QStringLiteral("/Quenrid215/drup17am"), QFileDevice::ReadOwner);
        setDrives({m_other, m_disc});
        setFree(NeededInstallBytes(4096) + InstallSpareBytes + 1);
    }
    void TearDown() override
    {
        DiskSpace::SetSpaceSource({});
        THDDInstall::SetCopyObserver({});
        StartupFixture::TearDown();
    }
    void setDrives(const QStringList& drives)
    {
        setEnv("TOVAREL_DRIVES", drives.join(u':'));
        CollectDrives(dfCdRom);
    }
    void setFree(qint64 bytes)
    {
        DiskSpace::SetSpaceSource([bytes](const QString&) { return DiskSpace::TVolumeSpace{4096, bytes}; });
    }
    QString dt00() const { return DataRootFolder + QStringLiteral("Dt00/"); }

    QString m_other;
    QString m_disc;
};

TEST_F(HDDInstTest, SpaceEstimateAndTheTenMegabyteMargin)
{
    EXPECT_EQ(NeededInstallBytes(0), 425565084);
    EXPECT_EQ(NeededInstallBytes(4096), 425582592);
    EXPECT_FALSE(InstallSpaceSuffices(1000 + InstallSpareBytes, 1000));
    EXPECT_TRUE(InstallSpaceSuffices(1000 + InstallSpareBytes + 1, 1000));
    EXPECT_EQ(FormatMegabytes(1234567890), QStringLiteral("1,177.38"));

    setFree(NeededInstallBytes(4096) + InstallSpareBytes);
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    THDDInstall dialog(nullptr);
    dialog.bbtnInstallClick();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("空き容量が足りません")));
    EXPECT_FALSE(QFileInfo::exists(dt00()));
    setFree(0);
    dialog.bbtnUpdateClick();
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("edtFreeSize"))->text(), QStringLiteral("--- "));
}

TEST_F(HDDInstTest, ProductDiscIsFoundByItsLabel)
{
    EXPECT_EQ(CheckProductDisc(m_disc), 0);
    EXPECT_EQ(CheckProductDisc(m_other), -1);
    EXPECT_EQ(CheckProductDisc(m_root + QStringLiteral("no-disc")), -2);
    EXPECT_EQ(FindProductDisc({m_other, m_disc}), m_disc);
    EXPECT_EQ(FindProductDisc({m_other}), m_other);
    EXPECT_EQ(FindProductDisc({}), QString());
}

TEST_F(HDDInstTest, InstallCopiesTheFilesAndWritesTheRecord)
{
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    THDDInstall dialog(nullptr);
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("bbtnUninstall"))->isEnabled());
    dialog.bbtnInstallClick();
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.messages()[0].flags & MsgSeam::MbDefButton2, MsgSeam::MbDefButton2);
    EXPECT_EQ(messages.last().text, Done);
    EXPECT_TRUE(HddInstalled);
    EXPECT_EQ(HddInstallFolder, DataRootFolder);
    for (size_t i = 0; i < HddDataFiles.size(); ++i) {
        const QString copy = dt00() + QLatin1String(HddDataFiles[i].name);
        EXPECT_EQ(ReadFileBytes(copy), QByteArray(int(100 + i), char('a' + i))) << HddDataFiles[i].name;
        EXPECT_TRUE(QFileInfo(copy).isWritable());
    }
    EXPECT_EQ(QDir(dt00()).entryList(QDir::Files).size(), 14);
    EXPECT_EQ(ReadFileBytes(DataRootFolder + InstallRecordFileName),
              QByteArray::fromHex("0A") + ScrambleInstallText("Quenrid215") + QByteArray::fromHex("01000000"));
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("bbtnUninstall"))->isEnabled());

    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    dialog.bbtnUninstallClick();
    EXPECT_EQ(messages.last().text, QStringLiteral("電話帳データのアンインストールが完了しました  "));
    EXPECT_FALSE(HddInstalled);
    EXPECT_FALSE(QFileInfo::exists(dt00()));
    EXPECT_FALSE(QFileInfo::exists(DataRootFolder + InstallRecordFileName));
    EXPECT_TRUE(QFileInfo::exists(m_disc + QStringLiteral("/Quenrid215/drup17am")));
}

TEST_F(HDDInstTest, CancelledCopyLeavesNoData)
{
    THDDInstall::SetCopyObserver([](QProgressDialog& progress, int file) {
        EXPECT_EQ(progress.windowTitle(), QStringLiteral("Tovarelの電話帳データをインストール中．．．"));
        if (file == 3)
            progress.cancel();
    });
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    THDDInstall dialog(nullptr);
    dialog.bbtnInstallClick();
    EXPECT_EQ(messages.last().text, Stopped);
    EXPECT_FALSE(HddInstalled);
    EXPECT_FALSE(QFileInfo::exists(dt00()));
    EXPECT_FALSE(QFileInfo::exists(DataRootFolder + InstallRecordFileName));
}

TEST_F(HDDInstTest, DiscDialogPreselectsTheFirstDriveAndCancelStops)
{
    setDrives({m_other, m_root + QStringLiteral("other2")});
    QDir().mkpath(m_root + QStringLiteral("other2"));
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    ModalDriver driver;
    QString preselected;
    driver.on(QStringLiteral("ChangeDisc"), [&](QWidget* w) {
        preselected = w->findChild<QComboBox*>(QStringLiteral("cbxCD"))->currentData().toString();
        w->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    });
    THDDInstall dialog(nullptr);
    dialog.bbtnInstallClick();
    EXPECT_EQ(preselected, m_other);
    EXPECT_EQ(messages.last().text, Stopped);
    EXPECT_FALSE(QFileInfo::exists(dt00()));
}

TEST_F(HDDInstTest, DiscChosenInTheDialogIsTested)
{
    setDrives({m_other});
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    ModalDriver driver;
    driver.on(QStringLiteral("ChangeDisc"), [&](QWidget* w) {
        // The disc goes into the second drive; "更新" finds it.
        setEnv("TOVAREL_DRIVES", m_other + u':' + m_disc);
        w->findChild<QPushButton*>(QStringLiteral("bbtnUpdate"))->click();
        auto* box = w->findChild<QComboBox*>(QStringLiteral("cbxCD"));
        box->setCurrentIndex(box->findData(m_disc));
        w->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    });
    THDDInstall dialog(nullptr);
    dialog.bbtnInstallClick();
    EXPECT_EQ(messages.last().text, Done);
    EXPECT_TRUE(QFileInfo(dt00() + QStringLiteral("drup17ttm")).isFile());
}

TEST_F(HDDInstTest, RecordWriterAndUninstallGuards)
{
    TInstallRecord record;
    record.FilePath = DataRootFolder + InstallRecordFileName;
    record.Tag = "Quenrid215";
    EXPECT_EQ(WriteInstallRecord(record, true), iwNoFile);
    EXPECT_FALSE(QFileInfo::exists(record.FilePath));
    record.Entries[0].Length = 0;
    record.Entries[3].Length = 4;
    record.Entries[3].Path = "/abc";
    EXPECT_EQ(SaveInstallRecord(record), iwOk);
    TInstallRecord read;
    read.FilePath = record.FilePath;
    read.Tag = "Quenrid215";
    ASSERT_EQ(ReadInstallRecord(read), irOk);
    EXPECT_EQ(read.Count, 2);
    EXPECT_EQ(read.Entries[0].Length, 0);
    EXPECT_EQ(read.Entries[3].Path, QByteArray("/abc"));
    record.FilePath = m_root + QStringLiteral("missing/folder/Quenrid215.hdi");
    EXPECT_EQ(SaveInstallRecord(record), iwTagLength);

    // A record naming the root, the home folder or a folder that is gone deletes nothing.
    EXPECT_FALSE(RemoveInstalledData(QStringLiteral("/")));
    EXPECT_FALSE(RemoveInstalledData(QDir::homePath()));
    EXPECT_FALSE(RemoveInstalledData(m_root + QStringLiteral("gone/")));
    EXPECT_FALSE(RemoveInstalledData(QStringLiteral("relative")));
    WriteFileBytes(m_root + QStringLiteral("elsewhere/Dt00/x"), "x");
    WriteFileBytes(m_root + QStringLiteral("elsewhere/keep"), "k");
    EXPECT_TRUE(RemoveInstalledData(m_root + QStringLiteral("elsewhere/")));
    EXPECT_FALSE(QFileInfo::exists(m_root + QStringLiteral("elsewhere/Dt00")));
    EXPECT_TRUE(QFileInfo::exists(m_root + QStringLiteral("elsewhere/keep")));
}

TEST_F(HDDInstTest, FailedRecordWriteIsReportedAndTheInstallStands)
{
    // A folder in the record's place makes its write fail.
    QDir().mkpath(DataRootFolder + InstallRecordFileName + QStringLiteral("/x"));
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    THDDInstall dialog(nullptr);
    dialog.bbtnInstallClick();
    ASSERT_EQ(messages.count(), 3);
    EXPECT_EQ(messages.messages()[1].flags & 0xF0, MsgSeam::MbIconExclamation);
    EXPECT_EQ(messages.last().text, Done);
    EXPECT_TRUE(HddInstalled);
}

} // namespace
