// The included and excluded names dialog.
#include "search/TgtExcpt.h"

#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "platform/MessageSeam.h"
#include "platform/TableEngine.h"
#include "search/NameLists.h"
#include "search/OrgEdit.h"

#include <QDragEnterEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct TGroupNames
{
    const char* add;
    const char* remove;
    const char* allAdd;
    const char* allRemove;
    const char* create;
};
const TGroupNames GroupButtons[2] = {
    {"bbtnTargetAdd", "bbtnTargetDelete", "bbtnTargetAllAdd", "bbtnTargetAllDelete", "bbtnTargetCreate"},
    {"bbtnExceptionAdd", "bbtnExceptionDelete", "bbtnExceptionAllAdd", "bbtnExceptionAllDelete",
     "bbtnExceptionCreate"}};

} // namespace

TNameKeyList::TNameKeyList(QWidget* parent) : QListWidget(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void TNameKeyList::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->source() == partner)
        e->acceptProposedAction();
    else
        e->ignore();
}

void TNameKeyList::dragMoveEvent(QDragMoveEvent* e)
{
    if (e->source() == partner)
        e->acceptProposedAction();
    else
        e->ignore();
}

void TNameKeyList::dropEvent(QDropEvent* e)
{
    if (e->source() != partner) {
        e->ignore();
        return;
    }
    // The move is ours; the view must not move the item itself.
    e->setDropAction(Qt::CopyAction);
    e->accept();
    if (dropped)
        dropped(partner);
}

TTargetException::TTargetException(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TargetException"));
    setWindowTitle(QStringLiteral("対象除外選択"));
    auto* layout = new QVBoxLayout(this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("検索名称："), this));
    edtName = new QLineEdit(this);
    edtName->setObjectName(QStringLiteral("edtName"));
    edtName->setReadOnly(true);
    nameRow->addWidget(edtName, 1);
    layout->addLayout(nameRow);

    const char* listNames[4] = {"lbxTargetAdd", "lbxTargetList", "lbxExceptionAdd", "lbxExceptionList"};
    const QString labels[4] = {QStringLiteral("対象に追加する名称："), QStringLiteral("追加名称の候補："),
                               QStringLiteral("対象から除外する名称："), QStringLiteral("除外名称の候補：")};
    const QString groupCaptions[2] = {QStringLiteral("対象とする名称の選択"),
                                      QStringLiteral("除外する名称の選択")};
    const char* groupNames[2] = {"gbxTarget", "gbxException"};
    for (int g = 0; g < 2; ++g) {
        auto* box = new QGroupBox(groupCaptions[g], this);
        box->setObjectName(QString::fromLatin1(groupNames[g]));
        auto* grid = new QGridLayout(box);
        for (int side = 0; side < 2; ++side) {
            const int k = g * 2 + side;
            m_lists[k] = new TNameKeyList(box);
            m_lists[k]->setObjectName(QString::fromLatin1(listNames[k]));
            grid->addWidget(new QLabel(labels[k], box), 0, side * 2);
            grid->addWidget(m_lists[k], 1, side * 2, 5, 1);
        }
        TNameKeyList* applied = m_lists[g * 2];
        TNameKeyList* offered = m_lists[g * 2 + 1];
        applied->partner = offered;
        offered->partner = applied;
        applied->dropped = [this, g](TNameKeyList*) { MoveSelected(g, true); };
        offered->dropped = [this, g](TNameKeyList*) { MoveSelected(g, false); };
        connect(offered, &QListWidget::itemDoubleClicked, this, [this, g] { MoveSelected(g, true); });
        connect(applied, &QListWidget::itemDoubleClicked, this, [this, g] { MoveSelected(g, false); });
        const TGroupNames& names = GroupButtons[g];
        auto button = [box, grid](const char* name, const QString& caption, int row) {
            auto* b = new QPushButton(caption, box);
            b->setObjectName(QString::fromLatin1(name));
            b->setAutoDefault(false);
            grid->addWidget(b, row + 1, 1);
            return b;
        };
        connect(button(names.add, QStringLiteral("← 追加"), 0), &QPushButton::clicked, this,
                [this, g] { MoveSelected(g, true); });
        connect(button(names.remove, QStringLiteral("削除 →"), 1), &QPushButton::clicked, this,
                [this, g] { MoveSelected(g, false); });
        connect(button(names.allAdd, QStringLiteral("すべて追加"), 2), &QPushButton::clicked, this,
                [this, g] { MoveAll(g, true); });
        connect(button(names.allRemove, QStringLiteral("すべて削除"), 3), &QPushButton::clicked, this,
                [this, g] { MoveAll(g, false); });
        connect(button(names.create, QStringLiteral("項目の作成"), 4), &QPushButton::clicked, this,
                [this, g] { CreateOwnItems(g); });
        layout->addWidget(box, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnSet = new QPushButton(QStringLiteral("設定"), this);
    btnSet->setObjectName(QStringLiteral("btnSet"));
    btnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnSet, &QPushButton::clicked, this, [this] {
        if (SaveChoices())
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(btnSet);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(m_lists[TargetAdd], m_lists[TargetList]);
    enter->addTarget(m_lists[TargetList], m_lists[ExceptionAdd]);
    enter->addTarget(m_lists[ExceptionAdd], m_lists[ExceptionList]);
    enter->addTarget(m_lists[ExceptionList], btnSet);
    resize(ScaleByDpi(560, 1), ScaleByDpi(520, 1));
    for (int g = 0; g < 2; ++g)
        UpdateButtons(g);
}

QPushButton* TTargetException::Button(const char* name) const
{
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

void TTargetException::SetSearchName(const QString& name)
{
    m_searchName = name;
    edtName->setText(name);
}

void TTargetException::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_loaded)
        LoadLists();
}

QStringList TTargetException::Names(ListKind kind) const
{
    QStringList names;
    for (int i = 0; i < m_lists[kind]->count(); ++i)
        names << m_lists[kind]->item(i)->text();
    return names;
}

void TTargetException::LoadLists()
{
    m_loaded = true;
    for (TNameKeyList* l : m_lists)
        l->clear();
    if (DMQuenrid215) {
        const AnsiString name = ToAnsi(m_searchName);
        Table* tables[3] = {DMQuenrid215->TargetTable(), DMQuenrid215->ExceptionTable(),
                            DMQuenrid215->OriginalTable()};
        for (int t = 0; t < 3; ++t) {
            if (!tables[t] || !tables[t]->active())
                continue;
            try {
                for (const TNameListRow& row : ReadNameListRows(*tables[t], name, t == 2)) {
                    const int group = t == 2 ? (row.flag == 0 ? 0 : 1) : t;
                    QListWidget* list = m_lists[group * 2 + (row.show ? 0 : 1)];
                    auto* item = new QListWidgetItem(row.name, list);
                    item->setData(OrderKeyRole, t == 2 ? int(row.recNo) : list->count() - 1);
                }
            } catch (const TableError& e) {
                MessageBoxPos(this, e.message(), ProductTitle, MsgSeam::MbIconStop);
            }
        }
    }
    for (TNameKeyList* l : m_lists)
        if (l->count() > 0)
            l->setCurrentRow(0);
    for (int g = 0; g < 2; ++g)
        UpdateButtons(g);
}

void TTargetException::UpdateButtons(int group)
{
    const bool offered = m_lists[group * 2 + 1]->count() > 0;
    const bool applied = m_lists[group * 2]->count() > 0;
    const TGroupNames& names = GroupButtons[group];
    Button(names.add)->setEnabled(offered);
    Button(names.allAdd)->setEnabled(offered);
    Button(names.remove)->setEnabled(applied);
    Button(names.allRemove)->setEnabled(applied);
}

void TTargetException::InsertByKey(QListWidget* list, const QString& name, int key)
{
    int at = list->count();
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(OrderKeyRole).toInt() > key) {
            at = i;
            break;
        }
    auto* item = new QListWidgetItem(name);
    item->setData(OrderKeyRole, key);
    list->insertItem(at, item);
    list->setCurrentItem(item);
}

void TTargetException::Move(TNameKeyList* from, TNameKeyList* to, int row)
{
    QListWidgetItem* item = from->takeItem(row);
    InsertByKey(to, item->text(), item->data(OrderKeyRole).toInt());
    delete item;
}

void TTargetException::MoveSelected(int group, bool toApplied)
{
    TNameKeyList* from = m_lists[group * 2 + (toApplied ? 1 : 0)];
    TNameKeyList* to = m_lists[group * 2 + (toApplied ? 0 : 1)];
    const int row = from->currentRow();
    if (row < 0 || !from->item(row)->isSelected())
        return;
    Move(from, to, row);
    if (from->count() > 0)
        from->setCurrentRow(std::min(row, from->count() - 1));
    UpdateButtons(group);
    if (from->count() == 0)
        to->setFocus();
}

void TTargetException::MoveAll(int group, bool toApplied)
{
    TNameKeyList* from = m_lists[group * 2 + (toApplied ? 1 : 0)];
    TNameKeyList* to = m_lists[group * 2 + (toApplied ? 0 : 1)];
    for (int row = from->count() - 1; row >= 0; --row)
        Move(from, to, row);
    from->clearSelection();
    UpdateButtons(group);
    to->setFocus();
}

void TTargetException::CreateOwnItems(int group)
{
    TOriginalEdit editor(this, this);
    editor.SetItemKind(group);
    editor.SetSearchName(m_searchName);
    CenterForm(&editor, this);
    editor.exec();
    if (!editor.Changed())
        return;
    m_changed = true;
    AddNewOwnItems(group);
}

void TTargetException::AddNewOwnItems(int group)
{
    Table* original = DMQuenrid215 ? DMQuenrid215->OriginalTable() : nullptr;
    if (!original || !original->active())
        return;
    const QStringList known = Names(ListKind(group * 2)) + Names(ListKind(group * 2 + 1));
    try {
        for (const TNameListRow& row : ReadNameListRows(*original, ToAnsi(m_searchName), true))
            if (row.show && (row.flag == 0) == (group == 0) && !known.contains(row.name)) {
                auto* item = new QListWidgetItem(row.name, m_lists[group * 2]);
                item->setData(OrderKeyRole, int(row.recNo) + NewOwnKeyBase);
            }
    } catch (const TableError& e) {
        MessageBoxPos(this, e.message(), ProductTitle, MsgSeam::MbIconStop);
    }
    UpdateButtons(group);
}

void TTargetException::RemoveOwnName(int group, const QString& name)
{
    for (int side = 0; side < 2; ++side) {
        QListWidget* list = m_lists[group * 2 + side];
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text() == name) {
                delete list->takeItem(i);
                break;
            }
    }
    UpdateButtons(group);
}

bool TTargetException::StoreShow(Table* table, const QStringList& names, bool show, int flag,
                                 QString& failure)
{
    if (!table || !table->active())
        return true;
    bool ok = true;
    QStringList fields{QStringLiteral("Category"), QStringLiteral("Name"), QStringLiteral("Show")};
    if (flag >= 0)
        fields << QStringLiteral("Flag");
    for (const QString& name : names) {
        QVariantList values{ToAnsi(m_searchName), ToAnsi(name), !show};
        if (flag >= 0)
            values << flag;
        if (!table->locate(fields, values))
            continue;
        try {
            table->edit();
            table->fieldByName(QStringLiteral("Show")).setBoolean(show);
            table->post();
            m_changed = true;
        } catch (const TableError& e) {
            table->cancel();
            failure = e.message();
            ok = false;
        }
    }
    return ok;
}

bool TTargetException::SaveChoices()
{
    const QStringList excluded = Names(ExceptionAdd);
    for (const QString& name : Names(TargetAdd))
        if (excluded.contains(name)) {
            MessageBoxPos(
                this,
                QStringLiteral("「対象に追加する名称」と「対象から除外する名称」に  \r\n同じ名称があります  "
                               "\r\nどちらかの名称を外してください  "),
                ProductTitle, MsgSeam::MbIconInformation);
            return false;
        }
    if (!DMQuenrid215)
        return false;
    Table* target = DMQuenrid215->TargetTable();
    Table* exception = DMQuenrid215->ExceptionTable();
    Table* original = DMQuenrid215->OriginalTable();
    QStringList failedTables;
    QString failure;
    try {
        const struct
        {
            Table* table;
            ListKind applied, offered;
            int flag;
        } steps[] = {{target, TargetAdd, TargetList, -1},
                     {original, TargetAdd, TargetList, 0},
                     {exception, ExceptionAdd, ExceptionList, -1},
                     {original, ExceptionAdd, ExceptionList, 1}};
        for (const auto& step : steps) {
            const bool ok = StoreShow(step.table, Names(step.applied), true, step.flag, failure) &
                            StoreShow(step.table, Names(step.offered), false, step.flag, failure);
            if (!ok && !failedTables.contains(step.table->tableName()))
                failedTables << step.table->tableName();
        }
        for (Table* t : {target, exception, original})
            if (t && t->active())
                t->flushBuffers();
    } catch (const std::exception& e) {
        MessageBoxPos(this, QString::fromUtf8(e.what()), ProductTitle, MsgSeam::MbIconStop);
        return false;
    }
    if (!failedTables.isEmpty()) {
        ShowTableWriteFailure(this, failedTables.join(QStringLiteral("」「")), failure);
        return false;
    }
    m_changed = true;
    return true;
}
