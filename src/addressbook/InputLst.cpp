// The input list editor: private copies of the six input lists, written back only when changed and OK.
#include "addressbook/InputLst.h"

#include "addressbook/DtInqiryLogic.h"
#include "core/ButtonPictures.h"
#include "core/AppSub.h"
#include "core/HisInfo.h"
#include "core/MsgBoxPos.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

TInputList::TInputList(TCardDataModule& data, const QStringList& keywordNames, QWidget* owner)
    : QDialog(owner), m_data(data)
{
    setObjectName(QStringLiteral("InputList"));
    setWindowTitle(QStringLiteral("入力リストの編集"));

    tabctlInputList = new QTabBar;
    tabctlInputList->setObjectName(QStringLiteral("tabctlInputList"));
    tabctlInputList->addTab(QStringLiteral(" 部署 "));
    tabctlInputList->addTab(QStringLiteral(" 役職 "));
    tabctlInputList->addTab(QStringLiteral(" 敬称 "));
    for (int i = 5; i < 8; ++i)
        tabctlInputList->addTab(QStringLiteral(" ") + keywordNames.value(i) + QStringLiteral(" "));
    tabctlInputList->installEventFilter(this);

    edtName = new QLineEdit;
    edtName->setObjectName(QStringLiteral("edtName"));
    edtName->setProperty("inputMode", 6);
    lbxList = new QListWidget;
    lbxList->setObjectName(QStringLiteral("lbxList"));
    lbxList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lbxList->installEventFilter(this);

    const auto tool = [](const char* name, const QString& text, const char* picture) {
        auto* b = new QToolButton;
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        SetButtonPicture(b, QLatin1String(picture));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setMinimumWidth(56);
        return b;
    };
    bbtnAdd = tool("bbtnAdd", QStringLiteral("追加"), "LISTADD");
    bbtnUpdate = tool("bbtnUpdate", QStringLiteral("変更"), "LISTUPD");
    bbtnDelete = tool("bbtnDelete", QStringLiteral("削除"), "LISTDEL");
    bbtnUp = tool("bbtnUp", QStringLiteral("上"), "UP");
    bbtnDown = tool("bbtnDown", QStringLiteral("下"), "DOWN");
    btnOk = new QPushButton(QStringLiteral("OK"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel = new QPushButton(QStringLiteral("キャンセル"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnOk->setAutoDefault(false);
    btnCancel->setAutoDefault(false);

    auto* root = new QVBoxLayout(this);
    root->addWidget(tabctlInputList);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("名称：")));
    nameRow->addWidget(edtName, 1);
    root->addLayout(nameRow);
    root->addWidget(new QLabel(QStringLiteral("入力リスト：")));
    auto* body = new QHBoxLayout;
    body->addWidget(lbxList, 1);
    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {bbtnAdd, bbtnUpdate, bbtnDelete, bbtnUp, bbtnDown})
        buttons->addWidget(b);
    buttons->addStretch(1);
    body->addLayout(buttons);
    root->addLayout(body, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnOk);
    bottom->addWidget(btnCancel);
    root->addLayout(bottom);
    resize(420, 420);

    connect(tabctlInputList, &QTabBar::currentChanged, this, [this](int tab) {
        if (tab == m_currentTab || tab < 0)
            return;
        LeaveTab(m_currentTab);
        m_currentTab = tab;
        EnterTab(tab);
    });
    connect(edtName, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int limit = MaxLengths[size_t(std::clamp(m_currentTab, 0, InputListCount - 1))];
        if (Cp932::byteLength(text) > limit)
            edtName->setText(Cp932::cutToBytes(text, limit));
    });
    connect(edtName, &QLineEdit::returnPressed, this, &TInputList::NameReturnPressed);
    connect(lbxList, &QListWidget::itemSelectionChanged, this, &TInputList::UpdateButtons);
    connect(lbxList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        edtName->setText(item->text());
        edtName->setFocus();
        edtName->end(false);
    });
    connect(bbtnAdd, &QToolButton::clicked, this, &TInputList::bbtnAddClick);
    connect(bbtnUpdate, &QToolButton::clicked, this, &TInputList::bbtnUpdateClick);
    connect(bbtnDelete, &QToolButton::clicked, this, &TInputList::bbtnDeleteClick);
    connect(bbtnUp, &QToolButton::clicked, this, &TInputList::bbtnUpClick);
    connect(bbtnDown, &QToolButton::clicked, this, &TInputList::bbtnDownClick);
    connect(btnOk, &QPushButton::clicked, this, &TInputList::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TInputList::reject);

    edtName->setMaxLength(MaxLengths[0]);
    LoadList(0);
    UpdateButtons();
}

void TInputList::SetListKind(int kind)
{
    if (kind < 0)
        return;
    const int tab = std::min(kind, InputListCount - 1);
    if (kind < InputListCount)
        edtName->setMaxLength(MaxLengths[size_t(kind)]);
    if (tab != m_currentTab)
        tabctlInputList->setCurrentIndex(tab);
}

unsigned TInputList::GetChangedLists() const
{
    unsigned changed = 0;
    for (int i = 0; i < InputListCount; ++i)
        if (m_tabs[size_t(i)].changed)
            changed |= 1u << i;
    return changed;
}

void TInputList::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    LoadList(m_currentTab);
    UpdateButtons();
    edtName->setFocus();
}

bool TInputList::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == tabctlInputList && e->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(e);
        const int step = wheel->angleDelta().y() < 0 ? 1 : -1;
        const int count = tabctlInputList->count();
        tabctlInputList->setCurrentIndex((tabctlInputList->currentIndex() + step + count) % count);
        return true;
    }
    if (watched == lbxList && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edtName->setFocus();
            edtName->end(false);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

QStringList TInputList::CurrentEntries() const
{
    QStringList entries;
    for (int i = 0; i < lbxList->count(); ++i)
        entries.append(lbxList->item(i)->text());
    return entries;
}

QList<int> TInputList::SelectedRows() const
{
    QList<int> rows;
    for (int i = 0; i < lbxList->count(); ++i)
        if (lbxList->item(i)->isSelected())
            rows.append(i);
    return rows;
}

void TInputList::LoadList(int tab)
{
    const TabState& state = m_tabs[size_t(tab)];
    QStringList entries;
    if (state.working) {
        entries = *state.working;
    } else if (THistoryData* history = m_data.InputHistory(TInputListKind(tab));
               history && history->IsLoaded()) {
        for (int i = 0; i < history->Count(); ++i)
            entries.append(ToWide(history->GetText(i)));
    }
    const QSignalBlocker block(lbxList);
    lbxList->clear();
    lbxList->addItems(entries);
}

void TInputList::LeaveTab(int tab)
{
    TabState& state = m_tabs[size_t(tab)];
    state.name = edtName->text();
    state.working = CurrentEntries();
    state.selected = SelectedRows();
}

void TInputList::EnterTab(int tab)
{
    const TabState& state = m_tabs[size_t(tab)];
    edtName->setMaxLength(MaxLengths[size_t(tab)]);
    edtName->setText(state.name);
    LoadList(tab);
    {
        const QSignalBlocker block(lbxList);
        for (const int row : state.selected)
            if (row >= 0 && row < lbxList->count())
                lbxList->item(row)->setSelected(true);
    }
    UpdateButtons();
    edtName->setFocus();
    edtName->end(false);
}

void TInputList::SelectOnly(int row)
{
    const QSignalBlocker block(lbxList);
    lbxList->clearSelection();
    if (row >= 0 && row < lbxList->count()) {
        lbxList->item(row)->setSelected(true);
        lbxList->setCurrentRow(row, QItemSelectionModel::Current);
    }
}

void TInputList::UpdateButtons()
{
    const QList<int> rows = SelectedRows();
    bbtnUp->setEnabled(!rows.isEmpty() && rows.first() != 0);
    bbtnDown->setEnabled(!rows.isEmpty() && rows.last() != lbxList->count() - 1);
}

void TInputList::MarkChanged()
{
    m_tabs[size_t(m_currentTab)].changed = true;
}

void TInputList::Message(const QString& text)
{
    MessageBoxPos(this, text, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
}

void TInputList::bbtnAddClick()
{
    const QString name = TrimBlanks(edtName->text());
    if (name.isEmpty()) {
        Message(QStringLiteral("名称を入力してください  "));
        edtName->setFocus();
        return;
    }
    if (CurrentEntries().contains(name, Qt::CaseSensitive)) {
        Message(QStringLiteral("既に同じ名称が登録されています  "));
        return;
    }
    lbxList->insertItem(0, name);
    SelectOnly(0);
    MarkChanged();
    UpdateButtons();
    edtName->clear();
    edtName->setFocus();
}

void TInputList::bbtnUpdateClick()
{
    const QString name = TrimBlanks(edtName->text());
    if (name.isEmpty()) {
        Message(QStringLiteral("名称を入力してください  "));
        edtName->setFocus();
        return;
    }
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) {
        Message(QStringLiteral("変更するデータを選択してください  "));
        lbxList->setFocus();
        return;
    }
    if (rows.size() > 1) {
        Message(QStringLiteral("変更するデータを１件だけ選択してください  "));
        lbxList->setFocus();
        return;
    }
    const QStringList entries = CurrentEntries();
    for (int i = 0; i < entries.size(); ++i)
        if (i != rows.first() && entries[i] == name) {
            Message(QStringLiteral("既に同じ名称が登録されています  "));
            return;
        }
    lbxList->item(rows.first())->setText(name);
    SelectOnly(rows.first());
    MarkChanged();
    edtName->clear();
    edtName->setFocus();
}

void TInputList::bbtnDeleteClick()
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        delete lbxList->takeItem(*it);
    MarkChanged();
    UpdateButtons();
    edtName->setFocus();
}

void TInputList::bbtnUpClick()
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty() || rows.first() == 0)
        return;
    QStringList entries = CurrentEntries();
    for (const int row : rows)
        entries.swapItemsAt(row, row - 1);
    const QSignalBlocker block(lbxList);
    lbxList->clear();
    lbxList->addItems(entries);
    for (const int row : rows)
        lbxList->item(row - 1)->setSelected(true);
    MarkChanged();
    UpdateButtons();
}

void TInputList::bbtnDownClick()
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty() || rows.last() == lbxList->count() - 1)
        return;
    QStringList entries = CurrentEntries();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        entries.swapItemsAt(*it, *it + 1);
    const QSignalBlocker block(lbxList);
    lbxList->clear();
    lbxList->addItems(entries);
    for (const int row : rows)
        lbxList->item(row + 1)->setSelected(true);
    MarkChanged();
    UpdateButtons();
}

void TInputList::NameReturnPressed()
{
    if (!edtName->text().isEmpty()) {
        bbtnAddClick();
        return;
    }
    const bool anyChanged = GetChangedLists() != 0;
    (anyChanged ? btnOk : btnCancel)->setFocus();
}

void TInputList::btnOkClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LeaveTab(m_currentTab);
    QString failure;
    for (int tab = 0; tab < InputListCount; ++tab) {
        const TabState& state = m_tabs[size_t(tab)];
        if (!state.changed || !state.working)
            continue;
        THistoryData* history = m_data.InputHistory(TInputListKind(tab));
        if (!history || !history->IsLoaded())
            continue;
        history->Clear();
        const int n = int(state.working->size());
        for (int i = 0; i < n; ++i)
            history->Add(ToAnsi(state.working->at(i)), double(n - i));
        try {
            history->Save();
        } catch (const EHistoryDataError& e) {
            failure = e.Message();
        }
    }
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty())
        MessageBoxPos(this, failure, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
    accept();
}

void TInputList::reject()
{
    if (GetChangedLists() == 0) {
        QDialog::reject();
        return;
    }
    QString text;
    for (int tab = 0; tab < InputListCount; ++tab)
        if (m_tabs[size_t(tab)].changed)
            text += tabctlInputList->tabText(tab) + QStringLiteral("  \r\n");
    text += QStringLiteral(
        "\r\n以上のリストが変更されています  \r\nこのままキャンセルすると変更内容が破棄されますが  "
        "\r\nよろしいですか？  ");
    if (MessageBoxPos(this, text, ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdNo)
        QDialog::reject();
}
