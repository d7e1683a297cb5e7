// The editor of the user's own include and exclude names.
#include "search/OrgEdit.h"

#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "platform/MessageSeam.h"
#include "platform/TableEngine.h"
#include "search/NameLists.h"
#include "search/TgtExcpt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

TOriginalEdit::TOriginalEdit(TTargetException* opener, QWidget* parent) : QDialog(parent), m_opener(opener)
{
    setObjectName(QStringLiteral("OriginalEdit"));
    setWindowTitle(QStringLiteral("項目の作成"));
    auto* grid = new QGridLayout(this);
    edtItem = new QLineEdit(this);
    edtItem->setObjectName(QStringLiteral("edtItem"));
    SetImeMode(edtItem, imHira);
    CutOnLeave(edtItem, MaxNameBytes);
    lbxList = new QListWidget(this);
    lbxList->setObjectName(QStringLiteral("lbxList"));
    lbxList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    btnAdd = button("btnAdd", QStringLiteral("登録"));
    btnDelete = button("btnDelete", QStringLiteral("削除"));
    btnClose = button("btnClose", QStringLiteral("閉じる"));
    connect(btnAdd, &QPushButton::clicked, this, [this] { btnAddClick(); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { btnDeleteClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(new QLabel(QStringLiteral("項目名："), this), 0, 0);
    grid->addWidget(edtItem, 0, 1);
    grid->addWidget(btnAdd, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("登録済み項目一覧："), this), 1, 0, 1, 2);
    grid->addWidget(lbxList, 2, 0, 3, 2);
    grid->addWidget(btnDelete, 2, 2);
    grid->addWidget(btnClose, 4, 2);

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(edtItem, [this]() -> QWidget* {
        if (edtItem->text().trimmed().isEmpty())
            return btnClose;
        btnAddClick();
        return edtItem;
    });
    enter->addTarget(lbxList, btnClose);
    resize(ScaleByDpi(380, 1), ScaleByDpi(320, 1));
}

void TOriginalEdit::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    LoadItems();
}

QStringList TOriginalEdit::Items() const
{
    QStringList names;
    for (int i = 0; i < lbxList->count(); ++i)
        names << lbxList->item(i)->text();
    return names;
}

void TOriginalEdit::SetItemText(const QString& text)
{
    edtItem->setText(text);
    // As when the edit is left.
    const AnsiString cut = Cp932::cutAtBoundary(ToAnsi(text), MaxNameBytes);
    if (cut != ToAnsi(text))
        edtItem->setText(ToWide(cut));
}

void TOriginalEdit::LoadItems()
{
    const int remembered = lbxList->currentRow();
    lbxList->clear();
    Table* original = DMQuenrid215 ? DMQuenrid215->OriginalTable() : nullptr;
    if (original && original->active()) {
        try {
            for (const TNameListRow& row : ReadNameListRows(*original, ToAnsi(m_searchName), true))
                if (row.flag == m_kind)
                    lbxList->addItem(row.name);
        } catch (const TableError& e) {
            MessageBoxPos(this, e.message(), ProductTitle, MsgSeam::MbIconStop);
        }
    }
    btnDelete->setEnabled(lbxList->count() > 0);
    if (lbxList->count() > 0)
        lbxList->setCurrentRow(std::clamp(remembered, 0, lbxList->count() - 1));
}

void TOriginalEdit::FocusEdit()
{
    TEnterMovesFocus::focusWithCaretAtEnd(edtItem);
}

void TOriginalEdit::btnAddClick()
{
    const QString name = edtItem->text().trimmed();
    auto refuse = [this](const QString& text) {
        MessageBoxPos(this, text, ProductTitle, MsgSeam::MbIconInformation);
        FocusEdit();
    };
    if (name.isEmpty())
        return refuse(QStringLiteral("登録したい項目名を入力してください  "));
    if (name == m_searchName)
        return refuse(QStringLiteral("検索名称自体を登録することはできません  "));
    Table* original = DMQuenrid215 ? DMQuenrid215->OriginalTable() : nullptr;
    if (!original || !original->active())
        return;
    const QStringList keys{QStringLiteral("Category"), QStringLiteral("Name")};
    const QVariantList values{ToAnsi(m_searchName), ToAnsi(name)};
    Table* shipped = m_kind == 0 ? DMQuenrid215->TargetTable() : DMQuenrid215->ExceptionTable();
    if (shipped && shipped->active() && shipped->locate(keys, values))
        return refuse(m_kind == 0 ? QStringLiteral("既に同じ項目が対象項目に登録されています  ")
                                  : QStringLiteral("既に同じ項目が除外項目に登録されています  "));
    if (original->locate(keys + QStringList{QStringLiteral("Flag")}, values + QVariantList{m_kind}))
        return refuse(QStringLiteral("既に同じ項目が登録されています  "));
    TBusyCursor busy;
    try {
        const qint64 recNo = NextRecNo(*original);
        original->append();
        original->fieldByName(QStringLiteral("RecNo")).setInteger(recNo);
        original->fieldByName(QStringLiteral("Name")).setString(name);
        original->fieldByName(QStringLiteral("Category")).setString(m_searchName);
        original->fieldByName(QStringLiteral("Flag")).setInteger(m_kind);
        original->fieldByName(QStringLiteral("Show")).setBoolean(true);
        original->post();
        original->flushBuffers();
    } catch (const TableError& e) {
        if (original->state() != TableState::Browse)
            original->cancel();
        ShowTableWriteFailure(this, original->tableName(), e.message());
        return;
    }
    m_changed = true;
    edtItem->clear();
    LoadItems();
}

void TOriginalEdit::btnDeleteClick()
{
    QList<int> selected;
    for (int i = 0; i < lbxList->count(); ++i)
        if (lbxList->item(i)->isSelected())
            selected << i;
    Table* original = DMQuenrid215 ? DMQuenrid215->OriginalTable() : nullptr;
    if (selected.isEmpty() || !original || !original->active())
        return;
    if (MessageBoxPos(this,
                      QString::number(selected.size()) +
                          QStringLiteral("件の項目を削除します  \r\nよろしいですか？  "),
                      ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) == MsgSeam::IdNo)
        return;
    int deleted = 0;
    QString failure;
    for (int i = selected.size() - 1; i >= 0; --i) {
        const QString name = lbxList->item(selected[i])->text();
        if (!original->locate({QStringLiteral("Category"), QStringLiteral("Name"), QStringLiteral("Flag")},
                              {ToAnsi(m_searchName), ToAnsi(name), m_kind}))
            continue;
        try {
            original->deleteRecord();
            ++deleted;
            if (m_opener)
                m_opener->RemoveOwnName(m_kind, name);
        } catch (const TableError& e) {
            if (original->state() != TableState::Browse)
                original->cancel();
            failure = e.message();
        }
    }
    if (!failure.isEmpty())
        ShowTableWriteFailure(this, original->tableName(), failure);
    if (deleted > 0) {
        original->flushBuffers();
        m_changed = true;
        LoadItems();
    }
    if (lbxList->count() > 0)
        FocusEdit();
    else
        btnClose->setFocus();
}
