// The update check: the server's answer, the newer files, their downloads, the hand-over file and the
// updater's start, and the notice text fetched over the same connection.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QNetworkAccessManager;

// The program's identity in the update protocol, and its lower-case form in request paths.
inline const QString UpdateIdent = QStringLiteral("Quenrid215");
inline const QString UpdateIdentLower = QStringLiteral("quenrid215");

// Results of reading an answer, and the codes of failing requests.
enum TUpdateResultCode {
    urOk = 0,
    urNothing = 1000,       // nothing to update (also a bad answer, once recorded)
    urTimeout = 1501,       // from 12002
    urNameNotFound = 1502,  // from 12007
    urCannotConnect = 1503, // from 12029
    urNoXml = 2000,
    urNotUpdate = 2001,
    urNoApp = 2002,
    urOtherApp = 2003,
    urBadCount = 2005,
    urCountDiffers = 2006,
    urNoDlPath = 2007,
    urEmptyDlPath = 2008,
    urNoName = 2101,
    urNoSize = 2102,
    urBadSize = 2103,
    urNoDateTime = 2104,
    urBadDateTime = 2105,
    urNoDlFile = 2106,
    urNoDlParam = 2107,
    urParseError = 9999,
};

// Request failures (an HTTP status other than 200 is kept as the status itself, 100 to 599).
enum TUpdateRequestError {
    ueTimeout = 12002,
    ueInvalidUrl = 12005,
    ueNameNotResolved = 12007,
    ueCancelled = 12017,
    ueCannotConnect = 12029,
    ueConnectionAborted = 12030, // closed early, or a body shorter than its Content-Length
    ueUnsafeName = 3001,         // a listed file would land outside its folder
    ueSizeDiffers = 3002,        // a download differs from its listed size
    ueWriteFailed = 3003,        // a download could not be written
    ueTooLarge = 3004,           // an answer too large to hold
    ueNotConnected = 3005,       // no successful check before this request
    ueOtherNetwork = 20000,      // + the network layer's own error number
};

// The shell's answer when the user refused to let the updater start.
constexpr int UpdaterStartRefused = 1223;

// One listed file. Texts are cut to the protocol's CP932 byte sizes.
struct TUpdateFileRec
{
    QString name;    // 128 bytes
    QString jpname;  // 128
    QString path;    // 128: folder relative to ProgramFolder, empty or ending in "\"
    QString version; // 24: up to four decimal numbers; empty compares by date only
    qint32 size = 0;
    QDateTime datetime;
    bool restart = false;
    QString dlfile;  // 128: the download's name in the update folder
    QString dlparam; // 64: request path part of the download
    bool toUpdate = false;
    bool downloaded = false;
};

// What an answer says.
struct TUpdateInfo
{
    QString noticeDate;
    QString downloadPath;
    QList<TUpdateFileRec> files;
};

// Reads an answer (CP932 bytes) into info; answers a TUpdateResultCode (0 when the file list is filled).
int ParseUpdateInfo(const QByteArray& answer, TUpdateInfo& info);
// "YYYY?MM?DD?hh?mm?ss" by character positions; invalid when any part is missing or out of range.
QDateTime ParseUpdateDateTime(const QString& text);
// Up to four decimal parts (missing parts 0, further parts ignored, a part that is no number 0).
std::array<qint64, 4> SplitVersion(const QString& version);
// Whether version a is greater than version b, part by part from the left.
bool VersionGreater(const QString& a, const QString& b);
// A listed file whose folder or download name could lead outside its folder ("..", absolute paths, drive
// letters; separators in the download name).
bool IsUnsafeUpdateFile(const TUpdateFileRec& file);
// Splits notice text into lines as a string list does (a final line break adds no empty line).
QStringList SplitNoticeLines(const QString& text);
// The lines of a notice answer: UTF-8 (a byte-order mark dropped), kept to what CP932 can hold.
QStringList NoticeLinesFromBody(QByteArray body);

// The version manifest the build writes into ProgramFolder: [FILES] relative path=a.b.c.d.
inline const QString VersionManifestName = QStringLiteral("Versions.ini");
// The installed version of a file relative to ProgramFolder ("/" separators); empty when none is known.
QString InstalledFileVersion(const QString& relativePath);

// Is a network reachable? Replaceable for tests; the default asks the system and counts an unknown state as
// connected.
using TNetworkCheck = std::function<bool()>;
void SetNetworkCheck(TNetworkCheck check);

// Never shown: its user creates it, calls the operations in order and destroys it.
class TUpdateDialog
{
public:
    TUpdateDialog();
    ~TUpdateDialog();
    TUpdateDialog(const TUpdateDialog&) = delete;
    TUpdateDialog& operator=(const TUpdateDialog&) = delete;

    // Whether a connection can be made at all; otherwise LastMessage says so.
    bool CheckInternet();
    // Asks the server for the update information; false only when the request failed.
    bool ConnectAndCheck();
    // Marks the listed files newer than the installed ones; true when any.
    bool FindUpdates();
    // Downloads the marked files and the updater, then writes "updateinfo.dat".
    bool DownloadUpdates();
    // Starts the updater: 0 started (and ended, unless a restart is needed), 9 refused, 1 other failure.
    int RunUpdater();
    // Fetches the notice text into NoticeLines.
    bool FetchNotice();
    void Disconnect();

    int LastCode() const { return m_lastCode; }
    const QString& LastMessage() const { return m_lastMessage; }
    bool RestartNeeded() const { return m_restartNeeded; }
    const QString& NoticeDate() const { return m_info.noticeDate; }
    const QString& DownloadPath() const { return m_info.downloadPath; }
    const QList<TUpdateFileRec>& Files() const { return m_info.files; }
    const QStringList& NoticeLines() const { return m_noticeLines; }
    bool Connected() const { return m_connected; }

    // The update folder, DataRootFolder + "update/".
    static QString UpdateFolder();
    // Inactivity time-out of every request, in milliseconds.
    static constexpr int DefaultTimeoutMs = 15000;
    void SetTimeoutMs(int ms) { m_timeoutMs = ms; }

private:
    using Sink = std::function<int(const QByteArray&)>; // 0 to go on, else the code that ends the request
    // GETs path from UpdateDomain; answers 0 or the request's failure code.
    int get(const QString& path, const Sink& sink);
    int getAll(const QString& path, QByteArray& body);
    int downloadFile(const QString& path, const QString& target, qint64 expectedSize);
    void recordBadAnswer(int code, const QByteArray& answer) const;
    bool writeUpdateInfo() const;

    std::unique_ptr<QNetworkAccessManager> m_session;
    bool m_connected = false;
    int m_lastCode = 0;
    QString m_lastMessage;
    bool m_restartNeeded = false;
    TUpdateInfo m_info;
    QStringList m_noticeLines;
    int m_timeoutMs = DefaultTimeoutMs;
};
