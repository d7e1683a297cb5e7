// The update check: requests, the answer's reader, newer files, downloads, the hand-over file and the
// updater.
#include "maintenance/UpdDlg.h"

#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "maintenance/UpdInfo.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

namespace {

// Answers held in memory (the check and the notice) stay below this size.
constexpr qint64 MaxAnswerBytes = 8 * 1024 * 1024;
// "upderr.dat" keeps at most this much of a bad answer.
constexpr qint64 MaxRecordedAnswerBytes = 64 * 1024;

const QString UpdateInfoFileName = QStringLiteral("updateinfo.dat");
const QString UpdaterFileName = QStringLiteral("updateapp.exe");

TNetworkCheck& networkCheck()
{
    static TNetworkCheck check;
    return check;
}

bool systemReachable()
{
    if (!QNetworkInformation::instance() &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return true;
    const QNetworkInformation* info = QNetworkInformation::instance();
    return !info || info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

QString elementText(const QDomElement& e)
{
    return e.text().trimmed();
}

// A whole decimal number, optionally signed.
bool toInt32(const QString& text, qint32& value)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (ok)
        value = v;
    return ok;
}

int requestError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::NoError:
        return 0;
    case QNetworkReply::TimeoutError:
        return ueTimeout;
    case QNetworkReply::HostNotFoundError:
        return ueNameNotResolved;
    case QNetworkReply::ConnectionRefusedError:
        return ueCannotConnect;
    case QNetworkReply::RemoteHostClosedError:
        return ueConnectionAborted;
    case QNetworkReply::OperationCanceledError:
        return ueCancelled;
    default:
        return ueOtherNetwork + int(error);
    }
}

// The proxy the environment names (http_proxy, no_proxy), as the system's settings.
class TEnvironmentProxy : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override
    {
        return systemProxyForQuery(query);
    }
};

// The request's URL on the update server; empty when the server's name cannot form one.
QUrl requestUrl(const QString& path)
{
    const QString domain = UpdateDomain.trimmed();
    for (const QChar c : domain)
        if (c.isSpace() || c == u'/' || c == u'@' || c == u'?' || c == u'#' || c == u'\\')
            return {};
    QUrl url(QStringLiteral("http://") + domain, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    url.setPath(path, QUrl::TolerantMode);
    return url.isValid() ? url : QUrl();
}

bool unsafeRelative(QString path, bool allowSeparators)
{
    if (path.contains(u'\\') || path.contains(u'/')) {
        if (!allowSeparators)
            return true;
        path.replace(u'\\', u'/');
    }
    for (const QChar c : path)
        if (c.unicode() < 0x20)
            return true;
    if (path.startsWith(u'/') || (path.size() >= 2 && path[1] == u':'))
        return true;
    const QStringList parts = path.split(u'/');
    return std::any_of(parts.begin(), parts.end(), [](const QString& p) { return p == QLatin1String(".."); });
}

} // namespace

// ---- the answer ----

QDateTime ParseUpdateDateTime(const QString& text)
{
    if (text.size() < 19)
        return {};
    int parts[6];
    const int starts[6] = {0, 5, 8, 11, 14, 17};
    for (int i = 0; i < 6; ++i) {
        const QString digits = text.mid(starts[i], i == 0 ? 4 : 2);
        if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return {};
        parts[i] = digits.toInt();
    }
    const QDate date(parts[0], parts[1], parts[2]);
    const QTime time(parts[3], parts[4], parts[5]);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

int ParseUpdateInfo(const QByteArray& answer, TUpdateInfo& info)
{
    info = {};
    const QString text = Cp932::toUnicode(answer);
    qsizetype lineEnd = text.indexOf(u'\n');
    const qsizetype cr = text.indexOf(u'\r');
    if (cr >= 0 && (lineEnd < 0 || cr < lineEnd))
        lineEnd = cr;
    if (!text.left(lineEnd < 0 ? text.size() : lineEnd).contains(QLatin1String("<?xml")))
        return urNoXml;

    QDomDocument doc;
    if (!doc.setContent(text))
        return urParseError;
    const QDomElement root = doc.documentElement();
    if (root.tagName() != QLatin1String("update"))
        return urNotUpdate;
    const QDomElement app = root.firstChildElement(QStringLiteral("app"));
    if (app.isNull())
        return urNoApp;
    if (elementText(app).compare(UpdateIdent, Qt::CaseInsensitive) != 0)
        return urOtherApp;

    const QDomElement date =
        root.firstChildElement(QStringLiteral("info")).firstChildElement(QStringLiteral("date"));
    if (!date.isNull())
        info.noticeDate = Cp932::cutToBytes(elementText(date), 10);

    qint32 count = 0;
    const QDomElement countElement = root.firstChildElement(QStringLiteral("count"));
    if (!countElement.isNull() && !toInt32(elementText(countElement), count))
        return urBadCount;
    if (count == 0)
        return urNothing;

    QList<QDomElement> fileElements;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (e.tagName().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0)
            fileElements.append(e);
    if (fileElements.size() != count)
        return urCountDiffers;
    const QDomElement dlpath = root.firstChildElement(QStringLiteral("dlpath"));
    if (dlpath.isNull())
        return urNoDlPath;
    info.downloadPath = elementText(dlpath);
    if (info.downloadPath.isEmpty())
        return urEmptyDlPath;

    for (const QDomElement& e : fileElements) {
        const auto child = [&e](const char* name) { return e.firstChildElement(QLatin1String(name)); };
        const auto cut = [&child](const char* name, int bytes) {
            return Cp932::cutToBytes(elementText(child(name)), bytes);
        };
        TUpdateFileRec f;
        if (child("name").isNull())
            return urNoName;
        f.name = cut("name", 128);
        f.jpname = cut("jpname", 128);
        f.path = cut("path", 128);
        f.version = cut("version", 24);
        if (child("size").isNull())
            return urNoSize;
        if (!toInt32(elementText(child("size")), f.size))
            return urBadSize;
        if (child("datetime").isNull())
            return urNoDateTime;
        f.datetime = ParseUpdateDateTime(elementText(child("datetime")));
        if (!f.datetime.isValid())
            return urBadDateTime;
        f.restart = elementText(child("restart")) == QLatin1String("1");
        if (child("dlfile").isNull())
            return urNoDlFile;
        f.dlfile = cut("dlfile", 128);
        if (child("dlparam").isNull())
            return urNoDlParam;
        f.dlparam = cut("dlparam", 64);
        info.files.append(f);
    }
    return urOk;
}

std::array<qint64, 4> SplitVersion(const QString& version)
{
    std::array<qint64, 4> parts{};
    const QStringList texts = version.split(u'.');
    for (int i = 0; i < 4 && i < texts.size(); ++i)
        parts[size_t(i)] = texts[i].trimmed().toLongLong(); // a part that is no number counts 0
    return parts;
}

bool VersionGreater(const QString& a, const QString& b)
{
    return SplitVersion(a) > SplitVersion(b);
}

bool IsUnsafeUpdateFile(const TUpdateFileRec& file)
{
    if (file.dlfile.isEmpty() || file.dlfile == QLatin1String(".") || unsafeRelative(file.dlfile, false))
        return true;
    return unsafeRelative(file.path, true) || unsafeRelative(file.name, true);
}

QStringList SplitNoticeLines(const QString& text)
{
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(u'\r', u'\n');
    if (normal.isEmpty())
        return {};
    if (normal.endsWith(u'\n'))
        normal.chop(1);
    return normal.split(u'\n');
}

QStringList NoticeLinesFromBody(QByteArray body)
{
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    // The notice is kept in the program's code page, as the cache file stores it.
    return SplitNoticeLines(Cp932::toUnicode(Cp932::fromUnicode(QString::fromUtf8(body))));
}

QString InstalledFileVersion(const QString& relativePath)
{
    const TMemIniFile manifest(ProgramFolder + VersionManifestName);
    return manifest.ReadString(QStringLiteral("FILES"), relativePath, QString()).trimmed();
}

void SetNetworkCheck(TNetworkCheck check)
{
    networkCheck() = std::move(check);
}

// ---- TUpdateDialog ----

TUpdateDialog::TUpdateDialog() = default;

TUpdateDialog::~TUpdateDialog()
{
    Disconnect();
}

QString TUpdateDialog::UpdateFolder()
{
    return DataRootFolder + QStringLiteral("update/");
}

bool TUpdateDialog::CheckInternet()
{
    const bool reachable = networkCheck() ? networkCheck()() : systemReachable();
    if (!reachable)
        m_lastMessage = QStringLiteral("インターネットに接続できない環境です  ");
    return reachable;
}

void TUpdateDialog::Disconnect()
{
    m_session.reset();
    m_connected = false;
}

int TUpdateDialog::get(const QString& path, const Sink& sink)
{
    const QUrl url = requestUrl(path);
    if (url.isEmpty())
        return ueInvalidUrl;
    if (!m_session) {
        m_session = std::make_unique<QNetworkAccessManager>();
        m_session->setProxyFactory(new TEnvironmentProxy);
    }

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, UpdateIdent);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    std::unique_ptr<QNetworkReply> reply(m_session->get(request));

    QEventLoop loop;
    QTimer idle;
    idle.setSingleShot(true);
    bool timedOut = false;
    int code = 0; // the status or the sink's code that ended the transfer
    qint64 received = 0;
    const auto take = [&] {
        if (code)
            return;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (status.isValid() && status.toInt() != 200) {
            // An error page is never handed on as the answer.
            code = status.toInt();
            reply->abort();
            return;
        }
        const QByteArray chunk = reply->readAll();
        if (chunk.isEmpty())
            return;
        received += chunk.size();
        if ((code = sink(chunk)) != 0)
            reply->abort();
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        idle.start(m_timeoutMs);
        take();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&idle, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    idle.start(m_timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    idle.stop();
    if (!timedOut && reply->error() == QNetworkReply::NoError)
        take();

    if (code)
        return code;
    if (timedOut)
        return ueTimeout;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() != 200)
        return status.toInt();
    if (const int error = requestError(reply->error()))
        return error;
    if (!status.isValid())
        return ueConnectionAborted;
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() != received)
        return ueConnectionAborted;
    return 0;
}

int TUpdateDialog::getAll(const QString& path, QByteArray& body)
{
    body.clear();
    return get(path, [&body](const QByteArray& chunk) {
        if (body.size() + chunk.size() > MaxAnswerBytes)
            return int(ueTooLarge);
        body += chunk;
        return 0;
    });
}

int TUpdateDialog::downloadFile(const QString& path, const QString& target, qint64 expectedSize)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return ueWriteFailed;
    qint64 written = 0;
    int code = get(path, [&](const QByteArray& chunk) {
        if (expectedSize >= 0 && written + chunk.size() > expectedSize)
            return int(ueSizeDiffers);
        if (file.write(chunk) != chunk.size())
            return int(ueWriteFailed);
        written += chunk.size();
        return 0;
    });
    if (!code && expectedSize >= 0 && written != expectedSize)
        code = ueSizeDiffers;
    if (!code && !file.commit())
        code = ueWriteFailed;
    if (code) {
        // Neither a partial download nor an older file of that name is left to be mistaken for this one.
        file.cancelWriting();
        QFile::remove(target);
    }
    return code;
}

void TUpdateDialog::recordBadAnswer(int code, const QByteArray& answer) const
{
    QSaveFile file(UpdateFolder() + QStringLiteral("upderr.dat"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QByteArray dash("----------\r\n");
    file.write(dash + QByteArray::number(code) + "\r\n" + dash + "\r\n");
    file.write(answer.left(MaxRecordedAnswerBytes));
    file.commit();
}

bool TUpdateDialog::ConnectAndCheck()
{
    Disconnect();
    m_lastMessage.clear();
    m_restartNeeded = false;
    m_info = {};
    QByteArray body;
    int code = getAll((UpdatePath + UpdateIdent).toLower() + u'/', body);
    if (code == 0) {
        if (body.isEmpty()) {
            code = urNothing;
        } else {
            code = ParseUpdateInfo(body, m_info);
            if (code != urOk && code != urNothing) {
                // A bad answer reads as nothing to update once it is on record; without the update folder
                // it cannot be recorded and the check fails with its code.
                if (QFileInfo(UpdateFolder()).isDir()) {
                    recordBadAnswer(code, body);
                    code = urNothing;
                }
            }
        }
    }
    if (code == urOk || code == urNothing) {
        m_lastCode = code;
        m_connected = true;
        return true;
    }
    Disconnect();
    switch (code) {
    case ueTimeout:
        code = urTimeout;
        break;
    case ueNameNotResolved:
        code = urNameNotFound;
        break;
    case ueCannotConnect:
        code = urCannotConnect;
        break;
    default:
        break;
    }
    m_lastCode = code;
    m_lastMessage = QStringLiteral("接続できませんでした  ");
    return false;
}

bool TUpdateDialog::FindUpdates()
{
    if (m_lastCode == urNothing)
        return false;
    bool any = false;
    for (TUpdateFileRec& f : m_info.files) {
        QString relative = f.path + f.name;
        relative.replace(u'\\', u'/');
        f.toUpdate = false;
        if (!f.version.isEmpty() && VersionGreater(f.version, InstalledFileVersion(relative))) {
            f.toUpdate = true;
        } else {
            const QFileInfo installed(ProgramFolder + relative);
            f.toUpdate = !installed.exists() || f.datetime > installed.lastModified();
        }
        if (f.toUpdate) {
            any = true;
            if (f.restart)
                m_restartNeeded = true;
        }
    }
    return any;
}

bool TUpdateDialog::DownloadUpdates()
{
    const QString folder = UpdateFolder();
    QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir()) {
        m_lastCode = ueWriteFailed;
        return false;
    }
    if (!m_connected) {
        m_lastCode = ueNotConnected;
        return false;
    }
    // A hand-over file exists only for a complete set of downloads.
    QFile::remove(folder + UpdateInfoFileName);
    for (const TUpdateFileRec& f : std::as_const(m_info.files)) {
        if (IsUnsafeUpdateFile(f)) {
            m_lastCode = ueUnsafeName;
            return false;
        }
    }
    for (TUpdateFileRec& f : m_info.files) {
        if (!f.toUpdate)
            continue;
        if (const int code =
                downloadFile(m_info.downloadPath + f.dlparam + u'/', folder + f.dlfile, f.size)) {
            m_lastCode = code;
            return false;
        }
        f.downloaded = true;
    }
    if (const int code = downloadFile(UpdateAppPath, folder + UpdaterFileName, -1)) {
        m_lastCode = code;
        return false;
    }
    if (!writeUpdateInfo()) {
        m_lastCode = ueWriteFailed;
        return false;
    }
    return true;
}

bool TUpdateDialog::writeUpdateInfo() const
{
    const QString path = UpdateFolder() + UpdateInfoFileName;
    QFile::remove(path);
    TMemIniFile ini(path);
    const QString app = QStringLiteral("APP");
    ini.WriteString(app, QStringLiteral("Name"), ProductTitle);
    ini.WriteString(app, QStringLiteral("Exe"),
                    QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    ini.WriteString(app, QStringLiteral("Ident"), UpdateIdentLower);
    ini.WriteString(app, QStringLiteral("Run"), m_restartNeeded ? QStringLiteral("1") : QStringLiteral("0"));
    int n = 0;
    for (const TUpdateFileRec& f : m_info.files) {
        if (!f.downloaded)
            continue;
        const QString section = QStringLiteral("FILE%1").arg(++n);
        ini.WriteString(section, QStringLiteral("Name"), f.name);
        ini.WriteInteger(section, QStringLiteral("Size"), f.size);
        ini.WriteString(section, QStringLiteral("DateTime"),
                        f.datetime.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")));
        ini.WriteString(section, QStringLiteral("DLFile"), f.dlfile);
    }
    return ini.UpdateFile();
}

int TUpdateDialog::RunUpdater()
{
    const QString folder = UpdateFolder();
    const QString updater = folder + UpdaterFileName;
    // Downloaded without permissions; only its owner may run it.
    QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const int error = ShellOpen(updater, QStringLiteral("-auto"), folder, m_restartNeeded);
    if (error == 0)
        return 0;
    QSaveFile log(folder + QStringLiteral("runapp.log"));
    if (log.open(QIODevice::WriteOnly)) {
        log.write(QByteArray::number(error) + "\r\n");
        log.commit();
    }
    return error == UpdaterStartRefused ? 9 : 1;
}

bool TUpdateDialog::FetchNotice()
{
    if (!m_connected) {
        m_lastCode = ueNotConnected;
        return false;
    }
    QByteArray body;
    if (const int code = getAll(QStringLiteral("/info/") + UpdateIdentLower + u'/', body)) {
        m_lastCode = code;
        return false;
    }
    m_noticeLines = NoticeLinesFromBody(body);
    return true;
}
