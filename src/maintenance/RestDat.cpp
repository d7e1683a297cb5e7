// The restore wizard.
#include "maintenance/RestDat.h"

#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "maintenance/BkupDat.h"
#include "maintenance/RestoreRun.h"
#include "platform/SystemPaths.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

void inform(QWidget* owner, const QString& text)
{
    MessageBoxPos(owner, text, ProductTitle, MsgSeam::MbIconInformation);
}

QHBoxLayout* folderRow(QLineEdit* edit, QPushButton* browse)
{
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(browse);
    return row;
}

} // namespace

TRestoreData::TRestoreData(QWidget* owner, const QStringList& keywordNames,
                           std::function<bool()> closeChildWindows)
    : QDialog(owner), m_closeChildWindows(std::move(closeChildWindows)),
      m_historyLabels(HistoryLabels(keywordNames))
{
    setObjectName(QStringLiteral("RestoreData"));
    setWindowTitle(QStringLiteral("復元"));
    setProperty("HelpContext", 142);

    m_pages = Named<QStackedWidget>(this, "pgcMain");
    QWidget* pathPage = CopyWizard::MakePage(
        m_pages, "tabstDataPath",
        {QStringLiteral("バックアップしたデータを使用できる状態にします"),
         QStringLiteral("復元する元のデータフォルダーと、復元する先のデータフォルダーを指定してください"),
         QStringLiteral("開かれている画面はすべて閉じて作業を行います")});
    auto* pathLayout = static_cast<QVBoxLayout*>(pathPage->layout());
    pathLayout->addSpacing(8);
    pathLayout->addWidget(new QLabel(QStringLiteral("復元元："), pathPage));
    edtSrc = Named<QLineEdit>(pathPage, "edtSrc");
    bbtnBrowseSrc = MakeButton(pathPage, "bbtnBrowseSrc", QStringLiteral("参照"));
    pathLayout->addLayout(folderRow(edtSrc, bbtnBrowseSrc));
    pathLayout->addWidget(new QLabel(QStringLiteral("復元先："), pathPage));
    rbNowDataPath = Named<QRadioButton>(pathPage, "rbNowDataPath",
                                        QStringLiteral("現在のデータ保存フォルダーに上書きする"));
    rbSelectDataPath =
        Named<QRadioButton>(pathPage, "rbSelectDataPath", QStringLiteral("フォルダーを指定する"));
    pathLayout->addWidget(rbNowDataPath);
    pathLayout->addWidget(rbSelectDataPath);
    edtDest = Named<QLineEdit>(pathPage, "edtDest");
    bbtnBrowseDest = MakeButton(pathPage, "bbtnBrowseDest", QStringLiteral("参照"));
    pathLayout->addLayout(folderRow(edtDest, bbtnBrowseDest));
    pathLayout->addStretch();
    for (QLineEdit* edit : {edtSrc, edtDest}) {
        edit->setMaxLength(DataPathMax);
        SetImeMode(edit, imClose);
    }
    for (QPushButton* browse : {bbtnBrowseSrc, bbtnBrowseDest})
        SetButtonPicture(browse, QStringLiteral("FOLDER"));
    PaintCheckedBlue(rbNowDataPath);
    PaintCheckedBlue(rbSelectDataPath);

    QWidget* confirmPage = CopyWizard::MakePage(m_pages, "tabstConfirmation",
                                                {QStringLiteral("必要なサイズと空き容量を確認してください"),
                                                 QStringLiteral("よろしければ復元ボタンを押してください")});
    auto* confirmLayout = static_cast<QVBoxLayout*>(confirmPage->layout());
    confirmLayout->addSpacing(8);
    confirmLayout->addWidget(new QLabel(QStringLiteral("復元元："), confirmPage));
    pnlConfirmationSrc = CopyWizard::MakePanel(confirmPage, "pnlConfirmationSrc");
    confirmLayout->addWidget(pnlConfirmationSrc);
    confirmLayout->addWidget(new QLabel(QStringLiteral("復元先："), confirmPage));
    pnlConfirmationDest = CopyWizard::MakePanel(confirmPage, "pnlConfirmationDest");
    confirmLayout->addWidget(pnlConfirmationDest);
    pnlNeedSize = CopyWizard::MakePanel(confirmPage, "pnlNeedSize");
    pnlFreeSize = CopyWizard::MakePanel(confirmPage, "pnlFreeSize");
    confirmLayout->addWidget(CopyWizard::MakeSizeRow(confirmPage, pnlNeedSize, pnlFreeSize));
    confirmLayout->addStretch();

    QWidget* resultPage =
        CopyWizard::MakePage(m_pages, "tabstResult", {QStringLiteral("復元が完了しました")});
    lvResult = CopyWizard::MakeResultList(resultPage);
    resultPage->layout()->addWidget(lvResult);
    chkChangeDataPath =
        Named<QCheckBox>(resultPage, "chkChangeDataPath",
                         QStringLiteral("データ保存フォルダーを復元したフォルダーに変更する"));
    PaintCheckedBlue(chkChangeDataPath);
    resultPage->layout()->addWidget(chkChangeDataPath);

    btnPrior = MakeButton(this, "btnPrior", QStringLiteral("< 戻る"));
    btnNext = MakeButton(this, "btnNext", QStringLiteral("次へ >"));
    btnRestore = MakeButton(this, "btnRestore", QStringLiteral("復元"));
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(ButtonRow({btnPrior, btnNext, btnRestore, btnCancel, btnClose}));
    resize(540, 380);

    connect(btnNext, &QPushButton::clicked, this, &TRestoreData::btnNextClick);
    connect(btnPrior, &QPushButton::clicked, this, &TRestoreData::btnPriorClick);
    connect(btnRestore, &QPushButton::clicked, this, &TRestoreData::btnRestoreClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnClose, &QPushButton::clicked, this, &TRestoreData::btnCloseClick);
    connect(bbtnBrowseSrc, &QPushButton::clicked, this, [this] { bbtnBrowseClick(0); });
    connect(bbtnBrowseDest, &QPushButton::clicked, this, [this] { bbtnBrowseClick(1); });
    connect(rbNowDataPath, &QRadioButton::toggled, this, &TRestoreData::rbDataPathClick);

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(edtSrc, [this]() -> QWidget* {
        if (edtSrc->text().trimmed().isEmpty())
            return bbtnBrowseSrc;
        return rbNowDataPath->isChecked() ? rbNowDataPath : rbSelectDataPath;
    });
    enter->addTarget(rbNowDataPath, btnNext);
    enter->addTarget(rbSelectDataPath, edtDest);
    enter->addTarget(edtDest, [this]() -> QWidget* {
        return edtDest->text().trimmed().isEmpty() ? static_cast<QWidget*>(bbtnBrowseDest) : btnNext;
    });
    enter->addNext(lvResult);
    enter->addNext(chkChangeDataPath);

    // Opening.
    edtSrc->setText(DataFolder);
    edtDest->setText(DataFolder);
    rbNowDataPath->setChecked(true);
    rbDataPathClick();
    btnPrior->setEnabled(false);
    btnRestore->setEnabled(false);
    btnClose->hide();
    showPage(0);
}

bool TRestoreData::ChangeDataPathChecked() const
{
    return chkChangeDataPath->isChecked();
}

void TRestoreData::showPage(int page)
{
    m_pages->setCurrentIndex(page);
}

void TRestoreData::rbDataPathClick()
{
    const bool select = rbSelectDataPath->isChecked();
    SetEditEnabled(edtDest, select);
    bbtnBrowseDest->setEnabled(select);
}

void TRestoreData::bbtnBrowseClick(int tag)
{
    QLineEdit* edit = tag == 0 ? edtSrc : edtDest;
    QString path = edit->text().trimmed();
    if (!QFileInfo(path).isDir())
        path = DataRootFolder;
    const QString title =
        QString::fromUtf8(tag == 0 ? "復元する元のデータフォルダー" : "復元する先のデータフォルダー") +
        QStringLiteral("を指定してください");
    if (SelectFolder(path, this, title, false, true)) {
        edit->setText(path);
        TEnterMovesFocus::focusWithCaretAtEnd(edit);
    }
}

void TRestoreData::btnNextClick()
{
    const QString source = SystemPaths::WithSlash(edtSrc->text().trimmed());
    const bool missing = edtSrc->text().trimmed().isEmpty() || !QFileInfo(source).isDir();
    if (missing || SameFolder(source, DataFolder)) {
        inform(this, missing
                         ? QStringLiteral("復元元フォルダーが見つかりません  ")
                         : QStringLiteral("復元元に現在使用しているデータ保存フォルダーを指定しています  "));
        TEnterMovesFocus::focusWithCaretAtEnd(edtSrc);
        return;
    }
    const QString destText = rbNowDataPath->isChecked() ? DataFolder : edtDest->text().trimmed();
    const QString dest = SystemPaths::WithSlash(destText);
    if (SameFolder(dest, source)) {
        inform(this, QStringLiteral("復元元と復元先で同じフォルダーを指定しています  "));
        TEnterMovesFocus::focusWithCaretAtEnd(edtDest->isEnabled() ? edtDest : edtSrc);
        return;
    }
    m_source = source;
    m_dest = dest;
    m_books = RestoreBookNames(m_source);
    pnlConfirmationSrc->setText(m_source);
    pnlConfirmationDest->setText(m_dest);
    const std::optional<TDiskSpace> space = DiskSpaceOf(destText);
    measure(space);
    if (m_needSize == 0) {
        inform(this, QStringLiteral("復元元フォルダーには復元するデータがありません  "));
        return;
    }
    btnPrior->setEnabled(true);
    btnRestore->setEnabled(true);
    btnNext->setEnabled(false);
    showPage(1);
    btnRestore->setFocus();
}

void TRestoreData::measure(const std::optional<TDiskSpace>& space)
{
    QList<TBookCopy> books;
    for (const QString& name : m_books)
        books.append({name, name, name});
    m_freeSize = space ? space->freeBytes : 0;
    m_needSize = MeasureData(TDataParts::OfBackup(m_source), books, space ? space->clusterSize : 0);
    pnlNeedSize->setText(KilobyteText(m_needSize));
    pnlFreeSize->setText(CopyWizard::FreeSizeText(space));
}

void TRestoreData::btnPriorClick()
{
    btnPrior->setEnabled(false);
    btnRestore->setEnabled(false);
    btnNext->setEnabled(true);
    showPage(0);
    TEnterMovesFocus::focusWithCaretAtEnd(edtSrc);
}

void TRestoreData::btnRestoreClick()
{
    if (m_freeSize < m_needSize) {
        inform(this, QStringLiteral("空き容量が足りません  "));
        btnPrior->setFocus();
        return;
    }
    if (MessageBoxPos(this, QStringLiteral("バックアップデータの復元を行います  \r\nよろしいですか？  "),
                      ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return;
    if (!QFileInfo(m_dest).isDir()) {
        if (MessageBoxPos(
                this, QStringLiteral("復元先フォルダーが見つかりません  \r\n作成してもよろしいですか？  "),
                ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
            return;
        if (!QDir().mkpath(m_dest) || !QFileInfo(m_dest).isDir()) {
            inform(this, QStringLiteral("復元先フォルダーが作成できませんでした  "));
            return;
        }
    }
    if (m_closeChildWindows && !m_closeChildWindows())
        return;
    repaint();
    try {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_report = RunRestore(m_source, m_dest, m_books, m_historyLabels);
        QGuiApplication::restoreOverrideCursor();
    } catch (const std::exception&) {
        // The run has put its files back and reopened the tables; the wizard stays where it was.
        QGuiApplication::restoreOverrideCursor();
        return;
    }
    CopyWizard::FillResultList(lvResult, m_report);
    const bool otherFolder = !SameFolder(m_dest, DataFolder);
    chkChangeDataPath->setChecked(otherFolder);
    chkChangeDataPath->setEnabled(otherFolder);
    btnPrior->setEnabled(false);
    btnRestore->setEnabled(false);
    btnCancel->hide();
    btnClose->show();
    showPage(2);
    btnClose->setFocus();
}

void TRestoreData::btnCloseClick()
{
    if (ChangeDataPathChecked()) {
        DataFolder = m_dest;
        SetDataSubFolders();
        WriteBackDataPath();
    }
    accept();
}
