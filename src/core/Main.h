// The program entry, the single-instance guard, the hidden main form and the start-up and shut-down order.
#pragma once

#include "core/PrivateMessages.h"

#include <QEvent>
#include <QLockFile>
#include <QPointer>
#include <QWidget>
#include <memory>

class QLocalServer;
class QSocketNotifier;
class TPDFHelp;
class THelpKeyFilter;

// Identities of this program's running instance and of the administrator-mode setting tool.
inline const QString InstanceIdentity = QStringLiteral("Morvane.Quenrid215.Instance");
inline const QString AdminToolIdentity = QStringLiteral("Morvane.Quenrid215.AdminModeTool");

// Where the instance locks and the activation socket live (the user's runtime folder), with a final "/".
QString InstanceLockFolder();

// True, after telling the user, while the administrator-mode setting tool holds its lock.
bool IsAdminToolRunning(const QString& folder = InstanceLockFolder());

// The lock that marks the running instance, and the channel through which a second start brings it forward.
class TSingleInstance : public QObject
{
    Q_OBJECT
public:
    enum TResult { siStarted, siRunning, siFailed };

    // The lock and the socket live in folder (with a final "/").
    explicit TSingleInstance(const QString& identity, const QString& folder = InstanceLockFolder());
    ~TSingleInstance() override;

    // Takes the lock. siRunning: another live instance holds it; siFailed: the lock could not be taken for
    // any other reason (reason in *error).
    TResult Acquire(QString* error = nullptr);
    // Asks the running instance to come forward; true when it was reached.
    bool ActivateRunning();
    // Starts answering later starts (after Acquire gave siStarted).
    bool Listen();

signals:
    void ActivateRequested();

private:
    QString m_identity;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

// Turns the end of the desktop session into the main form's normal close: SIGTERM and SIGHUP (a logout, a
// shutdown, a terminal that went) and the session manager's logout request. One at a time; while it exists
// the two signals no longer end the process at once.
class TSessionEndWatcher : public QObject
{
    Q_OBJECT
public:
    explicit TSessionEndWatcher(QObject* parent = nullptr);
    ~TSessionEndWatcher() override;

signals:
    // The session is ending; answer through *ended whether the program has let it end.
    void EndRequested(bool* ended);

private:
    void readSignals();
    QSocketNotifier* m_notifier = nullptr;
    bool m_ending = false;
};

// Reads the hard-disk install record into HddInstalled and HddInstallFolder, telling the user about a record
// of another program, a damaged record or installed data that has gone.
void LoadInstallState();

// The hidden main form: reads the settings, owns the help driver, starts the session and ends the run.
class TMainForm : public QWidget
{
    Q_OBJECT
public:
    TMainForm();
    ~TMainForm() override; // the destroy step: frees what the create step made

    void FormCreate();
    void ReadSettings();
    void LoadAddressBookList(bool execute);
    bool HelpHandler(int context);
    TPDFHelp* Help() const { return m_help.get(); }

    // The rest of the start: password, pending address-book operations, the working session; then the end.
    void WMStartup();
    // Ends the run unless the working session is still open (which is then asked to end).
    bool CloseMainForm();
    // The desktop session is ending: closes as the user would, so unsaved input is asked about. True when the
    // working session has ended (the program then ends), false when it stays.
    bool EndSession();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<TPDFHelp> m_help;
    THelpKeyFilter* m_helpFilter = nullptr;
    TSessionEndWatcher* m_sessionEnd = nullptr;
    bool m_closed = false;
};

extern QPointer<TMainForm> MainForm;

// The application's own settings, made once a QApplication exists: its display name, Qt's own texts (standard
// buttons, context menus) in Japanese whatever the locale, the stand-in of the system UI face (IPA P Gothic)
// as its font, and the button picture theme.
void InitApplication();

// The whole program run; answers the process exit code.
int QuenridMain(int argc, char** argv);
