// Shell helpers: starting programs with "@", opening files, deleting folder trees, drives and form centring.
#include "core/ShellSub.h"
#include "support/RecordingOpener.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cerrno>

namespace {

TEST(ShellSub, ProgramPathOfCommandLine)
{
    struct Case
    {
        const char* line;
        const char* path;
    } cases[] = {
        {"\"/opt/my app/run\" -a \"b c\"", "/opt/my app/run"},
        {"/usr/bin/viewer file.pdf", "/usr/bin/viewer"},
        {"/usr/bin/alone", "/usr/bin/alone"},
        {"\"/unterminated quote arg", "/unterminated quote arg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ProgramPathOf(QString::fromUtf8(c.line)), QString::fromUtf8(c.path));
    }
}

TEST(ShellSub, RunProgramRunsInTheProgramsFolderWithQuotedArguments)
{
    // A copy of test(1) in a folder with a blank: its exit code tells what it saw.
    QTemporaryDir dir;
    const QString folder = dir.path() + "/my programs";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + "/check";
    ASSERT_TRUE(QFile::copy("/usr/bin/test", program));
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    QFile marker(folder + "/marker.txt");
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();

    const QString quoted = "\"" + program + "\"";
    struct Case
    {
        QString line;
        QString folder;
        int expected;
    } cases[] = {
        {quoted + " -f marker.txt", "@", 0},
        {quoted + " -f marker.txt", " @ ", 0},
        {quoted + " -f marker.txt", "", 1},
        {quoted + " -f marker.txt", dir.path() + "/none", 1},
        {quoted + " \"a b\" = \"a b\"", "", 0},
        {quoted + " \"a b\" = a", "", 1},
        {quoted + " \"$HOME\" = $HOME", "", 0}, // no shell: nothing is expanded
        {"\"" + dir.path() + "/missing\" x", "@", ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.line + " in " + c.folder).toStdString());
        EXPECT_EQ(RunProgram(c.line, c.folder, false), c.expected);
    }
    EXPECT_EQ(RunProgram(quoted + " -f marker.txt", "@", true), 0);
    EXPECT_EQ(RunProgram("\"" + dir.path() + "/missing\"", "", true), ENOENT);
}

TEST(ShellSub, ShellOpenGoesThroughTheInstalledOpener)
{
    QList<TShellOpenRequest> seen;
    auto previous = SetShellOpener(std::make_unique<RecordingOpener>(&seen));
    EXPECT_EQ(ShellOpen("https://example.test/a", "", "", true), 0);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].file, QStringLiteral("https://example.test/a"));
    EXPECT_TRUE(seen[0].noWait);
    SetShellOpener(std::move(previous));

    // The desktop opener refuses a file that is not there and starts nothing.
    QTemporaryDir dir;
    EXPECT_EQ(ShellOpen(dir.path() + "/nothing.pdf", "", "@", true), ENOENT);
}

TEST(ShellSub, DocumentsAnswerTheDesktopOpenersExitStatus)
{
    // A stand-in for the desktop's opener, first on PATH: it logs its argument and ends with the status named
    // by the document's suffix, after a short spell of work.
    QTemporaryDir dir;
    const QString bin = dir.path() + "/bin";
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString log = dir.path() + "/opened.log";
    QFile script(bin + "/xdg-open");
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"begin $1\" >> '%1'\nsleep 0.2\necho end >> '%1'\n"
                                "case \"$1\" in *.s3) exit 3 ;; *.s2) exit 2 ;; esac\nexit 0\n")
                     .arg(log)
                     .toUtf8());
    script.close();
    QFile::setPermissions(script.fileName(), QFile::permissions(script.fileName()) | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ":" + path);

    struct Case
    {
        const char* name;
        bool noWait;
        int expected;
    } cases[] = {
        {"doc.pdf", false, 0},      {"doc.pdf", true, 0},      {"none.s3", false, ENOEXEC},
        {"none.s3", true, ENOEXEC}, {"gone.s2", true, ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.noWait ? " no wait" : " wait"));
        const QString file = dir.path() + "/" + c.name;
        QFile doc(file);
        ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
        doc.close();
        QFile::remove(log);
        EXPECT_EQ(ShellOpen(file, "", "", c.noWait), c.expected);
        EXPECT_EQ(QString::fromUtf8(ReadFileBytes(log)), "begin " + file + "\nend\n");
    }
    qputenv("PATH", path);
}

TEST(ShellSub, ProgramFilesAreThoseThatWouldStartAProgram)
{
    QTemporaryDir dir;
    const QString tool = dir.path() + "/tool";
    WriteFileBytes(tool, "#!/bin/sh\n");
    QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner);
    WriteFileBytes(dir.path() + "/notes.txt", "text");
    struct Case
    {
        QString link;
        bool program;
    } cases[] = {
        {tool, true},
        {dir.path() + "/notes.txt", false},
        {dir.path(), false},
        {"/nowhere/setup.EXE", true},
        {"/nowhere/start.desktop", true},
        {"file:///nowhere/run.sh", true},
        {"https://example.jp/setup.exe", false},
        {"mailto:someone@example.jp", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsProgramFile(c.link), c.program) << c.link.toStdString();
}

TEST(ShellSub, DeleteFolderTreeRemovesReadOnlyEntriesAndNeverFollowsLinks)
{
    QTemporaryDir dir;
    const QString tree = dir.path() + "/tree";
    const QString outside = dir.path() + "/outside";
    ASSERT_TRUE(QDir().mkpath(tree + "/sub/deeper"));
    ASSERT_TRUE(QDir().mkpath(outside));
    for (const QString& f : {tree + "/ro.txt", tree + "/sub/deeper/ro.txt", outside + "/keep.txt"}) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
    }
    QFile::setPermissions(tree + "/ro.txt", QFile::ReadOwner);
    QFile::setPermissions(tree + "/sub/deeper", QFile::ReadOwner | QFile::ExeOwner);
    ASSERT_TRUE(QFile::link(outside, tree + "/sub/dirlink"));
    ASSERT_TRUE(QFile::link(outside + "/keep.txt", tree + "/filelink"));
    ASSERT_TRUE(QFile::link(dir.path() + "/dangling", tree + "/dangling"));

    EXPECT_TRUE(DeleteFolderTree(tree + "/"));
    EXPECT_FALSE(QFileInfo::exists(tree));
    EXPECT_TRUE(QFileInfo(outside + "/keep.txt").isFile());

    // A folder given as a link: the link goes, its target stays.
    ASSERT_TRUE(QFile::link(outside, dir.path() + "/viaLink"));
    EXPECT_TRUE(DeleteFolderTree(dir.path() + "/viaLink"));
    EXPECT_FALSE(QFileInfo(dir.path() + "/viaLink").isSymLink());
    EXPECT_TRUE(QFileInfo(outside + "/keep.txt").isFile());

    // Keeping files leaves the folder: answered as not deleted.
    EXPECT_FALSE(DeleteFolderTree(outside, true));
    EXPECT_TRUE(QFileInfo(outside + "/keep.txt").isFile());
    EXPECT_TRUE(DeleteFolderTree(dir.path() + "/never-was"));
}

TEST(ShellSub, CreateFolderForEveryoneIsNotWorldWritable)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/Morvane/Quenrid215";
    EXPECT_TRUE(CreateFolderForEveryone(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFile::permissions(folder) & QFile::WriteOther);
    EXPECT_TRUE(CreateFolderForEveryone(folder));
}

TEST(ShellSub, CollectDrivesFromTheDriveList)
{
    qputenv("TOVAREL_DRIVES", "/media/cd0/:/media/cd1");
    CollectDrives(dfCdRom);
    EXPECT_EQ(DriveCount, 2);
    EXPECT_EQ(DriveList, QStringList({"/media/cd0", "/media/cd1"}));
    qputenv("TOVAREL_DRIVES", "");
    CollectDrives(dfCdRom | dfRemote);
    EXPECT_EQ(DriveCount, 0);
    EXPECT_TRUE(DriveList.isEmpty());
    qunsetenv("TOVAREL_DRIVES");
}

TEST(ShellSub, CenterRectKeepsTheFormInsideTheWorkArea)
{
    const QRect work(0, 0, 1280, 1000);
    const QSize form(400, 300);
    struct Case
    {
        const char* name;
        std::optional<QRect> other;
        QPoint expected;
    } cases[] = {
        {"centred in the work area", std::nullopt, {440, 350}},
        {"centred over the other", QRect(100, 100, 601, 401), {200, 150}},
        {"other at the right edge", QRect(1100, 100, 300, 200), {880, 50}},
        {"other above the top", QRect(-200, -300, 100, 100), {0, 0}},
        {"other below the bottom", QRect(500, 950, 200, 200), {400, 700}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect* other = c.other ? &*c.other : nullptr;
        EXPECT_EQ(CenterRect(QRect(QPoint(), form), other, work), c.expected);
    }
    // A work area that does not start at the origin.
    const QRect shifted(100, 40, 1000, 800);
    const QRect left(0, 0, 100, 100);
    EXPECT_EQ(CenterRect(QRect(QPoint(), form), &left, shifted), QPoint(100, 40));
}

TEST(ShellSub, CenterFormCentresADialogByTheSizeItWillShowWith)
{
    QWidget owner;
    owner.setGeometry(100, 80, 800, 600);
    owner.show();
    QDialog dialog(&owner);
    auto* layout = new QVBoxLayout(&dialog);
    auto* content = new QWidget(&dialog);
    content->setFixedSize(300, 200);
    layout->addWidget(content);
    CenterForm(&dialog, &owner);
    dialog.show();
    EXPECT_LE((dialog.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 4);

    // A size the caller set stays.
    QDialog sized(&owner);
    sized.resize(500, 150);
    CenterForm(&sized, &owner);
    EXPECT_EQ(sized.size(), QSize(500, 150));
}

} // namespace
