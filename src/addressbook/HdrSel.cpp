// The column choice of the address list: which of its 52 columns show, and in which order.
#include "addressbook/HdrSel.h"

#include "addressbook/Inquiry.h"
#include "core/ButtonPictures.h"
#include "core/PDFHelp.h"
#include "core/DialogSub.h"
#include "core/ShellSub.h"
#include "platform/MessageSeam.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

bool ShownByDefault(const TAddressColumnRec& column)
{
    return column.tableRow >= 0 && column.tableRow < int(AddressListColumnTable.size()) &&
           AddressListColumnTable[column.tableRow].shownByDefault;
}

} // namespace

QList<TAddressColumnRec> DefaultAddressColumns()
{
    QList<TAddressColumnRec> columns;
    for (const TAddressListColumnDef& def : AddressListColumnTable)
        columns.append(TAddressColumnRec{def.item, def.item, def.defaultWidth, def.shownByDefault});
    return columns;
}

int MoveAddressColumn(QList<TAddressColumnRec>& columns, int index, TColumnMove move)
{
    const int last = int(columns.size()) - 1;
    if (index < 0 || index > last)
        return index;
    int to = index;
    switch (move) {
    case TColumnMove::Top:
        to = 0;
        break;
    case TColumnMove::Up:
        to = index - 1;
        break;
    case TColumnMove::Down:
        to = index + 1;
        break;
    case TColumnMove::Bottom:
        to = last;
        break;
    }
    to = std::clamp(to, 0, last);
    if (to != index)
        columns.move(index, to);
    return to;
}

void ResetShownColumns(QList<TAddressColumnRec>& columns)
{
    for (TAddressColumnRec& column : columns)
        column.shown = ShownByDefault(column);
}

void ResetColumnOrder(QList<TAddressColumnRec>& columns)
{
    std::stable_sort(
        columns.begin(), columns.end(),
        [](const TAddressColumnRec& a, const TAddressColumnRec& b) { return a.tableRow < b.tableRow; });
}

namespace {

} // namespace

THeaderSelect::THeaderSelect(QWidget* owner, const TAddressListView& list) : QDialog(owner), m_list(list)
{
    setObjectName(QStringLiteral("HeaderSelect"));
    setWindowTitle(QStringLiteral("表示項目の設定"));
    SetHelpContext(this, HelpTopic);

    auto* root = new QHBoxLayout(this);
    m_lvHeader = new QListWidget(this);
    m_lvHeader->setObjectName(QStringLiteral("lvHeader"));
    m_lvHeader->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvHeader->setMinimumSize(220, 360);
    // Room between the rows, so that each check box stands clear of the next.
    m_lvHeader->setSpacing(2);
    root->addWidget(m_lvHeader, 1);

    auto* side = new QVBoxLayout;
    auto* btnTop = MakeButton(this, "btnTop", QStringLiteral("最上段"));
    auto* btnUp = MakeButton(this, "btnUp", QStringLiteral("上"));
    auto* btnDown = MakeButton(this, "btnDown", QStringLiteral("下"));
    auto* btnBottom = MakeButton(this, "btnBottom", QStringLiteral("最下段"));
    // One handler per direction pair, told apart by the tag as the buttons always were.
    btnTop->setProperty("tag", 0);
    btnUp->setProperty("tag", 1);
    btnDown->setProperty("tag", 1);
    btnBottom->setProperty("tag", 0);
    auto* btnAllView = MakeButton(this, "btnAllView", QStringLiteral("すべて表示"));
    auto* btnReview = MakeButton(this, "btnReview", QStringLiteral("表示を戻す"));
    auto* btnResort = MakeButton(this, "btnResort", QStringLiteral("並びを戻す"));
    const std::pair<QPushButton*, const char*> pictures[] = {
        {btnTop, "TOP"},         {btnUp, "UP"},         {btnDown, "DOWN"},    {btnBottom, "BOTTOM"},
        {btnAllView, "ALLVIEW"}, {btnReview, "REVIEW"}, {btnResort, "RESORT"}};
    for (const auto& [button, picture] : pictures)
        SetButtonPicture(button, QLatin1String(picture));
    for (QPushButton* b : {btnTop, btnUp, btnDown, btnBottom})
        side->addWidget(b);
    side->addSpacing(12);
    for (QPushButton* b : {btnAllView, btnReview, btnResort})
        side->addWidget(b);
    side->addStretch(1);
    m_btnOK = MakeButton(this, "btnOK", QStringLiteral("OK"));
    m_btnOK->setDefault(true);
    auto* btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    side->addWidget(m_btnOK);
    side->addWidget(btnCancel);
    root->addLayout(side);

    const auto moveUp = [this](QObject* button) {
        Move(button->property("tag").toInt() == 0 ? TColumnMove::Top : TColumnMove::Up);
    };
    const auto moveDown = [this](QObject* button) {
        Move(button->property("tag").toInt() == 0 ? TColumnMove::Bottom : TColumnMove::Down);
    };
    connect(btnTop, &QPushButton::clicked, this, [=] { moveUp(btnTop); });
    connect(btnUp, &QPushButton::clicked, this, [=] { moveUp(btnUp); });
    connect(btnDown, &QPushButton::clicked, this, [=] { moveDown(btnDown); });
    connect(btnBottom, &QPushButton::clicked, this, [=] { moveDown(btnBottom); });
    connect(btnAllView, &QPushButton::clicked, this, [this] { CheckAll(false); });
    connect(btnReview, &QPushButton::clicked, this, [this] { CheckAll(true); });
    connect(btnResort, &QPushButton::clicked, this, [this] { ResetOrder(); });
    connect(m_btnOK, &QPushButton::clicked, this, [this] { Ok(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lvHeader, &QListWidget::itemDoubleClicked, this, [this] {
        if (QListWidgetItem* item = m_lvHeader->currentItem())
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    connect(m_lvHeader, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current) {
        if (current)
            m_lvHeader->scrollToItem(current);
    });
    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(m_lvHeader, m_btnOK);
}

bool ExecuteHeaderSelect(QWidget* owner, const TAddressListView& list, QList<TAddressColumnRec>& columns)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    THeaderSelect dialog(owner, list);
    CenterForm(&dialog, owner);
    dialog.SetColumns(columns);
    QApplication::restoreOverrideCursor();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetColumns(columns);
    return true;
}

void THeaderSelect::SetColumns(const QList<TAddressColumnRec>& columns)
{
    m_columns = columns;
    FillList();
    SelectRow(0);
}

void THeaderSelect::GetColumns(QList<TAddressColumnRec>& columns) const
{
    columns = m_columns;
    for (int i = 0; i < columns.size() && i < m_lvHeader->count(); ++i)
        columns[i].shown = m_lvHeader->item(i)->checkState() == Qt::Checked;
}

void THeaderSelect::FillList()
{
    const QStringList keywordNames = m_list.KeywordNames();
    m_lvHeader->clear();
    for (const TAddressColumnRec& column : m_columns) {
        auto* row = new QListWidgetItem(AddressListColumnCaption(column.item, keywordNames), m_lvHeader);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setCheckState(column.shown ? Qt::Checked : Qt::Unchecked);
    }
}

void THeaderSelect::TakeChecks()
{
    GetColumns(m_columns);
}

void THeaderSelect::SelectRow(int row)
{
    if (row < 0 || row >= m_lvHeader->count())
        return;
    m_lvHeader->setCurrentRow(row);
    m_lvHeader->item(row)->setSelected(true);
    m_lvHeader->setFocus();
}

void THeaderSelect::Move(TColumnMove move)
{
    const int from = m_lvHeader->currentRow();
    if (from < 0)
        return;
    TakeChecks();
    const int to = MoveAddressColumn(m_columns, from, move);
    if (to == from)
        return;
    QListWidgetItem* row = m_lvHeader->takeItem(from);
    m_lvHeader->insertItem(to, row);
    SelectRow(to);
}

void THeaderSelect::CheckAll(bool defaultsOnly)
{
    TakeChecks();
    if (defaultsOnly)
        ResetShownColumns(m_columns);
    for (int i = 0; i < m_lvHeader->count(); ++i) {
        const bool on = !defaultsOnly || m_columns[i].shown;
        m_lvHeader->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

void THeaderSelect::ResetOrder()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TakeChecks();
    ResetColumnOrder(m_columns);
    FillList();
    SelectRow(0);
    QApplication::restoreOverrideCursor();
}

void THeaderSelect::Ok()
{
    for (int i = 0; i < m_lvHeader->count(); ++i) {
        if (m_lvHeader->item(i)->checkState() == Qt::Checked) {
            accept();
            return;
        }
    }
    ListToolMessage(this, QStringLiteral("表示する項目は１つ以上選択してください  "),
                    MsgSeam::MbOk | MsgSeam::MbIconInformation);
    m_lvHeader->setFocus();
}
