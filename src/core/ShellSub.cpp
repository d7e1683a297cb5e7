// Shell, process and folder helpers on Qt and POSIX.
#include "core/ShellSub.h"

#include "platform/SystemPaths.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QProcess>
#include <QScreen>
#include <QStorageInfo>
#include <QUrl>
#include <QWidget>

#include <cerrno>

QStringList DriveList;
int DriveCount = 0;

namespace {

// errno for a program that QProcess could not start.
int startErrorFor(const QString& program)
{
    const QFileInfo info(program);
    if (info.isAbsolute() || program.contains(u'/')) {
        if (!info.exists())
            return ENOENT;
        if (!info.isFile() || !info.isExecutable())
            return EACCES;
        return ENOEXEC;
    }
    return ENOENT; // not found on PATH
}

QString resolvedFolder(const QString& folder, const QString& programPath)
{
    QString f = folder.trimmed();
    if (f == QLatin1String("@"))
        f = QFileInfo(programPath).absolutePath();
    return f;
}

// How long an opener that was not to be waited for gets to hand the document over and report.
constexpr int HandOverMs = 5000;

// Opens a document, folder or URL with the desktop's opener and answers by its exit status: 0, ENOENT when
// the target is missing, ENOEXEC when nothing could open it. Without noWait the opener is waited for until it
// ends; with noWait only until it has handed over (an opener still busy then counts as started).
int openWithDesktop(const QString& target, bool noWait)
{
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({target});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted(-1)) {
        delete opener;
        return ENOEXEC;
    }
    if (!opener->waitForFinished(noWait ? HandOverMs : -1)) {
        // Left to run on its own; it goes when it ends.
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return 0;
    }
    const bool ok = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
    const int code = opener->exitCode();
    delete opener;
    if (ok)
        return 0;
    return code == 2 ? ENOENT : ENOEXEC; // xdg-open: 2 the file does not exist
}

class TDesktopOpener : public TShellOpener
{
public:
    int Open(const TShellOpenRequest& r) override
    {
        const QString folder = resolvedFolder(r.folder, r.file);
        const QUrl asUrl(r.file);
        const bool isUrl = asUrl.isValid() && asUrl.scheme().size() > 1 && !QFileInfo(r.file).isAbsolute();
        if (isUrl)
            return openWithDesktop(r.file, r.noWait);

        const QFileInfo info(r.file);
        if (!info.exists())
            return ENOENT;
        if (info.isFile() && info.isExecutable()) {
            QProcess process;
            process.setProgram(info.absoluteFilePath());
            process.setArguments(QProcess::splitCommand(r.parameters));
            if (!folder.isEmpty() && QFileInfo(folder).isDir())
                process.setWorkingDirectory(folder);
            if (r.noWait)
                return process.startDetached() ? 0 : startErrorFor(info.absoluteFilePath());
            process.start();
            if (!process.waitForStarted(-1))
                return startErrorFor(info.absoluteFilePath());
            process.waitForFinished(-1);
            return 0;
        }
        return openWithDesktop(info.absoluteFilePath(), r.noWait);
    }
};

std::unique_ptr<TShellOpener>& currentOpener()
{
    static std::unique_ptr<TShellOpener> opener;
    return opener;
}

bool makeOwnerWritable(const QString& path)
{
    const QFile::Permissions p = QFile::permissions(path);
    const QFile::Permissions need = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    if ((p & need) == need)
        return true;
    return QFile::setPermissions(path, p | need);
}

void deleteContents(const QString& folder, bool keepFiles)
{
    makeOwnerWritable(folder);
    QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QString path = entry.absoluteFilePath();
        if (entry.isSymLink()) {
            // The link goes, whatever it points at stays.
            if (!keepFiles)
                QFile::remove(path);
        } else if (entry.isDir()) {
            DeleteFolderTree(path, keepFiles);
        } else if (!keepFiles) {
            QFile::remove(path);
        }
    }
}

} // namespace

QString ProgramPathOf(const QString& commandLine)
{
    bool inQuotes = false;
    int end = int(commandLine.size());
    for (int i = 0; i < commandLine.size(); ++i) {
        const QChar c = commandLine.at(i);
        if (c == u'"')
            inQuotes = !inQuotes;
        else if (c == u' ' && !inQuotes) {
            end = i;
            break;
        }
    }
    QString path = commandLine.left(end);
    path.remove(u'"');
    return path;
}

int RunProgram(const QString& commandLine, const QString& folder, bool noWait, int showCommand)
{
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty())
        return ENOENT;
    const QString program = parts.takeFirst();
    return RunProgram(program, parts, folder, noWait, showCommand);
}

int RunProgram(const QString& program, const QStringList& arguments, const QString& folder, bool noWait,
               int /*showCommand*/)
{
    if (program.isEmpty())
        return ENOENT;
    const QString workFolder = resolvedFolder(folder, program);

    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!workFolder.isEmpty() && QFileInfo(workFolder).isDir())
        process.setWorkingDirectory(workFolder);
    if (noWait)
        return process.startDetached() ? 0 : startErrorFor(program);

    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted(-1))
        return startErrorFor(program);
    if (process.state() != QProcess::NotRunning) {
        // Keep the program's windows alive while the child runs.
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return EINTR;
    return process.exitCode();
}

bool IsProgramFile(const QString& path)
{
    // A web address goes to the browser, whatever its name ends in; a file address is its file.
    QString local = path;
    const QUrl url(path);
    if (url.isValid() && url.scheme().size() > 1 && !QFileInfo(path).isAbsolute()) {
        if (!url.isLocalFile())
            return false;
        local = url.toLocalFile();
    }
    const QFileInfo info(local);
    if (info.isDir())
        return false;
    if (info.isFile() && info.isExecutable())
        return true;
    static const QStringList launched = {
        QStringLiteral("desktop"), QStringLiteral("exe"), QStringLiteral("com"), QStringLiteral("bat"),
        QStringLiteral("cmd"),     QStringLiteral("msi"), QStringLiteral("scr"), QStringLiteral("pif"),
        QStringLiteral("vbs"),     QStringLiteral("jar"), QStringLiteral("sh"),  QStringLiteral("run"),
        QStringLiteral("appimage")};
    return launched.contains(info.suffix(), Qt::CaseInsensitive);
}

int ShellOpen(const QString& file, const QString& parameters, const QString& folder, bool noWait,
              int showCommand)
{
    if (!currentOpener())
        currentOpener() = std::make_unique<TDesktopOpener>();
    return currentOpener()->Open({file, parameters, folder, noWait, showCommand});
}

std::unique_ptr<TShellOpener> SetShellOpener(std::unique_ptr<TShellOpener> opener)
{
    std::unique_ptr<TShellOpener> previous = std::move(currentOpener());
    currentOpener() = std::move(opener);
    return previous;
}

QString SelectFolderStart(const QString& path, bool useProgramFolder)
{
    if (!path.trimmed().isEmpty() && QFileInfo(path).isDir())
        return path;
    if (useProgramFolder)
        return SystemPaths::ExecutableFolder();
    return QString();
}

bool SelectFolder(QString& path, QWidget* owner, const QString& title, bool useProgramFolder,
                  bool allowNewFolder)
{
    QFileDialog::Options options = QFileDialog::ShowDirsOnly;
    if (!allowNewFolder)
        options |= QFileDialog::ReadOnly; // no new-folder button
    const QString chosen =
        QFileDialog::getExistingDirectory(owner, title, SelectFolderStart(path, useProgramFolder), options);
    if (chosen.isEmpty() || !QFileInfo(chosen).isDir())
        return false;
    path = SystemPaths::WithSlash(QDir::cleanPath(chosen));
    return true;
}

bool DeleteFolderTree(const QString& folder, bool keepFiles)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const QFileInfo info(path);
    if (info.isSymLink())
        return QFile::remove(path) || !QFileInfo::exists(path);
    if (!info.exists())
        return true;
    if (!info.isDir())
        return false;
    deleteContents(path, keepFiles);
    // rmdir needs the parent to be writable, not the folder itself.
    QDir().rmdir(path);
    return !QFileInfo(path).exists() && !QFileInfo(path).isSymLink();
}

bool CreateFolderForEveryone(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    return QDir().mkpath(folder) && QFileInfo(folder).isDir();
}

QString GetAppDataFolder()
{
    QString folder = SystemPaths::CommonAppData().trimmed();
    if (folder.isEmpty())
        folder = SystemPaths::UserAppData().trimmed();
    return SystemPaths::WithSlash(folder);
}

void CollectDrives(unsigned flags)
{
    DriveList.clear();
    if (flags & dfCdRom)
        DriveList += SystemPaths::DiscDrives();
    if ((flags & dfRemote) && !qEnvironmentVariableIsSet("TOVAREL_DRIVES")) {
        static const QByteArrayList remoteTypes = {"nfs",   "nfs4",       "cifs", "smb3",
                                                   "smbfs", "fuse.sshfs", "9p"};
        for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
            if (remoteTypes.contains(volume.fileSystemType()))
                DriveList.append(volume.rootPath());
    }
    DriveCount = int(DriveList.size());
}

QPoint CenterRect(const QRect& form, const QRect* other, const QRect& work)
{
    if (!other)
        return QPoint(work.left() + (work.width() - form.width()) / 2,
                      work.top() + (work.height() - form.height()) / 2);
    int left = other->left() + (other->width() - form.width()) / 2;
    int top = other->top() + (other->height() - form.height()) / 2;
    if (left < work.left())
        left = work.left();
    else if (left + form.width() > work.left() + work.width())
        left = work.left() + work.width() - form.width();
    if (top < work.top())
        top = work.top();
    else if (top + form.height() > work.top() + work.height())
        top = work.top() + work.height() - form.height();
    return QPoint(left, top);
}

void CenterForm(QWidget* form, QWidget* other)
{
    if (!form)
        return;
    QScreen* screen = other ? other->screen() : form->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // A window not shown yet takes the size its contents ask for only when shown: take it now, as showing
    // would, or it is centred by the default size and hangs off-centre.
    if (!form->isVisible() && !form->testAttribute(Qt::WA_Resized))
        form->adjustSize();
    const QRect formRect = form->frameGeometry();
    QRect otherRect;
    if (other)
        otherRect = other->frameGeometry();
    form->move(CenterRect(formRect, other ? &otherRect : nullptr, work));
}

void ForceForegroundWindow(QWidget* window)
{
    if (!window)
        return;
    window = window->window();
    if (window->isMinimized())
        window->showNormal();
    else if (!window->isVisible())
        window->show();
    window->raise();
    window->activateWindow();
}
