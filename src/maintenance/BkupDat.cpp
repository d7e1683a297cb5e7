// The backup wizard and the page parts it shares with the restore wizard.
#include "maintenance/BkupDat.h"

#include "core/AdrsFolderList.h"
#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "platform/SystemPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace CopyWizard {

QWidget* MakePage(QStackedWidget* pages, const char* name, const QStringList& headings)
{
    auto* page = Named<QWidget>(pages, name);
    auto* layout = new QVBoxLayout(page);
    for (int i = 0; i < headings.size(); ++i) {
        auto* heading = new QLabel(headings[i], page);
        if (i == 0) {
            QFont font = heading->font();
            font.setBold(true);
            heading->setFont(font);
        }
        layout->addWidget(heading);
    }
    pages->addWidget(page);
    return page;
}

QLabel* MakePanel(QWidget* parent, const char* name)
{
    auto* panel = Named<QLabel>(parent, name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setMinimumWidth(80);
    return panel;
}

QWidget* MakeSizeRow(QWidget* parent, QLabel* needSize, QLabel* freeSize)
{
    auto* box = new QWidget(parent);
    auto* grid = new QVBoxLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("必要なサイズ："), box));
    needSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(needSize);
    row->addWidget(new QLabel(QStringLiteral("KB ／ 現在の空き容量："), box));
    freeSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(freeSize);
    row->addWidget(new QLabel(QStringLiteral("KB"), box));
    row->addStretch();
    grid->addLayout(row);
    auto* note = new QLabel(
        QStringLiteral("※必要サイズは環境によって誤差がでますので、目安として参考にしてください"), box);
    note->setStyleSheet(QStringLiteral("color: red"));
    note->setWordWrap(true);
    grid->addWidget(note);
    return box;
}

QTreeWidget* MakeResultList(QWidget* parent)
{
    auto* list = Named<QTreeWidget>(parent, "lvResult");
    list->setHeaderLabels({QStringLiteral("ファイル"), QStringLiteral("成否"), QStringLiteral("要因")});
    list->setRootIsDecorated(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setStretchLastSection(false);
    list->setColumnWidth(1, 48);
    list->setColumnWidth(2, 160);
    return list;
}

void FillResultList(QTreeWidget* list, const TCopyReport& report)
{
    list->clear();
    for (const TCopyLine& line : report.all()) {
        auto* item =
            new QTreeWidgetItem(list, {line.label, CopyResultMark(line.code), CopyResultReason(line.code)});
        item->setTextAlignment(1, Qt::AlignCenter);
    }
}

QString FreeSizeText(const std::optional<TDiskSpace>& space)
{
    return space ? KilobyteText(space->freeBytes) : QStringLiteral("--- ");
}

} // namespace CopyWizard

namespace {

} // namespace

TBackupData::TBackupData(QWidget* owner, const QStringList& keywordNames)
    : QDialog(owner), m_source(DataFolder), m_historyLabels(HistoryLabels(keywordNames))
{
    setObjectName(QStringLiteral("BackupData"));
    setWindowTitle(QStringLiteral("バックアップ"));
    setProperty("HelpContext", 141);

    m_pages = Named<QStackedWidget>(this, "pgcMain");
    QWidget* pathPage = CopyWizard::MakePage(m_pages, "tabstDataPath",
                                             {QStringLiteral("使用しているデータのバックアップをとります"),
                                              QStringLiteral("保存先のフォルダーを指定してください")});
    auto* pathLayout = static_cast<QVBoxLayout*>(pathPage->layout());
    pathLayout->addSpacing(12);
    pathLayout->addWidget(new QLabel(QStringLiteral("保存先："), pathPage));
    auto* destRow = new QHBoxLayout;
    edtDest = Named<QLineEdit>(pathPage, "edtDest");
    edtDest->setMaxLength(DataPathMax);
    SetImeMode(edtDest, imClose);
    bbtnBrowseDest = MakeButton(pathPage, "bbtnBrowseDest", QStringLiteral("参照"));
    SetButtonPicture(bbtnBrowseDest, QStringLiteral("FOLDER"));
    destRow->addWidget(edtDest, 1);
    destRow->addWidget(bbtnBrowseDest);
    pathLayout->addLayout(destRow);
    pathLayout->addStretch();

    QWidget* confirmPage =
        CopyWizard::MakePage(m_pages, "tabstConfirmation",
                             {QStringLiteral("必要なサイズと空き容量を確認してください"),
                              QStringLiteral("よろしければバックアップボタンを押してください")});
    auto* confirmLayout = static_cast<QVBoxLayout*>(confirmPage->layout());
    confirmLayout->addSpacing(12);
    confirmLayout->addWidget(new QLabel(QStringLiteral("保存先："), confirmPage));
    pnlConfirmationDest = CopyWizard::MakePanel(confirmPage, "pnlConfirmationDest");
    confirmLayout->addWidget(pnlConfirmationDest);
    pnlNeedSize = CopyWizard::MakePanel(confirmPage, "pnlNeedSize");
    pnlFreeSize = CopyWizard::MakePanel(confirmPage, "pnlFreeSize");
    confirmLayout->addWidget(CopyWizard::MakeSizeRow(confirmPage, pnlNeedSize, pnlFreeSize));
    confirmLayout->addStretch();

    QWidget* resultPage =
        CopyWizard::MakePage(m_pages, "tabstResult", {QStringLiteral("バックアップが完了しました")});
    lvResult = CopyWizard::MakeResultList(resultPage);
    resultPage->layout()->addWidget(lvResult);

    btnPrior = MakeButton(this, "btnPrior", QStringLiteral("< 戻る"));
    btnNext = MakeButton(this, "btnNext", QStringLiteral("次へ >"));
    btnBackup = MakeButton(this, "btnBackup", QStringLiteral("バックアップ"));
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(ButtonRow({btnPrior, btnNext, btnBackup, btnCancel, btnClose}));
    resize(520, 340);

    connect(btnNext, &QPushButton::clicked, this, &TBackupData::btnNextClick);
    connect(btnPrior, &QPushButton::clicked, this, &TBackupData::btnPriorClick);
    connect(btnBackup, &QPushButton::clicked, this, &TBackupData::btnBackupClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(bbtnBrowseDest, &QPushButton::clicked, this, &TBackupData::bbtnBrowseDestClick);
    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(edtDest, [this]() -> QWidget* {
        return edtDest->text().trimmed().isEmpty() ? static_cast<QWidget*>(bbtnBrowseDest) : btnNext;
    });
    enter->addNext(lvResult);
    FormCreate();
}

void TBackupData::FormCreate()
{
    edtDest->setText(DataFolder + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd HHmmss")) +
                     QLatin1Char('/'));
    edtDest->setCursorPosition(int(edtDest->text().size()));
    btnPrior->setEnabled(false);
    btnBackup->setEnabled(false);
    btnClose->hide();
    showPage(0);
}

void TBackupData::showPage(int page)
{
    m_pages->setCurrentIndex(page);
}

void TBackupData::focusDest()
{
    TEnterMovesFocus::focusWithCaretAtEnd(edtDest);
}

void TBackupData::bbtnBrowseDestClick()
{
    QString path = edtDest->text().trimmed();
    if (!QFileInfo(path).isDir())
        path = DataRootFolder;
    if (SelectFolder(path, this, QStringLiteral("保存先のフォルダーを指定してください"), false, true)) {
        edtDest->setText(path);
        focusDest();
    }
}

void TBackupData::btnNextClick()
{
    const QString dest = SystemPaths::WithSlash(edtDest->text().trimmed());
    if (SameFolder(dest, DataFolder)) {
        MessageBoxPos(this, QStringLiteral("現在使用しているデータ保存フォルダーを指定しています  "),
                      ProductTitle, MsgSeam::MbIconInformation);
        focusDest();
        return;
    }
    m_dest = dest;
    pnlConfirmationDest->setText(m_dest);
    MeasureBackup();
    btnPrior->setEnabled(true);
    btnBackup->setEnabled(true);
    btnNext->setEnabled(false);
    showPage(1);
    btnBackup->setFocus();
}

void TBackupData::MeasureBackup()
{
    // Only a typed absolute folder has a file system to ask.
    const std::optional<TDiskSpace> space = DiskSpaceOf(edtDest->text().trimmed());
    m_clusterSize = space ? space->clusterSize : 0;
    m_freeSize = space ? space->freeBytes : 0;
    m_needSize =
        MeasureData(TDataParts::OfDataFolder(m_source, CategoryFolder), BackupBooks(), m_clusterSize);
    pnlNeedSize->setText(KilobyteText(m_needSize));
    pnlFreeSize->setText(CopyWizard::FreeSizeText(space));
}

void TBackupData::btnPriorClick()
{
    btnPrior->setEnabled(false);
    btnBackup->setEnabled(false);
    btnNext->setEnabled(true);
    showPage(0);
    focusDest();
}

void TBackupData::btnBackupClick()
{
    if (m_freeSize < m_needSize) {
        MessageBoxPos(this, QStringLiteral("空き容量が足りません  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        btnPrior->setFocus();
        return;
    }
    if (MessageBoxPos(this, QStringLiteral("データのバックアップを行います  \r\nよろしいですか？  "),
                      ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return;
    if (!QFileInfo(m_dest).isDir()) {
        if (MessageBoxPos(
                this, QStringLiteral("保存先フォルダーが見つかりません  \r\n作成してもよろしいですか？  "),
                ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
            return;
        if (!QDir().mkpath(m_dest) || !QFileInfo(m_dest).isDir()) {
            MessageBoxPos(this, QStringLiteral("保存先フォルダーが作成できませんでした  "), ProductTitle,
                          MsgSeam::MbIconInformation);
            return;
        }
    }
    repaint();
    {
        TBusyCursor busy;
        m_report = CopyData(TDataParts::OfDataFolder(m_source, CategoryFolder), TDataParts::OfBackup(m_dest),
                            BackupBooks(), m_historyLabels, TCopyDirection::Backup);
    }
    CopyWizard::FillResultList(lvResult, m_report);
    btnPrior->setEnabled(false);
    btnBackup->setEnabled(false);
    btnCancel->hide();
    btnClose->show();
    showPage(2);
    btnClose->setFocus();
}
