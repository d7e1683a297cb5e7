// What the table tools of the maintenance menu share: the safety copy that must succeed before anything
// changes, the current book's shared table closed for an exclusive open, the busy cursor and a fault hook.
#pragma once

#include "core/DBInfo.h"
#include "maintenance/BackupCopy.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class QProgressBar;
class QPushButton;
class QWidget;

// Copies the tables a tool is about to change into its folder (BackupWorkFolders); when a group fails, shows
// a stop message over owner and answers false: the tool then changes nothing.
bool MakeSafetyCopy(QWidget* owner, TBackupWork work, const QList<int>& books, bool withSender);
// The start of a tool's run: asks question (No is the default), then lets the list close its child windows;
// false when either says no. The tool repaints before its busy work begins.
bool ConfirmToolRun(QWidget* owner, const QString& question, const std::function<bool()>& closeChildren);

// Closes the caller's reference to a shared table for the scope, so that an exclusive open can succeed, and
// opens it again afterwards (also after an exception). A table not open at the start is left closed.
class TSharedTableClosed
{
public:
    explicit TSharedTableClosed(TDMQuenrid215::TTableKind kind);
    ~TSharedTableClosed();
    TSharedTableClosed(const TSharedTableClosed&) = delete;
    TSharedTableClosed& operator=(const TSharedTableClosed&) = delete;

private:
    TDMQuenrid215::TTableKind m_kind;
    bool m_reopen = false;
};

// Runs record on every record of table in its current order, inside transactions committed every 1,000
// records and at the end, and counts the records for which it answers true; step follows each record. A
// TableError rolls back the open batch and goes on to the caller. The buffers are flushed at the end.
int ConvertInBatches(Table& table, const std::function<bool()>& record, const std::function<void()>& step);

// Shows a table error of a tool over owner (stop icon).
void ShowToolError(QWidget* owner, const QString& what, const QString& detail);

// Test hook: called before each engine step of a tool ("pack", "reindex") with the table's file path; it may
// throw a TableError to stand for the engine failing.
using TTableToolHook = std::function<void(const QString& step, const QString& path)>;
void SetTableToolHook(TTableToolHook hook);
void RunTableToolHook(const QString& step, const QString& path);

// Opens a table exclusively (the book's table in bookFolder, or the sender table with an empty bookFolder),
// runs work on it and closes it again. An open that fails shows the data module's message; a TableError of
// work is shown under failureText. True when work ran through.
bool WorkOnExclusiveTable(QWidget* owner, const QString& bookFolder, const QString& failureText,
                          const std::function<void(Table& table)>& work);

// The dialog of a record conversion tool: its lines of explanation, a progress bar and 変換/閉じる. 変換 runs
// btnConvertClick of the tool.
class TConvertToolDialog : public QDialog
{
public:
    TConvertToolDialog(QWidget* owner, std::function<bool()> closeChildren, const QString& name,
                       const QString& title, int helpContext, const QStringList& lines);

    virtual void btnConvertClick() = 0;

protected:
    // The progress bar counts total records from nothing; StepProgress follows one record.
    void StartProgress(int total);
    void StepProgress();
    // The completion message "<what>が完了しました" with both counts, then the dialog closes with OK.
    void ShowConvertDone(const QString& what, int processed, int converted);

    std::function<bool()> m_closeChildren;
    QProgressBar* pgbarConvert;
    QPushButton* btnConvert;
    QPushButton* btnClose;
};
