// The clipboard copy setting of the record card and its dialog.
#include "addressbook/CpItmSet.h"

#include "addressbook/Inquiry.h"
#include "addressbook/KeywdEdt.h"
#include "core/ButtonPictures.h"
#include "core/DialogSub.h"
#include "addressbook/PrtctMemoEdt.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

int TableRowOf(int itemNo)
{
    for (int i = 0; i < int(CopyItemTable.size()); ++i)
        if (CopyItemTable[size_t(i)].row == itemNo)
            return i;
    return -1;
}

} // namespace

TCopyItemEntries DefaultCopyItems()
{
    TCopyItemEntries entries{};
    for (int i = 0; i < CopyItemCount; ++i)
        entries[size_t(i)] = {CopyItemTable[size_t(i)].row, i, 1};
    return entries;
}

TCopyItemEntries ParseCopyItems(const QString& indexText, const QString& copyText)
{
    const QStringList numbers = indexText.split(u',');
    if (numbers.size() != CopyItemCount)
        return DefaultCopyItems();
    // Each item exactly once: a damaged order would drop items and show others twice.
    TCopyItemEntries entries{};
    std::array<bool, CopyItemCount> seen{};
    for (int i = 0; i < CopyItemCount; ++i) {
        bool ok = false;
        const int itemNo = numbers[i].trimmed().toInt(&ok);
        const int row = ok ? TableRowOf(itemNo) : -1;
        if (row < 0 || seen[size_t(row)])
            return DefaultCopyItems();
        seen[size_t(row)] = true;
        entries[size_t(i)] = {itemNo, row, 1};
    }
    const QStringList flags = copyText.split(u',');
    if (flags.size() == CopyItemCount)
        for (int i = 0; i < CopyItemCount; ++i)
            entries[size_t(i)].Copy = flags[i] == QLatin1String("1") ? 1 : 0;
    return entries;
}

QString CopyItemIndexText(const TCopyItemEntries& entries)
{
    QStringList parts;
    for (const TCopyItemEntry& e : entries)
        parts.append(QString::number(e.ItemNo));
    return parts.join(u',');
}

QString CopyItemCopyText(const TCopyItemEntries& entries)
{
    QStringList parts;
    for (const TCopyItemEntry& e : entries)
        parts.append(e.Copy ? QStringLiteral("1") : QStringLiteral("0"));
    return parts.join(u',');
}

// ---------------------------------------------------------------------------------------------------------

TCopyItemSet::TCopyItemSet(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("CopyItemSet"));
    setWindowTitle(QStringLiteral("コピーする項目の設定"));

    lvCopyItem = new QListWidget;
    lvCopyItem->setObjectName(QStringLiteral("lvCopyItem"));
    lvCopyItem->setSelectionMode(QAbstractItemView::SingleSelection);
    lvCopyItem->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvCopyItem->setMinimumSize(220, 320);
    connect(lvCopyItem, &QListWidget::itemDoubleClicked, this, [this] {
        if (QListWidgetItem* item = lvCopyItem->currentItem())
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });

    const auto tool = [this](const char* name, const QString& text, const char* glyph) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        SetButtonPicture(b, QLatin1String(glyph));
        b->setProperty("glyph", QLatin1String(glyph));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        return b;
    };
    bbtnTop = tool("bbtnTop", QStringLiteral("最上段"), "TOP");
    bbtnUp = tool("bbtnUp", QStringLiteral("上"), "UP");
    bbtnDown = tool("bbtnDown", QStringLiteral("下"), "DOWN");
    bbtnBottom = tool("bbtnBottom", QStringLiteral("最下段"), "BOTTOM");
    bbtnAll = tool("bbtnAll", QStringLiteral("すべてコピー"), "ALLVIEW");
    bbtnReSort = tool("bbtnReSort", QStringLiteral("並びを戻す"), "RESORT");
    connect(bbtnTop, &QToolButton::clicked, this, [this] { MoveFocusedRow(0); });
    connect(bbtnUp, &QToolButton::clicked, this, [this] { MoveFocusedRow(lvCopyItem->currentRow() - 1); });
    connect(bbtnDown, &QToolButton::clicked, this, [this] { MoveFocusedRow(lvCopyItem->currentRow() + 1); });
    connect(bbtnBottom, &QToolButton::clicked, this, [this] { MoveFocusedRow(lvCopyItem->count() - 1); });
    connect(bbtnAll, &QToolButton::clicked, this, &TCopyItemSet::bbtnAllClick);
    connect(bbtnReSort, &QToolButton::clicked, this, &TCopyItemSet::bbtnReSortClick);

    chkLastReturn = new QCheckBox(QStringLiteral("末尾に改行を入れる"));
    chkLastReturn->setObjectName(QStringLiteral("chkLastReturn"));
    PaintCheckedBlue(chkLastReturn);
    btnOk = new QPushButton(QStringLiteral("OK"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("キャンセル"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnOk, &QPushButton::clicked, this, &TCopyItemSet::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {bbtnTop, bbtnUp, bbtnDown, bbtnBottom})
        buttons->addWidget(b);
    buttons->addSpacing(16);
    buttons->addWidget(bbtnAll);
    buttons->addWidget(bbtnReSort);
    buttons->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(lvCopyItem, 1);
    middle->addLayout(buttons);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkLastReturn);
    bottom->addStretch(1);
    bottom->addWidget(btnOk);
    bottom->addWidget(btnCancel);
    auto* root = new QVBoxLayout(this);
    root->addWidget(new QLabel(QStringLiteral("クリップボードにコピーする項目を設定してください：")));
    root->addLayout(middle, 1);
    root->addLayout(bottom);

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(lvCopyItem, chkLastReturn);
    enter->addTarget(chkLastReturn, btnOk);
}

void TCopyItemSet::SetItems(const TCopyItemEntries& entries, bool lastReturn)
{
    m_entries = entries;
    FillList();
    chkLastReturn->setChecked(lastReturn);
}

void TCopyItemSet::GetItems(TCopyItemEntries& entries, bool& lastReturn)
{
    StoreChecks();
    entries = m_entries;
    lastReturn = chkLastReturn->isChecked();
}

QStringList TCopyItemSet::Captions() const
{
    QStringList out;
    for (int i = 0; i < lvCopyItem->count(); ++i)
        out.append(lvCopyItem->item(i)->text());
    return out;
}

void TCopyItemSet::FillList()
{
    const QString myNumberLabel = MainSettings.MyNumberLabel.isEmpty() ? QStringLiteral("共通マイナンバー")
                                                                       : MainSettings.MyNumberLabel;
    lvCopyItem->clear();
    for (const TCopyItemEntry& e : m_entries) {
        auto* item = new QListWidgetItem(
            CopyItemCaption(e.ItemIndex, KeywordNames, ProtectMemoNames, myNumberLabel), lvCopyItem);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(e.Copy ? Qt::Checked : Qt::Unchecked);
    }
    lvCopyItem->setCurrentRow(0);
    lvCopyItem->setFocus();
}

void TCopyItemSet::StoreChecks()
{
    for (int i = 0; i < lvCopyItem->count() && i < CopyItemCount; ++i)
        m_entries[size_t(i)].Copy = lvCopyItem->item(i)->checkState() == Qt::Checked ? 1 : 0;
}

void TCopyItemSet::MoveFocusedRow(int target)
{
    const int from = lvCopyItem->currentRow();
    if (from < 0 || target < 0 || target >= lvCopyItem->count() || target == from)
        return;
    StoreChecks();
    QListWidgetItem* item = lvCopyItem->takeItem(from);
    lvCopyItem->insertItem(target, item);
    const TCopyItemEntry moved = m_entries[size_t(from)];
    if (target < from)
        std::move_backward(m_entries.begin() + target, m_entries.begin() + from,
                           m_entries.begin() + from + 1);
    else
        std::move(m_entries.begin() + from + 1, m_entries.begin() + target + 1, m_entries.begin() + from);
    m_entries[size_t(target)] = moved;
    lvCopyItem->setCurrentRow(target);
    lvCopyItem->scrollToItem(item);
}

void TCopyItemSet::bbtnAllClick()
{
    for (int i = 0; i < lvCopyItem->count(); ++i)
        lvCopyItem->item(i)->setCheckState(Qt::Checked);
}

void TCopyItemSet::bbtnReSortClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StoreChecks();
    std::stable_sort(
        m_entries.begin(), m_entries.end(),
        [](const TCopyItemEntry& a, const TCopyItemEntry& b) { return a.ItemIndex < b.ItemIndex; });
    FillList();
    QApplication::restoreOverrideCursor();
}

void TCopyItemSet::btnOkClick()
{
    for (int i = 0; i < lvCopyItem->count(); ++i)
        if (lvCopyItem->item(i)->checkState() == Qt::Checked) {
            accept();
            return;
        }
    MessageBoxPos(this, QStringLiteral("コピーする項目は１つ以上選択してください  "), ProductTitle,
                  MsgSeam::MbOk | MsgSeam::MbIconInformation);
    lvCopyItem->setFocus();
}
