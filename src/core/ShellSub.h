// Shell, process and folder helpers: starting programs and documents, folder choice and removal, disc drives,
// window placement.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

// Disc drives found by CollectDrives: mounted folders without a final "/"; the first DriveCount are filled.
extern QStringList DriveList;
extern int DriveCount;

// Drive kinds for CollectDrives.
enum TDriveFlag : unsigned { dfFixed = 1, dfCdRom = 2, dfRemote = 4 };

// Starts commandLine (program path, quoted when it holds blanks, then its arguments) as a new process without
// a shell. folder "@" means the program's own folder; a folder that does not exist is not used. With noWait
// answers 0 once started; otherwise waits (keeping the windows alive) and answers the exit code. A program
// that cannot be started answers its errno value (ENOENT, EACCES, ...). showCommand is accepted for the
// callers' sake; window managers decide how a new program's window shows.
int RunProgram(const QString& commandLine, const QString& folder, bool noWait, int showCommand = 1);
// The same with the program and its arguments apart, each argument handed over whole (blanks, quotes and
// empty arguments included). folder goes to the started process only; the program's own stays as it is.
int RunProgram(const QString& program, const QStringList& arguments, const QString& folder, bool noWait,
               int showCommand = 1);
// The program path of a command line: up to the first blank outside double quotes, quotes removed.
QString ProgramPathOf(const QString& commandLine);

// One request to the shell to open a file, folder, URL or program.
struct TShellOpenRequest
{
    QString file;
    QString parameters;
    QString folder;
    bool noWait = true;
    int showCommand = 1;
};

// What opens files for the program; tests install a recorder in its place.
class TShellOpener
{
public:
    virtual ~TShellOpener() = default;
    // Answers 0 or an errno value.
    virtual int Open(const TShellOpenRequest& request) = 0;
};

// Opens file with the shell: programs are started with the parameters, documents, folders and URLs go to the
// desktop's opener (xdg-open), whose exit status is the answer. folder "@" means the file's folder. Without
// noWait returns when the started program (or the opener) has ended. Answers 0 or an errno value (ENOENT:
// missing file, ENOEXEC: nothing could open it).
int ShellOpen(const QString& file, const QString& parameters, const QString& folder, bool noWait,
              int showCommand = 1);
// True when opening path would start a program rather than show a document: an executable file, or a file
// that the desktop or a compatibility layer would run (".desktop", ".exe", scripts, ...).
bool IsProgramFile(const QString& path);
// Installs opener in place of the desktop one (null restores it); answers the previous one.
std::unique_ptr<TShellOpener> SetShellOpener(std::unique_ptr<TShellOpener> opener);

// The folder browse dialog. The start folder is path when it exists, else with useProgramFolder the program's
// folder. True and the chosen folder (with a final "/") in path when one was chosen.
bool SelectFolder(QString& path, QWidget* owner, const QString& title, bool useProgramFolder,
                  bool allowNewFolder);
// The folder SelectFolder starts in ("" for the dialog's own default).
QString SelectFolderStart(const QString& path, bool useProgramFolder);

// Deletes folder with its files and sub-folders (only its sub-folders and their folders when keepFiles is
// set). Symbolic links are removed as links, never followed; read-only entries are removed too. True only
// when the folder is gone afterwards.
bool DeleteFolderTree(const QString& folder, bool keepFiles = false);

// Creates folder (with parents) for the program's user; true when it exists afterwards. The user's own data
// stays the user's: no world-writable permissions.
bool CreateFolderForEveryone(const QString& folder);

// The common application-data folder, or the user's when that cannot be obtained; with a final "/".
QString GetAppDataFolder();

// Refills DriveList and DriveCount with the drives of the kinds in flags (dfCdRom, dfRemote; fixed disks are
// never a source of the directory data here).
void CollectDrives(unsigned flags);

// Where a form of formRect's size goes: centred over other (kept inside work), or centred in work without
// one.
QPoint CenterRect(const QRect& formRect, const QRect* other, const QRect& work);
// Centres form over other (or in the work area), within the desktop work area.
void CenterForm(QWidget* form, QWidget* other = nullptr);

// Restores window when minimised, raises it and asks the window manager to activate it.
void ForceForegroundWindow(QWidget* window);

// Registering a mail protocol is a Windows concern; mailto links go to the desktop's handler as they are.
inline void EnsureMailtoProtocol() {}
