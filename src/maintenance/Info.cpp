// The notices window, its cache file and the notice flows of the start-up and of the notice command.
#include "maintenance/Info.h"

#include "addressbook/AdrsListServices.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "platform/Cp932.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

const QString NoticeGreeting =
    QStringLiteral("Tovarel をお買い上げいただきましてありがとうございます。\n\n"
                   "本製品は通常、検索に製品ディスクを使用しますので、挿入したままお使いください。\n\n"
                   "詳しい使い方は、画面上部のメニューから\n"
                   "　　［ヘルプ］－［Tovarel 操作ガイド］\n"
                   "をクリックするか、キーボードの ［Ｆ１］キーを押してください。");

namespace {

constexpr int NoticeDateBytes = 10;

QString withCrLf(const QString& text)
{
    return SplitNoticeLines(text).join(QLatin1String("\r\n"));
}

} // namespace

// ---- the cache ----

QString NoticeCachePath()
{
    return DataRootFolder + QStringLiteral("info/info.dat");
}

TNoticeCache ReadNoticeCache(const QByteArray& bytes)
{
    TNoticeCache cache;
    if (bytes.size() < NoticeDateBytes)
        return cache;
    QByteArray date = bytes.left(NoticeDateBytes);
    // A date cut short by its line break ends there.
    const qsizetype dateEnd = date.indexOf('\r') >= 0 ? date.indexOf('\r') : date.indexOf('\n');
    if (dateEnd >= 0)
        date.truncate(dateEnd);
    // A double-byte character cut by the tenth byte is dropped.
    const int last = int(date.size()) - 1;
    if (last >= 0 && Cp932::isLeadByteValue(uchar(date[last])) && Cp932::charStart(date, last) == last)
        date.chop(1);
    cache.date = Cp932::toUnicode(date);
    const qsizetype lineEnd = bytes.indexOf('\n');
    if (lineEnd >= 0)
        cache.text = SplitNoticeLines(Cp932::toUnicode(bytes.mid(lineEnd + 1))).join(u'\n');
    return cache;
}

QByteArray NoticeCacheBytes(const QString& date, const QString& text)
{
    QByteArray bytes = Cp932::cutAtBoundary(Cp932::fromUnicode(date), NoticeDateBytes) + "\r\n";
    if (!text.isEmpty())
        bytes += Cp932::fromUnicode(withCrLf(text));
    return bytes;
}

// ---- TInfoDialog ----

TInfoDialog::TInfoDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("InfoDialog"));
    setWindowTitle(QStringLiteral("お知らせ"));
    SetHelpContext(this, 148);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_memInfo = new QPlainTextEdit(this);
    m_memInfo->setObjectName(QStringLiteral("memInfo"));
    m_memInfo->setReadOnly(true);
    m_memInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memInfo->setMinimumSize(520, 260);

    auto* lblInfo1 = new QLabel(
        QStringLiteral("起動時にインターネットに接続して、製品のお知らせ情報の取得や、最新のアップ"), this);
    lblInfo1->setObjectName(QStringLiteral("lblInfo1"));
    auto* lblInfo2 =
        new QLabel(QStringLiteral("デートが公開されているかの確認をおこなうことができます。"), this);
    lblInfo2->setObjectName(QStringLiteral("lblInfo2"));
    m_chkInfo = new QCheckBox(QStringLiteral("起動時にお知らせ情報を取得し、お知らせを表示する"), this);
    m_chkInfo->setObjectName(QStringLiteral("chkInfo"));
    m_chkInfo->setChecked(MainSettings.Info);
    m_chkUpdate = new QCheckBox(QStringLiteral("起動時に最新アップデートの確認をする"), this);
    m_chkUpdate->setObjectName(QStringLiteral("chkUpdate"));
    m_chkUpdate->setChecked(MainSettings.UpdateCheck);
    QPushButton* btnOK = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_memInfo, 1);
    layout->addSpacing(6);
    layout->addWidget(lblInfo1);
    layout->addWidget(lblInfo2);
    layout->addSpacing(4);
    layout->addWidget(m_chkInfo);
    layout->addWidget(m_chkUpdate);
    layout->addLayout(ButtonRow({btnOK}));
    // Its size is known before it is centred.
    adjustSize();
}

TInfoDialog::~TInfoDialog()
{
    saveCachedNotice();
}

bool TInfoDialog::NoticeAtStartChecked() const
{
    return m_chkInfo->isChecked();
}

bool TInfoDialog::UpdateCheckAtStartChecked() const
{
    return m_chkUpdate->isChecked();
}

QString TInfoDialog::NoticeText() const
{
    return m_memInfo->toPlainText();
}

void TInfoDialog::setNoticeText(const QString& text)
{
    m_memInfo->setPlainText(text);
}

bool TInfoDialog::FetchUpdateInfo(bool quiet)
{
    if (!m_update.CheckInternet()) {
        if (!quiet)
            MessageBoxPos(this, m_update.LastMessage(), ProductTitle, MsgSeam::MbIconExclamation);
        return false;
    }
    if (m_update.ConnectAndCheck())
        return true;
    if (!quiet)
        MessageBoxPos(this,
                      QStringLiteral("お知らせ情報の取得がおこなえません  \r\n\r\n") +
                          m_update.LastMessage() + u'(' + QString::number(m_update.LastCode()) +
                          QStringLiteral(")  ") + QStringLiteral("\r\n\r\n") +
                          QStringLiteral("次の内容を確認をしてみてください  ") + QStringLiteral("\r\n") +
                          QStringLiteral("・インターネットに接続できる状態か  ") + QStringLiteral("\r\n") +
                          QStringLiteral("・セキュリティソフトなどで接続の制限をかけていないか  "),
                      ProductTitle, MsgSeam::MbIconInformation);
    return false;
}

void TInfoDialog::loadCachedNotice()
{
    m_cachedNoticeDate.clear();
    QFile file(NoticeCachePath());
    if (!file.open(QIODevice::ReadOnly))
        return;
    const TNoticeCache cache = ReadNoticeCache(file.readAll());
    if (cache.date.isEmpty())
        return;
    m_cachedNoticeDate = cache.date;
    setNoticeText(cache.text);
}

void TInfoDialog::ShowNotice(bool defaultOnly)
{
    if (!defaultOnly) {
        loadCachedNotice();
        if (m_update.NoticeDate().compare(m_cachedNoticeDate, Qt::CaseInsensitive) > 0 &&
            m_update.FetchNotice()) {
            setNoticeText(m_update.NoticeLines().join(u'\n'));
            m_cachedNoticeDate = m_update.NoticeDate();
        }
        if (NoticeText().isEmpty())
            setNoticeText(NoticeGreeting);
    }
    if (defaultOnly || m_cachedNoticeDate.isEmpty())
        setNoticeText(NoticeGreeting);
}

void TInfoDialog::saveCachedNotice() const
{
    if (m_cachedNoticeDate.isEmpty())
        return;
    QDir().mkpath(DataRootFolder + QStringLiteral("info"));
    const QString text = NoticeText();
    QSaveFile file(NoticeCachePath());
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(NoticeCacheBytes(m_cachedNoticeDate,
                                text.compare(NoticeGreeting, Qt::CaseInsensitive) == 0 ? QString() : text));
    file.commit();
}

void TInfoDialog::RunUpdate()
{
    if (!m_update.FindUpdates())
        return;
    QWidget* list = parentWidget();
    const QString uac = QStringLiteral("※Windows 10 / 8 / 7 / Vista の場合、アップデートの途中で  \r\n"
                                       "　ユーザーアカウント制御（UAC）のダイアログが表示される  \r\n"
                                       "　ことがあります  ");
    QString question = QStringLiteral(
        "最新のアップデートが見つかりました  \r\nこのアップデートを適用してもよろしいですか？  \r\n\r\n");
    if (m_update.RestartNeeded())
        question += QStringLiteral("※自動的にアプリケーションが再起動されます  \r\n\r\n");
    question += uac;
    if (MessageBoxPos(list, question, ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != 6)
        return;
    if (!m_update.DownloadUpdates()) {
        MessageBoxPos(list,
                      QStringLiteral("アップデートファイルがダウンロードできませんでした  \r\n"
                                     "接続先が混み合っている可能性があります  \r\n\r\n"
                                     "しばらくしてからお試しいただくか  \r\n"
                                     "MorvaneのWebサイトから直接ダウンロードしてください  "),
                      ProductTitle, MsgSeam::MbIconExclamation);
        return;
    }
    if (list)
        list->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int result = m_update.RunUpdater();
    QApplication::restoreOverrideCursor();
    if (result == 1)
        MessageBoxPos(list,
                      QStringLiteral("アップデートプログラムが起動できませんでした  \r\n\r\n"
                                     "再度アップデートの確認をお試しいただくか  \r\n"
                                     "MorvaneのWebサイトから直接ダウンロードしてください  "),
                      ProductTitle, MsgSeam::MbIconStop);
    else if (result == 9)
        MessageBoxPos(list, QStringLiteral("アップデートを中止しました  "), ProductTitle,
                      MsgSeam::MbIconInformation);
    else
        m_restartRequested = m_update.RestartNeeded();
    if (list) {
        list->setEnabled(true);
        ForceForegroundWindow(list->window());
    }
}

// ---- the flows ----

TListCommandResult RunStartupNotices(QWidget* list)
{
    TListCommandResult result;
    TInfoDialog dialog(list);
    const auto takeOptions = [&dialog] {
        MainSettings.Info = dialog.NoticeAtStartChecked();
        MainSettings.UpdateCheck = dialog.UpdateCheckAtStartChecked();
    };
    if (FirstRun) {
        dialog.ShowNotice(true);
        CenterForm(&dialog, list);
        dialog.exec();
        takeOptions();
    }
    if ((MainSettings.Info || MainSettings.UpdateCheck) && dialog.FetchUpdateInfo(true)) {
        if (MainSettings.Info && !FirstRun) {
            dialog.ShowNotice(false);
            CenterForm(&dialog, list);
            dialog.exec();
            takeOptions();
        }
        if (MainSettings.UpdateCheck) {
            dialog.RunUpdate();
            result.updaterStarted = dialog.RestartRequested();
        }
    }
    result.ok = true;
    result.noticeAtStart = MainSettings.Info;
    result.updateCheckAtStart = MainSettings.UpdateCheck;
    return result;
}

TListCommandResult RunInfoCommand(QWidget* list)
{
    TListCommandResult result;
    TInfoDialog dialog(list);
    CenterForm(&dialog, list);
    if (!dialog.FetchUpdateInfo(false))
        return result;
    dialog.ShowNotice(false);
    dialog.exec();
    result.ok = true;
    result.noticeAtStart = dialog.NoticeAtStartChecked();
    result.updateCheckAtStart = dialog.UpdateCheckAtStartChecked();
    return result;
}
