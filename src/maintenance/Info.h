// The notices window: the maker's current notice with its cache, the two start-up options and the update
// offer; and the notice flows of the start-up and of the notice command.
#pragma once

#include "maintenance/UpdDlg.h"

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class TAddressList;
struct TListCommandResult;

// The built-in text shown on the first run and whenever no notice is held.
extern const QString NoticeGreeting;

// The notice cache "info.dat" in DataRootFolder + "info/": a 10-character date, CR LF, then the notice text
// (CP932). A file shorter than 10 bytes holds nothing.
struct TNoticeCache
{
    QString date;
    QString text;
};
TNoticeCache ReadNoticeCache(const QByteArray& bytes);
QByteArray NoticeCacheBytes(const QString& date, const QString& text);
QString NoticeCachePath();

class TInfoDialog : public QDialog
{
public:
    explicit TInfoDialog(QWidget* owner);
    ~TInfoDialog() override;

    // Checks the connection and fetches the update information; unless quiet, tells the user why not.
    bool FetchUpdateInfo(bool quiet);
    // Fills the text box: the greeting only, or the cached notice, replaced by a newer one from the server.
    void ShowNotice(bool defaultOnly);
    // Offers the newer files, downloads them and starts the updater.
    void RunUpdate();
    bool NoticeAtStartChecked() const;
    bool UpdateCheckAtStartChecked() const;
    bool RestartRequested() const { return m_restartRequested; }

    const QString& CachedNoticeDate() const { return m_cachedNoticeDate; }
    QString NoticeText() const;
    TUpdateDialog& Update() { return m_update; }

private:
    void loadCachedNotice();
    void saveCachedNotice() const;
    void setNoticeText(const QString& text);

    TUpdateDialog m_update;
    QString m_cachedNoticeDate;
    bool m_restartRequested = false;
    QPlainTextEdit* m_memInfo;
    QCheckBox* m_chkInfo;
    QCheckBox* m_chkUpdate;
};

// The start-up's notices: the greeting on the first run, then, when wanted and the update information
// arrives, the current notice and the update offer. Takes the two options into MainSettings; the result's
// updaterStarted says the program must end now.
TListCommandResult RunStartupNotices(QWidget* list);
// The notice command: the window opens only when the update information arrived (else the reason is shown);
// the result carries the two options.
TListCommandResult RunInfoCommand(QWidget* list);
