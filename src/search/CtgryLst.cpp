// The search-name list over Category.DB.
#include "search/CtgryLst.h"

#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "platform/MessageSeam.h"
#include "platform/TableEngine.h"
#include "search/NameLists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// First letters of the kana rows あ..わ, and ﾝ ending the last.
const unsigned char RowLetters[11] = {0xB1, 0xB6, 0xBB, 0xC0, 0xC5, 0xCA, 0xCF, 0xD4, 0xD7, 0xDC, 0xDD};
const QString Field[] = {QStringLiteral("RecNo"), QStringLiteral("AxsDateTime"), QStringLiteral("Original"),
                         QStringLiteral("Kana"), QStringLiteral("Kanji")};
enum { fRecNo, fAxs, fOriginal, fKana, fKanji };

int CompareKana(const AnsiString& a, const AnsiString& b)
{
    return TableEngine::compareIgnoringCase(a.constData(), int(a.size()), b.constData(), int(b.size()));
}

} // namespace

AnsiString KanaHeadOf(const AnsiString& kana)
{
    const AnsiString three = kana.left(3);
    return three.contains('\xDE') || three.contains('\xDF') ? three : kana.left(2);
}

TCategoryList::TCategoryList(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CategoryList"));
    setWindowTitle(QStringLiteral("名称一覧"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("リストの選択："), this));
    cbxIndex = new QComboBox(this);
    cbxIndex->setObjectName(QStringLiteral("cbxIndex"));
    cbxIndex->addItems({QStringLiteral("あ行"), QStringLiteral("か行"), QStringLiteral("さ行"),
                        QStringLiteral("た行"), QStringLiteral("な行"), QStringLiteral("は行"),
                        QStringLiteral("ま行"), QStringLiteral("や行"), QStringLiteral("ら行"),
                        QStringLiteral("わ行"), QStringLiteral("独自"), QStringLiteral("履歴")});
    cbxIndex->setMaxVisibleItems(12);
    connect(cbxIndex, &QComboBox::activated, this, [this](int i) { SelectIndex(i); });
    top->addWidget(cbxIndex);
    top->addStretch();
    layout->addLayout(top);

    lvCategory = new QTableWidget(0, 2, this);
    lvCategory->setObjectName(QStringLiteral("lvCategory"));
    lvCategory->horizontalHeader()->hide();
    lvCategory->verticalHeader()->hide();
    lvCategory->setShowGrid(false);
    lvCategory->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvCategory->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvCategory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvCategory->setWordWrap(false);
    lvCategory->setTextElideMode(Qt::ElideRight);
    lvCategory->setColumnWidth(0, ScaleByDpi(40, 1));
    lvCategory->setColumnWidth(1, ScaleByDpi(300, 1));
    lvCategory->verticalHeader()->setDefaultSectionSize(lvCategory->fontMetrics().height() + 4);
    connect(lvCategory, &QTableWidget::itemSelectionChanged, this, [this] { ShowSelectedInEditor(); });
    connect(lvCategory, &QTableWidget::cellDoubleClicked, this, [this] { btnSelectClick(); });
    layout->addWidget(lvCategory, 1);

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    auto* msg = new QLabel(QStringLiteral("※履歴の最大件数は20件です"), this);
    msg->setObjectName(QStringLiteral("lblMsg"));
    buttons->addWidget(msg);
    buttons->addStretch();
    btnMode = button("btnMode", QString());
    btnSelect = button("btnSelect", QStringLiteral("決定"));
    btnCancel = button("btnCancel", QStringLiteral("キャンセル"));
    connect(btnMode, &QPushButton::clicked, this, [this] { SetEditPanelVisible(!pnlEdit->isVisible()); });
    connect(btnSelect, &QPushButton::clicked, this, [this] { btnSelectClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(btnMode);
    buttons->addWidget(btnSelect);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    pnlEdit = new QWidget(this);
    pnlEdit->setObjectName(QStringLiteral("pnlEdit"));
    auto* edit = new QGridLayout(pnlEdit);
    edtKana = new QLineEdit(pnlEdit);
    edtKana->setObjectName(QStringLiteral("edtKana"));
    SetImeMode(edtKana, imSKata);
    CutOnLeave(edtKana, 30);
    edtKanji = new QLineEdit(pnlEdit);
    edtKanji->setObjectName(QStringLiteral("edtKanji"));
    SetImeMode(edtKanji, imHira);
    CutOnLeave(edtKanji, 50);
    chkOriginal = new QCheckBox(QStringLiteral("「独自」欄に登録する"), pnlEdit);
    chkOriginal->setObjectName(QStringLiteral("chkOriginal"));
    PaintCheckedBlue(chkOriginal);
    btnAdd = button("btnAdd", QStringLiteral("登録"));
    btnUpdate = button("btnUpdate", QStringLiteral("変更"));
    btnDelete = button("btnDelete", QStringLiteral("削除"));
    connect(btnAdd, &QPushButton::clicked, this, [this] { btnAddUpdClick(0); });
    connect(btnUpdate, &QPushButton::clicked, this, [this] { btnAddUpdClick(1); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { btnDeleteClick(); });
    edit->addWidget(new QLabel(QStringLiteral("カナ："), pnlEdit), 0, 0);
    edit->addWidget(edtKana, 0, 1);
    edit->addWidget(new QLabel(QStringLiteral("漢字："), pnlEdit), 1, 0);
    edit->addWidget(edtKanji, 1, 1);
    edit->addWidget(chkOriginal, 2, 1);
    auto* editButtons = new QHBoxLayout;
    for (QPushButton* b : {btnAdd, btnUpdate, btnDelete})
        editButtons->addWidget(b);
    edit->addLayout(editButtons, 3, 1);
    layout->addWidget(pnlEdit);
    pnlEdit->hide();
    btnMode->setText(QStringLiteral("編集画面を表示"));

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(cbxIndex, lvCategory);
    enter->addTarget(lvCategory, btnSelect);
    enter->addTarget(edtKana, edtKanji);
    enter->addTarget(edtKanji, chkOriginal);
    enter->addTarget(chkOriginal, btnAdd);

    resize(ScaleByDpi(400, 1), ScaleByDpi(420, 1));
    if (DMQuenrid215 && DMQuenrid215->OpenCategory()) {
        m_open = true;
        m_table = DMQuenrid215->CategoryTable();
    }
}

TCategoryList::~TCategoryList()
{
    if (m_open)
        DMQuenrid215->CloseCategory();
}

void TCategoryList::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_index < 0)
        SelectIndex(IndexHistory);
}

void TCategoryList::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Delete && focusWidget() == lvCategory) {
        btnDeleteClick();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TCategoryList::SelectIndex(int index)
{
    cbxIndex->setCurrentIndex(index);
    if (index == m_index)
        return;
    m_index = index;
    RefreshList();
}

void TCategoryList::RefreshList()
{
    TBusyCursor busy;
    m_rows.clear();
    lvCategory->clearContents();
    lvCategory->setRowCount(0);
    if (m_table) {
        auto take = [this] {
            m_rows << Row{m_table->fieldByName(Field[fRecNo]).asInteger(),
                          m_table->fieldByName(Field[fKana]).asAnsi(),
                          m_table->fieldByName(Field[fOriginal]).asBoolean(),
                          m_table->fieldByName(Field[fKanji]).asString()};
        };
        try {
            m_table->cancelRange();
            if (m_index == IndexHistory) {
                m_table->setIndexName(Field[fAxs]);
                for (m_table->last(); !m_table->bof() && m_rows.size() < MaxHistory; m_table->prior()) {
                    if (m_table->fieldByName(Field[fAxs]).isNull())
                        break;
                    take();
                }
            } else {
                m_table->setIndexName(Field[fKana]);
                if (m_index == IndexOriginal) {
                    for (m_table->first(); !m_table->eof(); m_table->next())
                        if (m_table->fieldByName(Field[fOriginal]).asBoolean())
                            take();
                } else {
                    const AnsiString from(1, char(RowLetters[m_index])), to(1, char(RowLetters[m_index + 1]));
                    for (m_table->findNearest({from}); !m_table->eof(); m_table->next()) {
                        if (CompareKana(m_table->fieldByName(Field[fKana]).asAnsi(), to) >= 0)
                            break;
                        take();
                    }
                }
            }
        } catch (const TableError& e) {
            MessageBoxPos(this, e.message(), ProductTitle, MsgSeam::MbIconStop);
        }
    }
    lvCategory->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        lvCategory->setItem(r, 0, new QTableWidgetItem(RowHead(r)));
        lvCategory->setItem(r, 1, new QTableWidgetItem(m_rows[r].kanji));
    }
    btnUpdate->setEnabled(!m_rows.isEmpty());
    if (m_rows.isEmpty()) {
        edtKana->clear();
        edtKanji->clear();
        chkOriginal->setChecked(false);
        btnCancel->setFocus();
    } else {
        lvCategory->setFocus();
    }
}

QString TCategoryList::RowHead(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const AnsiString head = KanaHeadOf(m_rows[row].kana);
    if (row > 0 && KanaHeadOf(m_rows[row - 1].kana) == head)
        return {};
    return ToWide(head);
}

QString TCategoryList::RowName(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row].kanji : QString();
}

QList<int> TCategoryList::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& i : lvCategory->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TCategoryList::SelectRows(const QList<int>& rows)
{
    lvCategory->clearSelection();
    for (int r : rows)
        lvCategory->selectionModel()->select(lvCategory->model()->index(r, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QString TCategoryList::GetSelectedName() const
{
    const QList<int> rows = SelectedRows();
    return rows.size() == 1 ? m_rows[rows.first()].kanji : QString();
}

void TCategoryList::ShowSelectedInEditor()
{
    const QList<int> rows = SelectedRows();
    btnUpdate->setEnabled(rows.size() == 1);
    if (rows.size() == 1) {
        const Row& row = m_rows[rows.first()];
        edtKana->setText(ToWide(row.kana));
        edtKanji->setText(row.kanji);
        chkOriginal->setChecked(row.original);
    } else {
        edtKana->clear();
        edtKanji->clear();
        chkOriginal->setChecked(false);
    }
}

void TCategoryList::SetEditPanelVisible(bool visible)
{
    if (visible == pnlEdit->isVisible() && btnMode->text() != QString())
        return;
    const int h = pnlEdit->sizeHint().height();
    pnlEdit->setVisible(visible);
    if (visible) {
        resize(width(), height() + h);
        const QRect work = screen()->availableGeometry();
        if (frameGeometry().bottom() > work.bottom())
            move(x(), std::max(work.top(), y() - (frameGeometry().bottom() - work.bottom())));
    } else {
        resize(width(), std::max(minimumSizeHint().height(), height() - h));
    }
    btnMode->setText(visible ? QStringLiteral("編集画面を隠す") : QStringLiteral("編集画面を表示"));
}

void TCategoryList::FocusListOrCancel()
{
    (m_rows.isEmpty() ? static_cast<QWidget*>(btnCancel) : lvCategory)->setFocus();
}

bool TCategoryList::FindRecNo(qint64 recNo)
{
    m_table->cancelRange();
    m_table->setIndexName(QString());
    return m_table->findKey({recNo});
}

bool TCategoryList::IsDuplicate(const AnsiString& kana, const AnsiString& kanji, qint64 except)
{
    m_table->cancelRange();
    m_table->setIndexName(Field[fKana]);
    for (m_table->findNearest({kana}); !m_table->eof(); m_table->next()) {
        const AnsiString k = m_table->fieldByName(Field[fKana]).asAnsi();
        if (CompareKana(k, kana) != 0)
            break;
        if (k == kana && m_table->fieldByName(Field[fKanji]).asAnsi() == kanji &&
            m_table->fieldByName(Field[fRecNo]).asInteger() != except)
            return true;
    }
    return false;
}

bool TCategoryList::Post()
{
    try {
        m_table->post();
        return true;
    } catch (const TableError& e) {
        m_table->cancel();
        ShowTableWriteFailure(this, m_table->tableName(), e.message());
        return false;
    }
}

void TCategoryList::btnAddUpdClick(int tag)
{
    const QList<int> selected = SelectedRows();
    if (!m_table || (tag == 1 && selected.size() != 1))
        return;
    const AnsiString kana = ToAnsi(edtKana->text().trimmed());
    const AnsiString kanji = ToAnsi(edtKanji->text().trimmed());
    auto refuse = [this](const QString& text, QLineEdit* focus) {
        MessageBoxPos(this, text, ProductTitle, MsgSeam::MbIconInformation);
        TEnterMovesFocus::focusWithCaretAtEnd(focus);
    };
    if (kana.isEmpty())
        return refuse(QStringLiteral("カナを入力してください  "), edtKana);
    if (kanji.isEmpty())
        return refuse(QStringLiteral("漢字を入力してください  "), edtKanji);
    const auto first = static_cast<unsigned char>(kana[0]);
    if (first < 0xB1 || first > 0xDC)
        return refuse(QStringLiteral("カナの最初の１文字目は  \r\n「ｱ」～「ﾜ」の範囲で入力してください  "),
                      edtKana);
    const bool original = chkOriginal->isChecked();
    const Row current = tag == 1 ? m_rows[selected.first()] : Row{-1, {}, false, {}};
    if (tag == 1 && current.kana == kana && ToAnsi(current.kanji) == kanji && current.original == original)
        return;
    TBusyCursor busy;
    try {
        if (IsDuplicate(kana, kanji, current.recNo)) {
            MessageBoxPos(this, QStringLiteral("同じ内容が既に登録されています  "), ProductTitle,
                          MsgSeam::MbIconInformation);
            return;
        }
        if (tag == 1) {
            if (!FindRecNo(current.recNo)) {
                MessageBoxPos(this, QStringLiteral("変更データを参照できませんでした  "), ProductTitle,
                              MsgSeam::MbIconStop);
                return;
            }
            m_table->edit();
        } else {
            if (m_table->recordCount() > MaxRows - 1) {
                MessageBoxPos(this,
                              QStringLiteral("最大登録件数10万件に達しました  \r\nこれ以上登録できません  "),
                              ProductTitle, MsgSeam::MbIconInformation);
                return;
            }
            const qint64 recNo = NextRecNo(*m_table);
            m_table->append();
            m_table->fieldByName(Field[fRecNo]).setInteger(recNo);
        }
        m_table->fieldByName(Field[fOriginal]).setBoolean(original);
        m_table->fieldByName(Field[fKana]).setAnsi(kana);
        m_table->fieldByName(Field[fKanji]).setAnsi(kanji);
        Post();
        m_table->flushBuffers();
    } catch (const TableError& e) {
        if (m_table->state() != TableState::Browse)
            m_table->cancel();
        ShowTableWriteFailure(this, m_table->tableName(), e.message());
    }
    RefreshList();
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].kana == kana && ToAnsi(m_rows[r].kanji) == kanji && m_rows[r].original == original) {
            SelectRows({r});
            lvCategory->setCurrentCell(r, 0, QItemSelectionModel::NoUpdate);
            break;
        }
}

void TCategoryList::btnDeleteClick()
{
    const QList<int> selected = SelectedRows();
    if (!m_table || selected.isEmpty())
        return FocusListOrCancel();
    const QString n = QString::number(selected.size());
    const QString what = m_index == IndexOriginal ? QStringLiteral("件のデータを「独自」欄から削除します")
                         : m_index == IndexHistory ? QStringLiteral("件のデータを「履歴」欄から削除します")
                                                   : QStringLiteral("件のデータを削除します");
    if (MessageBoxPos(this, n + what + QStringLiteral("\r\nよろしいですか？  "), ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return;
    TBusyCursor busy;
    int done = 0;
    QString failure;
    for (int r : selected) {
        try {
            if (!FindRecNo(m_rows[r].recNo))
                continue;
            if (m_index < IndexOriginal) {
                m_table->deleteRecord();
            } else {
                m_table->edit();
                if (m_index == IndexOriginal)
                    m_table->fieldByName(Field[fOriginal]).setBoolean(false);
                else
                    m_table->fieldByName(Field[fAxs]).clear();
                m_table->post();
            }
            ++done;
        } catch (const TableError& e) {
            if (m_table->state() != TableState::Browse)
                m_table->cancel();
            failure = e.message();
        }
    }
    m_table->flushBuffers();
    if (!failure.isEmpty())
        ShowTableWriteFailure(this, m_table->tableName(), failure);
    MessageBoxPos(this, QString::number(done) + QStringLiteral("件のデータを削除しました  "), ProductTitle,
                  MsgSeam::MbIconInformation);
    RefreshList();
}

void TCategoryList::btnSelectClick()
{
    const QList<int> selected = SelectedRows();
    if (selected.size() > 1) {
        MessageBoxPos(this, QStringLiteral("決定するには１件だけ選択してください  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        return;
    }
    if (selected.isEmpty() || !m_table)
        return FocusListOrCancel();
    try {
        if (FindRecNo(m_rows[selected.first()].recNo)) {
            m_table->edit();
            m_table->fieldByName(Field[fAxs]).setDateTime(QDateTime::currentDateTime());
            Post();
            m_table->flushBuffers();
        }
    } catch (const TableError& e) {
        if (m_table->state() != TableState::Browse)
            m_table->cancel();
        ShowTableWriteFailure(this, m_table->tableName(), e.message());
    }
    accept();
}
