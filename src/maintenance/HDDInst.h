// The hard-disk install of the directory data: the space estimate, the product disc test, the copy into
// DataRootFolder + "Dt00/", the install record and the install dialog.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;

struct THddDataFile
{
    const char* name;
    qint64 size; // bytes, for the space estimate only
};
// The 14 data files in copy order.
extern const std::array<THddDataFile, 14> HddDataFiles;

inline const QString InstallRecordFileName = QStringLiteral("Quenrid215.hdi");
inline const QByteArray InstallRecordTag = "Quenrid215";
inline const QString InstallDataFolderName = QStringLiteral("Dt00/");
// The disc's folder of the directory data.
inline const QString DiscDataFolderName = QStringLiteral("Quenrid215/");
// Room the copy needs beyond the data themselves.
constexpr qint64 InstallSpareBytes = 10485760;

// The sum of the data files' sizes, each rounded up to whole clusters (unrounded when clusterSize is 0).
qint64 NeededInstallBytes(qint64 clusterSize);
// Whether freeBytes exceeds needed by more than InstallSpareBytes.
bool InstallSpaceSuffices(qint64 freeBytes, qint64 needed);
// bytes as megabytes with two decimals and thousands separators ("1,234.56").
QString FormatMegabytes(qint64 bytes);

// 0 when the drive's volume label, trimmed and in lower case, begins with "vk318d"; -1 for another label; -2
// when the volume cannot be read.
int CheckProductDisc(const QString& drive);
// The first drive that holds the product disc, else the first drive, else "".
QString FindProductDisc(const QStringList& drives);

// Writes HddInstalled and HddInstallFolder into the record in DataRootFolder, or deletes the record when
// nothing is installed; false when that failed.
bool SaveInstallState();
// Deletes folder + "Dt00/" with everything in it. Only below a folder that exists and is neither the root
// nor the home folder; true when no "Dt00/" is left there.
bool RemoveInstalledData(const QString& folder);

enum class TInstallCopyResult { Done, Cancelled, Failed };
// Told the file being copied (index into HddDataFiles, once before it starts and after each block) and the
// bytes copied so far and in all; answers false to cancel.
using TInstallCopyProgress = std::function<bool(int file, qint64 done, qint64 total)>;
// Copies the 14 files from sourceFolder into targetFolder (created when missing), each through a temporary
// name that is checked and renamed; the copies are the user's to change. Cancel or failure deletes
// targetFolder.
TInstallCopyResult CopyInstallFiles(const QString& sourceFolder, const QString& targetFolder,
                                    const TInstallCopyProgress& progress);

class THDDInstall : public QDialog
{
public:
    explicit THDDInstall(QWidget* owner);

    // Recomputes the cluster size, the needed and the free space and shows them.
    void bbtnUpdateClick();
    void bbtnInstallClick();
    void bbtnUninstallClick();

    qint64 NeedSize() const { return m_needSize; }
    qint64 FreeSize() const { return m_freeSize; }

    // Tests watch the copy's progress window before each file (index 0 to 13) and may cancel it there.
    using TCopyObserver = std::function<void(QProgressDialog& progress, int file)>;
    static void SetCopyObserver(TCopyObserver observer);

private:
    void updateButtons();
    bool install();

    qint64 m_clusterSize = 0;
    qint64 m_needSize = 0;
    qint64 m_freeSize = 0;

    QLabel* lblNeedSize;
    QLineEdit* edtNeedSize;
    QLineEdit* edtFreeSize;
    QPushButton* bbtnInstall;
    QPushButton* bbtnUninstall;
    QPushButton* bbtnUpdate;
    QPushButton* btnClose;
};
