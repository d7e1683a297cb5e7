// The export item dialog.
#include "search/EItmSel.h"

#include "core/ButtonPictures.h"
#include "core/MsgBoxPos.h"
#include "core/AppSub.h"
#include "platform/MessageSeam.h"

#include <QHBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

TExportItemSelect::TExportItemSelect(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportItemSelect"));
    setWindowTitle(QStringLiteral("出力項目の設定"));
    lvExportItem = new QListWidget(this);
    lvExportItem->setObjectName(QStringLiteral("lvExportItem"));
    connect(lvExportItem, &QListWidget::itemDoubleClicked, this, [this] {
        if (QListWidgetItem* item = lvExportItem->currentItem())
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    lvExportItem->installEventFilter(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lvExportItem, 0, 0, 7, 1);
    auto button = [this, grid](const char* name, const QString& caption, const char* picture, int row) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        SetButtonPicture(b, QString::fromLatin1(picture));
        grid->addWidget(b, row, 1);
        return b;
    };
    connect(button("bbtnTop", QStringLiteral("最上段"), "TOP", 0), &QPushButton::clicked, this,
            [this] { MoveFocused(mvTop); });
    connect(button("bbtnUp", QStringLiteral("上"), "UP", 1), &QPushButton::clicked, this,
            [this] { MoveFocused(mvUp); });
    connect(button("bbtnDown", QStringLiteral("下"), "DOWN", 2), &QPushButton::clicked, this,
            [this] { MoveFocused(mvDown); });
    connect(button("bbtnBottom", QStringLiteral("最下段"), "BOTTOM", 3), &QPushButton::clicked, this,
            [this] { MoveFocused(mvBottom); });
    connect(button("bbtnAll", QStringLiteral("すべて出力"), "ALLVIEW", 4), &QPushButton::clicked, this,
            [this] { CheckAll(); });
    connect(button("bbtnReSort", QStringLiteral("並びを戻す"), "RESORT", 5), &QPushButton::clicked, this,
            [this] { ReSort(); });

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    auto* btnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 7, 0, 1, 2);
    resize(ScaleByDpi(320, 1), ScaleByDpi(420, 1));
}

void TExportItemSelect::LoadItems(const QList<TExportItemRec>& items)
{
    m_items = items;
    Fill(0);
}

void TExportItemSelect::Fill(int focus)
{
    lvExportItem->clear();
    for (const TExportItemRec& it : m_items) {
        const bool known = it.Row >= 0 && it.Row < int(DirectoryExportItemTable.size());
        auto* item = new QListWidgetItem(
            known ? QString::fromUtf8(DirectoryExportItemTable[size_t(it.Row)].caption) : QString(),
            lvExportItem);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(it.Chosen ? Qt::Checked : Qt::Unchecked);
    }
    if (focus >= 0 && focus < lvExportItem->count())
        lvExportItem->setCurrentRow(focus);
}

void TExportItemSelect::TakeChecks()
{
    for (int i = 0; i < lvExportItem->count() && i < m_items.size(); ++i)
        m_items[i].Chosen = lvExportItem->item(i)->checkState() == Qt::Checked;
}

void TExportItemSelect::StoreItems(QList<TExportItemRec>& items) const
{
    items = m_items;
    for (int i = 0; i < lvExportItem->count() && i < items.size(); ++i)
        items[i].Chosen = lvExportItem->item(i)->checkState() == Qt::Checked;
}

void TExportItemSelect::MoveFocused(Move move)
{
    const int from = lvExportItem->currentRow();
    const int last = lvExportItem->count() - 1;
    if (from < 0)
        return;
    const int to = move == mvTop ? 0 : move == mvUp ? from - 1 : move == mvDown ? from + 1 : last;
    if (to < 0 || to > last || to == from)
        return;
    TakeChecks();
    m_items.move(from, to);
    Fill(to);
    lvExportItem->setFocus();
}

void TExportItemSelect::CheckAll()
{
    for (int i = 0; i < lvExportItem->count(); ++i)
        lvExportItem->item(i)->setCheckState(Qt::Checked);
}

void TExportItemSelect::ReSort()
{
    TakeChecks();
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const TExportItemRec& a, const TExportItemRec& b) { return a.Row < b.Row; });
    Fill(0);
}

void TExportItemSelect::accept()
{
    for (int i = 0; i < lvExportItem->count(); ++i)
        if (lvExportItem->item(i)->checkState() == Qt::Checked) {
            TakeChecks();
            QDialog::accept();
            return;
        }
    MessageBoxPos(this, QStringLiteral("出力する項目は１つ以上選択してください  "), ProductTitle,
                  MsgSeam::MbIconInformation);
    lvExportItem->setFocus();
}

bool TExportItemSelect::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == lvExportItem && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnOk->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}
