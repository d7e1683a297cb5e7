// The index repair of one address book and the sender table.
#include "maintenance/ReprIdx.h"

#include "core/AdrsFolderList.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "maintenance/TableTools.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString RepairFailure = QStringLiteral("インデックスの修復ができませんでした");

void reindex(Table& table)
{
    RunTableToolHook(QStringLiteral("reindex"), table.filePath());
    table.regenerateIndexes();
    const QStringList problems = table.integrityCheck();
    if (!problems.isEmpty())
        throw TableDamagedError(problems.join(QLatin1Char('\n')));
}

} // namespace

bool RepairTables(QWidget* owner, int book, bool sender)
{
    if (book >= 0 && book < AdrsFolderList.size()) {
        std::optional<TSharedTableClosed> closed;
        if (book == CurrentAdrsIndex)
            closed.emplace(TDMQuenrid215::tkAdrs);
        if (!WorkOnExclusiveTable(owner, AdrsFolderList[book].Folder, RepairFailure, reindex))
            return false;
    }
    if (!sender)
        return true;
    const TSharedTableClosed closed(TDMQuenrid215::tkSender);
    return WorkOnExclusiveTable(owner, QString(), RepairFailure, reindex);
}

TRepairIndex::TRepairIndex(QWidget* owner, std::function<bool()> closeChildren)
    : QDialog(owner), m_closeChildren(std::move(closeChildren))
{
    setObjectName(QStringLiteral("RepairIndex"));
    setWindowTitle(QStringLiteral("インデックス修復"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SetHelpContext(this, 144);
    chkAdrs = Named<QCheckBox>(this, "chkAdrs", QStringLiteral("アドレス帳データ："));
    lvAdrs = Named<QListWidget>(this, "lvAdrs");
    lvAdrs->setSelectionMode(QAbstractItemView::SingleSelection);
    chkSender = Named<QCheckBox>(this, "chkSender", QStringLiteral("差出人データ"));
    btnRepair = MakeButton(this, "btnRepair", QStringLiteral("修復"), true);
    btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));
    connect(btnRepair, &QPushButton::clicked, this, &TRepairIndex::btnRepairClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(chkAdrs, &QCheckBox::clicked, this, &TRepairIndex::chkAdrsClick);
    connect(chkSender, &QCheckBox::clicked, this, &TRepairIndex::chkSenderClick);
    auto* enter = new TEnterMovesFocus(this);
    for (QWidget* control :
         {static_cast<QWidget*>(lvAdrs), static_cast<QWidget*>(chkAdrs), static_cast<QWidget*>(chkSender)})
        enter->addNext(control);

    auto* note = new QLabel(QStringLiteral("※問題のないデータに対しては処理しないでください"));
    note->setStyleSheet(QStringLiteral("color: red"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("インデックスが破損したり古くなったりしたデータの修復を行います")), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral(
                          "修復対象データは 「backup.rep」 というフォルダー下にバックアップが作成されます")),
                      1, 0);
    layout->addWidget(note, 2, 0);
    layout->addWidget(new QLabel(QStringLiteral("開かれている画面はすべて閉じて作業を行います")), 3, 0);
    layout->addWidget(chkAdrs, 4, 0);
    layout->addWidget(lvAdrs, 5, 0);
    layout->addWidget(chkSender, 6, 0);
    layout->addLayout(ButtonRow({btnRepair, btnClose}), 7, 0);
    FormCreate();
}

void TRepairIndex::FormCreate()
{
    for (int i = 0; i < AdrsFolderList.size(); ++i) {
        if (AdrsFolderList[i].State == 1)
            continue;
        auto* item = new QListWidgetItem(AdrsFolderList[i].Name, lvAdrs);
        if (i == CurrentAdrsIndex) {
            lvAdrs->setCurrentItem(item);
            item->setSelected(true);
        }
    }
    lvAdrs->setFocus();
    chkAdrs->setChecked(true);
    chkSender->setChecked(true);
    chkAdrsClick();
    chkSenderClick();
}

namespace {

void showChecked(QCheckBox* box)
{
    QPalette p = box->palette();
    p.setColor(QPalette::WindowText,
               box->isChecked() ? QColor(Qt::blue) : QApplication::palette(box).color(QPalette::WindowText));
    box->setPalette(p);
}

} // namespace

void TRepairIndex::chkAdrsClick()
{
    showChecked(chkAdrs);
    lvAdrs->setEnabled(chkAdrs->isChecked());
    QPalette p = lvAdrs->palette();
    p.setColor(QPalette::Base, palette().color(chkAdrs->isChecked() ? QPalette::Base : QPalette::Button));
    lvAdrs->setPalette(p);
    btnRepair->setEnabled(chkAdrs->isChecked() || chkSender->isChecked());
}

void TRepairIndex::chkSenderClick()
{
    showChecked(chkSender);
    btnRepair->setEnabled(chkAdrs->isChecked() || chkSender->isChecked());
}

void TRepairIndex::btnRepairClick()
{
    int book = -1;
    if (chkAdrs->isChecked()) {
        const QList<QListWidgetItem*> selected = lvAdrs->selectedItems();
        if (selected.isEmpty()) {
            MessageBoxPos(this, QStringLiteral("修復するアドレス帳を選択してください  "), ProductTitle,
                          MsgSeam::MbIconInformation);
            lvAdrs->setFocus();
            return;
        }
        for (int i = 0; i < AdrsFolderList.size() && book < 0; ++i)
            if (AdrsFolderList[i].State != 1 && AdrsFolderList[i].Name == selected.first()->text())
                book = i;
    }
    if (!ConfirmToolRun(this,
                        QStringLiteral("選択したデータのインデックスを修復します  \r\nよろしいですか？  "),
                        m_closeChildren))
        return;
    bool repaired = false;
    {
        const TBusyCursor busy;
        const QList<int> books = book >= 0 ? QList<int>{book} : QList<int>{};
        m_repaired = book >= 0 && book == CurrentAdrsIndex;
        repaired = MakeSafetyCopy(this, TBackupWork::RepairIndex, books, chkSender->isChecked()) &&
                   RepairTables(this, book, chkSender->isChecked());
    }
    if (!repaired)
        return;
    MessageBoxPos(this, QStringLiteral("修復が完了しました  "), ProductTitle, MsgSeam::MbIconInformation);
    accept();
}
