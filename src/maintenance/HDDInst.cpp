// The hard-disk install: estimate, disc test, copy loop, record and dialog.
#include "maintenance/HDDInst.h"

#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "maintenance/ChgDisc.h"
#include "maintenance/HdiRW.h"
#include "platform/Cp932.h"
#include "platform/DiskSpace.h"
#include "platform/SystemPaths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

const std::array<THddDataFile, 14> HddDataFiles = {{
    {"drup17ai1", 1024},
    {"drup17ai2", 8192},
    {"drup17ai3", 974848},
    {"drup17am", 249350144},
    {"drup17tbi1", 1024},
    {"drup17tbi2", 4096},
    {"drup17tbm", 1798144},
    {"drup17tci1", 1024},
    {"drup17tci2", 80896},
    {"drup17tcm", 82485248},
    {"drup17tkm", 1414044},
    {"drup17tti1", 2048},
    {"drup17tti2", 176128},
    {"drup17ttm", 89268224},
}};

namespace {

THDDInstall::TCopyObserver& copyObserver()
{
    static THDDInstall::TCopyObserver observer;
    return observer;
}

int info(QWidget* owner, const QString& text, unsigned flags = MsgSeam::MbIconInformation)
{
    return MessageBoxPos(owner, text, ProductTitle, flags);
}

QString recordPath()
{
    return DataRootFolder + InstallRecordFileName;
}

bool sameFolder(const QString& a, const QString& b)
{
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

// Copies one file through a temporary name; false on any failure or when progress cancels.
bool copyOne(int index, const QString& source, const QString& target, qint64& done, qint64 total,
             const TInstallCopyProgress& progress, bool& cancelled)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QString temporary = target + QStringLiteral(".part");
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    constexpr qint64 Chunk = 1 << 20;
    qint64 copied = 0;
    while (true) {
        const QByteArray block = in.read(Chunk);
        if (block.isEmpty())
            break;
        if (out.write(block) != block.size())
            return false;
        copied += block.size();
        done += block.size();
        if (progress && !progress(index, done, total)) {
            cancelled = true;
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError || !out.flush() || copied != in.size() || out.size() != copied)
        return false;
    out.close();
    // The disc's files are read-only; the copies are the user's.
    QFile::setPermissions(temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ReadGroup | QFileDevice::ReadOther);
    QFile::remove(target);
    return QFile::rename(temporary, target);
}

} // namespace

qint64 NeededInstallBytes(qint64 clusterSize)
{
    qint64 sum = 0;
    for (const THddDataFile& file : HddDataFiles)
        sum += clusterSize > 0 ? (file.size + clusterSize - 1) / clusterSize * clusterSize : file.size;
    return sum;
}

bool InstallSpaceSuffices(qint64 freeBytes, qint64 needed)
{
    return freeBytes - needed > InstallSpareBytes;
}

QString FormatMegabytes(qint64 bytes)
{
    return QLocale(QLocale::English).toString(double(bytes) / 1024.0 / 1024.0, 'f', 2);
}

int CheckProductDisc(const QString& drive)
{
    const std::optional<QString> label = SystemPaths::DriveVolumeLabel(drive);
    if (!label)
        return -2;
    return label->trimmed().toLower().startsWith(QStringLiteral("vk318d")) ? 0 : -1;
}

QString FindProductDisc(const QStringList& drives)
{
    for (const QString& drive : drives)
        if (CheckProductDisc(drive) == 0)
            return drive;
    return drives.isEmpty() ? QString() : drives.first();
}

bool SaveInstallState()
{
    if (!HddInstalled) {
        QFile::remove(recordPath());
        return !QFileInfo::exists(recordPath());
    }
    TInstallRecord record;
    record.FilePath = recordPath();
    record.Tag = InstallRecordTag;
    record.Count = 1;
    TInstallEntry& entry = record.Entries[0];
    if (sameFolder(HddInstallFolder, DataRootFolder)) {
        entry.Length = 0;
    } else {
        entry.Path = ToAnsi(HddInstallFolder);
        entry.Length = int32_t(entry.Path.size());
    }
    return SaveInstallRecord(record) == iwOk;
}

bool RemoveInstalledData(const QString& folder)
{
    const QFileInfo base(folder);
    if (folder.isEmpty() || !base.isAbsolute() || !base.isDir())
        return false;
    const QString canonical = base.canonicalFilePath();
    if (canonical == QStringLiteral("/") || canonical == QDir(QDir::homePath()).canonicalPath())
        return false;
    const QString data = SystemPaths::WithSlash(canonical) + InstallDataFolderName;
    if (!QFileInfo::exists(data))
        return true;
    return DeleteFolderTree(data);
}

TInstallCopyResult CopyInstallFiles(const QString& sourceFolder, const QString& targetFolder,
                                    const TInstallCopyProgress& progress)
{
    qint64 total = 0;
    for (const THddDataFile& file : HddDataFiles)
        total += QFileInfo(sourceFolder + QLatin1String(file.name)).size();
    qint64 done = 0;
    bool cancelled = false;
    bool ok = QDir().mkpath(targetFolder);
    for (int i = 0; ok && i < int(HddDataFiles.size()); ++i) {
        if (progress && !progress(i, done, total)) {
            cancelled = true;
            ok = false;
            break;
        }
        const QString name = QLatin1String(HddDataFiles[size_t(i)].name);
        ok = copyOne(i, sourceFolder + name, targetFolder + name, done, total, progress, cancelled);
    }
    if (ok)
        return TInstallCopyResult::Done;
    DeleteFolderTree(targetFolder);
    return cancelled ? TInstallCopyResult::Cancelled : TInstallCopyResult::Failed;
}

// ---- THDDInstall ----

void THDDInstall::SetCopyObserver(TCopyObserver observer)
{
    copyObserver() = std::move(observer);
}

THDDInstall::THDDInstall(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("HDDInstall"));
    setWindowTitle(QStringLiteral("電話帳データのインストール"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SetHelpContext(this, 3);

    auto* intro = new QLabel(
        QStringLiteral("電話帳データをハードディスクにインストールしたり、アンインストールしたりします"));
    intro->setWordWrap(true);
    auto* note =
        new QLabel(QStringLiteral("※容量は環境によって誤差がでますので、目安として参考にしてください"));
    note->setWordWrap(true);
    lblNeedSize = Named<QLabel>(this, "lblNeedSize");
    auto sizeEdit = [this](const char* name) {
        auto* e = Named<QLineEdit>(this, name);
        e->setReadOnly(true);
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(110);
        return e;
    };
    edtNeedSize = sizeEdit("edtNeedSize");
    edtFreeSize = sizeEdit("edtFreeSize");
    bbtnInstall = MakeButton(this, "bbtnInstall", QStringLiteral("インストール"));
    bbtnUninstall = MakeButton(this, "bbtnUninstall", QStringLiteral("アンインストール"));
    bbtnUpdate = MakeButton(this, "bbtnUpdate", QStringLiteral("更新"));
    btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"), true);
    connect(bbtnInstall, &QPushButton::clicked, this, &THDDInstall::bbtnInstallClick);
    connect(bbtnUninstall, &QPushButton::clicked, this, &THDDInstall::bbtnUninstallClick);
    connect(bbtnUpdate, &QPushButton::clicked, this, &THDDInstall::bbtnUpdateClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* sizes = new QGridLayout;
    sizes->addWidget(lblNeedSize, 0, 0);
    sizes->addWidget(edtNeedSize, 0, 1);
    sizes->addWidget(new QLabel(QStringLiteral("／")), 0, 2);
    sizes->addWidget(new QLabel(QStringLiteral("空き容量：")), 0, 3);
    sizes->addWidget(edtFreeSize, 0, 4);
    sizes->addWidget(new QLabel(QStringLiteral("MB")), 0, 5);
    sizes->addWidget(bbtnUpdate, 0, 6);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(sizes);
    layout->addWidget(note);
    layout->addLayout(ButtonRow({bbtnInstall, bbtnUninstall, btnClose}));

    updateButtons();
    bbtnUpdateClick();
}

void THDDInstall::updateButtons()
{
    lblNeedSize->setText(HddInstalled ? QStringLiteral("増える空き容量：") : QStringLiteral("必要な容量："));
    bbtnInstall->setEnabled(!HddInstalled);
    bbtnUninstall->setEnabled(HddInstalled);
}

void THDDInstall::bbtnUpdateClick()
{
    const DiskSpace::TVolumeSpace space = DiskSpace::Query(DataRootFolder);
    m_clusterSize = space.clusterSize;
    m_needSize = NeededInstallBytes(m_clusterSize);
    m_freeSize = space.freeBytes;
    edtNeedSize->setText(FormatMegabytes(m_needSize));
    edtFreeSize->setText(m_freeSize == 0 ? QStringLiteral("--- ") : FormatMegabytes(m_freeSize));
}

bool THDDInstall::install()
{
    CollectDrives(dfCdRom);
    QString drive = FindProductDisc(DriveList.mid(0, DriveCount));
    while (CheckProductDisc(drive) != 0) {
        QApplication::restoreOverrideCursor();
        TChangeDisc disc(this);
        disc.SetDrive(drive);
        disc.SetMessage(QStringLiteral("Tovarelのディスクの  \r\n場所を指定してください  \r\n\r\n"
                                       "キャンセルすると、インストール処理を中止します  "));
        CenterForm(&disc, this);
        const bool chosen = disc.exec() == QDialog::Accepted;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (!chosen)
            return false;
        drive = disc.Drive();
    }

    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("InstallProgress"));
    progress.setWindowTitle(QStringLiteral("Tovarelの電話帳データをインストール中．．．"));
    progress.setCancelButtonText(QStringLiteral("キャンセル"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.setRange(0, 1000);
    progress.setMinimumWidth(360);
    progress.show();
    const QString source = SystemPaths::WithSlash(drive) + DiscDataFolderName;
    const QString target = DataRootFolder + InstallDataFolderName;
    int file = -1;
    const TInstallCopyResult result =
        CopyInstallFiles(source, target, [&](int index, qint64 done, qint64 total) {
            if (index != file) {
                file = index;
                progress.setLabelText(QLatin1String(HddDataFiles[size_t(file)].name));
                if (copyObserver())
                    copyObserver()(progress, file);
            }
            progress.setValue(total > 0 ? int(done * 1000 / total) : 0);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.close();
    ForceForegroundWindow(this);
    if (result != TInstallCopyResult::Done)
        return false;
    HddInstalled = true;
    HddInstallFolder = DataRootFolder;
    updateButtons();
    return true;
}

void THDDInstall::bbtnInstallClick()
{
    if (!InstallSpaceSuffices(m_freeSize, m_needSize)) {
        info(this, QStringLiteral("空き容量が足りません  \r\n\r\n※作業領域として10MBほど余分に必要です  "));
        return;
    }
    if (info(this, QStringLiteral("電話帳データをハードディスクにインストールします  \r\nよろしいですか？  "),
             MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return;
    repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool installed = install();
    bool recordSaved = true;
    if (installed) {
        recordSaved = SaveInstallState();
        bbtnUpdateClick();
    }
    QApplication::restoreOverrideCursor();
    if (!installed) {
        info(this, QStringLiteral("電話帳データのインストールを中止しました  "));
        return;
    }
    // The install stands for this run even when its record could not be kept.
    if (!recordSaved)
        info(this,
             QStringLiteral("インストール情報が保存できませんでした  \r\n"
                            "次回の起動ではディスクを検索します  "),
             MsgSeam::MbIconExclamation);
    info(this, QStringLiteral("電話帳データのインストールが完了しました  "));
    btnClose->setFocus();
}

void THDDInstall::bbtnUninstallClick()
{
    if (info(this, QStringLiteral("電話帳データをアンインストールします  \r\nよろしいですか？  "),
             MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return;
    repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (HddInstalled && RemoveInstalledData(HddInstallFolder)) {
        HddInstalled = false;
        HddInstallFolder.clear();
        updateButtons();
    }
    if (!HddInstalled) {
        SaveInstallState();
        bbtnUpdateClick();
    }
    QApplication::restoreOverrideCursor();
    if (HddInstalled) {
        info(this, QStringLiteral("電話帳データのアンインストールを中止しました  "));
        return;
    }
    info(this, QStringLiteral("電話帳データのアンインストールが完了しました  "));
    btnClose->setFocus();
}
