// The start-up order, the single-instance guard and the shut-down of the program.
#include "core/Main.h"

#include "core/AdrsFolderList.h"
#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/FontSub.h"
#include "core/InputPW.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "core/Splash.h"
#include "core/StartupServices.h"
#include "maintenance/HdiRW.h"
#include "platform/SystemPaths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLibraryInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTranslator>

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

QPointer<TMainForm> MainForm;

QString InstanceLockFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return SystemPaths::WithSlash(folder);
}

namespace {

// True while a live process holds the lock file at path. Only looks: the lock is neither taken nor, however
// old, removed as stale, since it belongs to another program.
bool LockHeldByLiveProcess(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool flockHeld = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    if (flockHeld)
        return true;
    // A holder that keeps no flock is judged by the process the file names.
    qint64 pid = 0;
    QString host;
    QString app;
    if (!QLockFile(path).getLockInfo(&pid, &host, &app) || pid <= 0 ||
        pid > std::numeric_limits<pid_t>::max())
        return false;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return true; // cannot be checked from here
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

bool IsAdminToolRunning(const QString& folder)
{
    if (!LockHeldByLiveProcess(folder + AdminToolIdentity + QStringLiteral(".lock")))
        return false;
    ApplicationMessageBox(QStringLiteral("「管理者モード設定ツール」が動作中です  \r\n"
                                         "「管理者モード設定ツール」を終了してから実行してください  "),
                          MsgSeam::MbIconExclamation);
    return true;
}

TSingleInstance::TSingleInstance(const QString& identity, const QString& folder)
    : m_identity(identity), m_folder(folder)
{
}

TSingleInstance::~TSingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lock)
        m_lock->unlock();
}

TSingleInstance::TResult TSingleInstance::Acquire(QString* error)
{
    m_lock = std::make_unique<QLockFile>(m_folder + m_identity + QStringLiteral(".lock"));
    // Only a live holder counts: a lock left by a process that has gone is taken over.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return siStarted;
    const QLockFile::LockError reason = m_lock->error();
    m_lock.reset();
    if (reason == QLockFile::LockFailedError)
        return siRunning;
    if (error)
        *error = reason == QLockFile::PermissionError ? QStringLiteral("permission denied")
                                                      : QStringLiteral("unknown error");
    return siFailed;
}

bool TSingleInstance::ActivateRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_folder + m_identity + QStringLiteral(".socket"));
    if (!socket.waitForConnected(2000))
        return false;
    socket.write("activate\n");
    socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
    return true;
}

bool TSingleInstance::Listen()
{
    const QString name = m_folder + m_identity + QStringLiteral(".socket");
    // We hold the lock, so a socket left behind belongs to an instance that has gone.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            emit ActivateRequested();
        }
    });
    return m_server->listen(name);
}

namespace {

// The write end of the pipe through which the signal handler reaches the GUI thread.
int SessionSignalPipe[2] = {-1, -1};

void sessionSignalHandler(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(SessionSignalPipe[1], &byte, 1);
    errno = saved;
}

constexpr int SessionSignals[] = {SIGTERM, SIGHUP};

} // namespace

TSessionEndWatcher::TSessionEndWatcher(QObject* parent) : QObject(parent)
{
    if (SessionSignalPipe[0] < 0 && ::pipe2(SessionSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(SessionSignalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TSessionEndWatcher::readSignals);
    struct sigaction action = {};
    action.sa_handler = sessionSignalHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : SessionSignals)
        ::sigaction(sig, &action, nullptr);
#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        // Questions need the session manager's leave; without it nothing can be asked, so nothing closes.
        if (m_ending || !manager.allowsInteraction())
            return;
        bool ended = false;
        m_ending = true;
        emit EndRequested(&ended);
        m_ending = false;
        manager.release();
        if (!ended)
            manager.cancel();
    });
#endif
}

TSessionEndWatcher::~TSessionEndWatcher()
{
    if (!m_notifier)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int sig : SessionSignals)
        ::sigaction(sig, &action, nullptr);
}

void TSessionEndWatcher::readSignals()
{
    char buffer[64];
    while (::read(SessionSignalPipe[0], buffer, sizeof buffer) > 0) {
    }
    // A second signal while the question of the first is open is answered by that question.
    if (m_ending)
        return;
    bool ended = false;
    m_ending = true;
    emit EndRequested(&ended);
    m_ending = false;
}

void LoadInstallState()
{
    HddInstalled = false;
    HddInstallFolder.clear();
    TInstallRecord record;
    record.FilePath = DataRootFolder + QStringLiteral("Quenrid215.hdi");
    record.Tag = "Quenrid215";
    const int result = ReadInstallRecord(record);
    if (result == irOk) {
        const TInstallEntry& slot = record.Entries[0];
        if (slot.Length >= 0) {
            HddInstalled = true;
            HddInstallFolder = DataRootFolder;
            if (slot.Length > 0) {
                const QString folder = SystemPaths::WithSlash(QDir::fromNativeSeparators(ToWide(slot.Path)));
                if (QFileInfo(folder).isDir())
                    HddInstallFolder = folder;
            }
        }
        if (HddInstalled && !QFileInfo(HddInstallFolder + QStringLiteral("Dt00/")).isDir()) {
            ApplicationMessageBox(
                QStringLiteral("HDDインストールしたSelvane Specialの電話帳データが  \r\n"
                               "HDD内に見つかりません  \r\n\r\nCD-ROMを検索するようにします  "),
                MsgSeam::MbIconInformation);
            HddInstalled = false;
        }
    } else if (result == irOtherProgram) {
        ApplicationMessageBox(QStringLiteral("別のソフトウェアのHDDインストール情報が見つかりました  \r\n"
                                             "HDDインストールしなおす必要が必要があります  "),
                              MsgSeam::MbIconInformation);
    } else if (result != irNoFile) {
        ApplicationMessageBox(QStringLiteral("HDDインストール情報が正しくありません    \r\n"
                                             "HDDインストールしなおす必要が必要があります  \r\nRC = ") +
                                  QString::number(result) + QStringLiteral("  "),
                              MsgSeam::MbIconInformation);
    }
}

TMainForm::TMainForm()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(ProductTitle);
    MainForm = this;
}

TMainForm::~TMainForm()
{
    StartupServices().FreeAll();
    if (m_helpFilter) {
        qApp->removeEventFilter(m_helpFilter);
        delete m_helpFilter;
    }
    m_help.reset();
    AdrsFolderList.clear();
}

void TMainForm::ReadSettings()
{
    ReadMainSettings(this);
}

void TMainForm::FormCreate()
{
    ReadSettings();

    m_help = std::make_unique<TPDFHelp>();
    m_help->LocateReader();
    m_help->SetDocument(ProgramFolder + QStringLiteral("Quenrid215.pdf"));
    m_help->SetTitle(QStringLiteral("Tovarel 操作ガイド"));
    m_help->SetPageOffset(3);
    m_help->SetPageOffsetEnabled(true);
    m_helpFilter = new THelpKeyFilter([this](int context) { return HelpHandler(context); });
    qApp->installEventFilter(m_helpFilter);
    m_sessionEnd = new TSessionEndWatcher(this);
    connect(m_sessionEnd, &TSessionEndWatcher::EndRequested, this,
            [this](bool* ended) { *ended = EndSession(); });

    TStartupServices& services = StartupServices();
    services.LoadHyphenLibrary();
    services.CreateDataModule(this);
    services.CopyCategoryTables();
    services.LoadCategoryNames();

    // The rest of the start waits for the splash's time to pass, without blocking.
    auto post = [this] { QCoreApplication::postEvent(this, new QEvent(MainStartupMessage)); };
    if (SplashForm)
        connect(SplashForm.data(), &QObject::destroyed, this, post);
    else
        post();
}

bool TMainForm::event(QEvent* event)
{
    if (event->type() == MainStartupMessage) {
        WMStartup();
        return true;
    }
    return QWidget::event(event);
}

void TMainForm::WMStartup()
{
    TStartupServices& services = StartupServices();
    // A value that does not decode still asks, and nothing typed can match it: the gate stays shut.
    const std::optional<AnsiString> password = DescrambleStartupPassword(ToAnsi(StartupPassword));
    if (!password || !password->isEmpty()) {
        TInputPassword prompt(this, password ? std::optional<QString>(ToWide(*password)) : std::nullopt);
        if (prompt.exec() != TInputPassword::mrOk) {
            CloseMainForm();
            return;
        }
    }
    if (DataPathReset)
        WriteBackDataPath();
    services.CopyDefaultHistories();
    LoadAddressBookList(true);

    const bool named = std::any_of(AdrsFolderList.cbegin(), AdrsFolderList.cend(),
                                   [](const TAdrsFolderInfo& info) { return info.Name == CurrentAdrsName; });
    if (!named) {
        CurrentAdrsName = DefaultAdrsName;
        AdrsNameDefaulted = true;
    }
    if (AdrsFolderList.isEmpty())
        AdrsNameDefaulted = true;

    services.RunAddressList(this);
    CloseMainForm();
}

void TMainForm::LoadAddressBookList(bool execute)
{
    ::LoadAddressBookList(execute);
}

bool TMainForm::HelpHandler(int context)
{
    if (!m_help || m_help->NotAvailable()) {
        const QString reason = m_help ? m_help->ErrorText() : QString();
        MessageBoxPos(this,
                      reason + QStringLiteral("\r\n\r\n") + QStringLiteral("操作ガイドを表示するには  \r\n") +
                          QStringLiteral("PDF ビューアー（Evince、Okular など）をインストールしてください  "),
                      ProductTitle, MsgSeam::MbIconExclamation, 2);
        return false;
    }
    m_help->ShowPage(context == 999 ? 0 : context);
    return true;
}

bool TMainForm::CloseMainForm()
{
    if (m_closed)
        return true;
    TStartupServices& services = StartupServices();
    if (services.AddressListExists()) {
        // The session ends first; the main form closes when its modal loop has returned.
        services.EndAddressList();
        return false;
    }
    m_closed = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_help)
        m_help->CloseDocument();
    QApplication::restoreOverrideCursor();
    QCoreApplication::quit();
    return true;
}

bool TMainForm::EndSession()
{
    CloseMainForm();
    const QWidget* session = StartupServices().AddressListWindow();
    return !session || !session->isVisible();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (CloseMainForm())
        event->accept();
    else
        event->ignore();
}

void InitApplication()
{
    QApplication::setApplicationDisplayName(ProductTitle);
    static QPointer<QTranslator> qtTexts;
    if (!qtTexts) {
        auto* translator = new QTranslator(qApp);
        if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                             QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(translator);
        qtTexts = translator;
    }
    InstallFontSubstitutions();
    QFont font = QApplication::font();
    font.setFamilies({UiFontFace});
    QApplication::setFont(font);
    InstallButtonPictureTheme();
}

int QuenridMain(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenrid215"));
    InitApplication();
    // The splash is the only window for a while; its closing must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    if (IsAdminToolRunning())
        return 0;

    TSingleInstance instance(InstanceIdentity);
    QString error;
    switch (instance.Acquire(&error)) {
    case TSingleInstance::siRunning:
        instance.ActivateRunning();
        return 0;
    case TSingleInstance::siFailed:
        ApplicationMessageBox(
            QStringLiteral("Tovarel が起動中かどうかを確認できないため、起動できません  \r\n") +
                InstanceLockFolder() + QStringLiteral("  (") + error + QStringLiteral(")  "),
            MsgSeam::MbIconStop);
        return 1;
    case TSingleInstance::siStarted:
        break;
    }
    QObject::connect(&instance, &TSingleInstance::ActivateRequested, [] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window)
            window = StartupServices().AddressListWindow();
        ForceForegroundWindow(window);
    });
    instance.Listen();

    ProgramFolder = SystemPaths::ExecutableFolder();
    DataRootFolder = GetDataRootFolder();
    LoadInstallState();
    MainSettings.ViewSplash = ReadViewSplash();
    if (MainSettings.ViewSplash) {
        auto* splash = new TSplashForm;
        splash->show();
        splash->repaint();
    }

    auto* form = new TMainForm;
    form->FormCreate();
    const int result = app.exec();
    delete form;
    // Anything the session left open goes before the application object.
    delete SplashForm.data();
    return result == 0 ? 0 : result;
}
