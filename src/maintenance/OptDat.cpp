// The pack of the current book's table and the sender table.
#include "maintenance/OptDat.h"

#include "core/AdrsFolderList.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "maintenance/TableTools.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString PackFailure = QStringLiteral("データの最適化ができませんでした");

void pack(Table& table)
{
    RunTableToolHook(QStringLiteral("pack"), table.filePath());
    table.pack();
}

} // namespace

bool PackTables(QWidget* owner)
{
    if (CurrentAdrsIndex < 0 || CurrentAdrsIndex >= AdrsFolderList.size())
        return false;
    const QString folder = AdrsFolderList[CurrentAdrsIndex].Folder;
    bool ok = false;
    {
        const TSharedTableClosed closed(TDMQuenrid215::tkAdrs);
        ok = WorkOnExclusiveTable(owner, folder, PackFailure, pack);
    }
    if (!ok)
        return false;
    const TSharedTableClosed closed(TDMQuenrid215::tkSender);
    return WorkOnExclusiveTable(owner, QString(), PackFailure, pack);
}

TOptimizeData::TOptimizeData(QWidget* owner, std::function<bool()> closeChildren)
    : QDialog(owner), m_closeChildren(std::move(closeChildren))
{
    setObjectName(QStringLiteral("OptimizeData"));
    setWindowTitle(QStringLiteral("データの最適化"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SetHelpContext(this, 143);
    btnOptimize = MakeButton(this, "btnOptimize", QStringLiteral("最適化"), true);
    btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    connect(btnOptimize, &QPushButton::clicked, this, &TOptimizeData::btnOptimizeClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("データの最適化を行います")));
    layout->addWidget(new QLabel(QStringLiteral("開かれている画面はすべて閉じて作業を行います")));
    layout->addWidget(new QLabel(
        QStringLiteral("最適化前データは 「backup.opt」 というフォルダー下にバックアップが作成されます")));
    layout->addLayout(ButtonRow({btnOptimize, btnClose}));
}

void TOptimizeData::btnOptimizeClick()
{
    if (!ConfirmToolRun(this, QStringLiteral("データの最適化を行います  \r\nよろしいですか？  "),
                        m_closeChildren))
        return;
    bool packed = false;
    {
        const TBusyCursor busy;
        packed = MakeSafetyCopy(this, TBackupWork::Optimize, {CurrentAdrsIndex}, true) && PackTables(this);
    }
    if (!packed)
        return;
    MessageBoxPos(this, QStringLiteral("最適化が完了しました  "), ProductTitle, MsgSeam::MbIconInformation);
    accept();
}
