// The address-book choice dialog and the book-list commands behind it.
#include "addressbook/AdrsSel.h"

#include "core/DialogSub.h"
#include "core/AdrsFolderList.h"
#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int MaxNameBytes = 100;
const QString NameTooLongText = QStringLiteral("アドレス帳の名前の長さは全角で５０文字分までです  ");
const QString ForbiddenChars = QStringLiteral("\\/:;*?\"<>|");

bool holdsForbiddenChar(const QString& name)
{
    for (const QChar c : name)
        if (ForbiddenChars.contains(c))
            return true;
    return false;
}

// Whether an entry of AdrsFolder answers to name: book folders compare without regard to case.
bool folderTaken(const QString& name)
{
    const QStringList entries =
        QDir(AdrsFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (TMemIniFile::SameName(entry, name))
            return true;
    return false;
}

bool pathExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

// The in-place editor of a book's name: the typed text goes to the dialog's checks instead of the item.
class TBookNameDelegate : public QStyledItemDelegate
{
public:
    TBookNameDelegate(TAddressSelect* dialog) : QStyledItemDelegate(dialog), m_dialog(dialog) {}

    // The text the next editor opens with in place of the item's own.
    QString presetText;
    bool hasPreset = false;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setObjectName(QStringLiteral("edtRename"));
        SetImeMode(editor, imHira);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        if (edit && hasPreset) {
            edit->setText(presetText);
            const_cast<TBookNameDelegate*>(this)->hasPreset = false;
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        if (!edit)
            return;
        // Checked once the editor has gone: the checks show messages and may open the editor again.
        const int row = index.row();
        const QString text = edit->text();
        QPointer<TAddressSelect> dialog = m_dialog;
        QTimer::singleShot(0, m_dialog, [dialog, row, text] {
            if (dialog)
                dialog->bookNameEdited(row, text);
        });
    }

private:
    TAddressSelect* m_dialog;
};

// ---- TAddressBookChoice ----

void TAddressBookChoice::info(const QString& text) const
{
    MessageBoxPos(m_owner, text, ProductTitle, MsgSeam::MbIconInformation);
}

int TAddressBookChoice::ask(const QString& text, unsigned defaultButton) const
{
    return MessageBoxPos(m_owner, text, ProductTitle,
                         MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | defaultButton);
}

QString TAddressBookChoice::ForbiddenCharsMessage()
{
    QString text = QStringLiteral("アドレス帳には次の文字は使えません\r\n");
    for (const QChar c : ForbiddenChars)
        text += u' ' + QString(c);
    return text + QStringLiteral("   ");
}

bool TAddressBookChoice::nameAllowed(const QString& name) const
{
    if (name.startsWith(u'.')) {
        info(QStringLiteral("' . ' で始まる名前は指定できません  "));
        return false;
    }
    // A book's name becomes its folder's name: one plain name directly under the books' folder.
    if (holdsForbiddenChar(name) || !IsPlainFolderName(name)) {
        info(ForbiddenCharsMessage());
        return false;
    }
    // The name is kept in CP932 settings files: a character they cannot hold would turn into another name.
    if (!Cp932::canEncode(name)) {
        info(QStringLiteral("アドレス帳の名前に使えない文字が含まれています  "));
        return false;
    }
    return true;
}

void TAddressBookChoice::FillBookList()
{
    m_items.clear();
    for (int i = 0; i < AdrsFolderList.size(); ++i)
        if (AdrsFolderList[i].State != 1)
            m_items.append({AdrsFolderList[i].Name, i});
}

int TAddressBookChoice::FindItem(const QString& name, int except) const
{
    for (int i = 0; i < m_items.size(); ++i)
        if (i != except && TMemIniFile::SameName(m_items[i].Name, name))
            return i;
    return -1;
}

int TAddressBookChoice::InitialRow() const
{
    if (m_items.isEmpty())
        return -1;
    return std::max(0, FindItem(BookName));
}

bool RecordPendingOperation(const QString& section, const QString& value, QString* error)
{
    TMemIniFile op(AdrsFolder + AdrsOpFileName);
    if (!op.LoadedOk()) {
        if (error)
            *error = QStringLiteral("読み込めません: ") + op.FileName();
        return false;
    }
    const QString countKey = QStringLiteral("Count");
    const int count = std::max(0, op.ReadInteger(section, countKey, 0)) + 1;
    op.WriteInteger(section, countKey, count);
    op.WriteString(section, QString::number(count), value);
    return op.UpdateFile(error);
}

int TAddressBookChoice::DeleteItem(int row)
{
    if (row < 0 || row >= m_items.size())
        return -2;
    const QString name = m_items[row].Name;
    if (TMemIniFile::SameName(name, BookName)) {
        info(QStringLiteral("現在編集中のアドレス帳は削除できません  "));
        return -2;
    }
    if (ask(QStringLiteral("アドレス帳 '") + name + QStringLiteral("' を削除します  \r\nよろしいですか？  "),
            MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return -2;
    for (TAdrsFolderInfo& entry : AdrsFolderList) {
        if (entry.State == 1 || !TMemIniFile::SameName(entry.Name, name))
            continue;
        QString error;
        if (!RecordPendingOperation(QStringLiteral("DELETE"), entry.Folder, &error)) {
            MessageBoxPos(m_owner, QStringLiteral("アドレス帳を削除できませんでした  \r\n") + error,
                          ProductTitle, MsgSeam::MbIconExclamation);
            return -2;
        }
        entry.Name.clear();
        entry.State = 1;
        break;
    }
    FillBookList();
    if (m_items.isEmpty())
        return -1;
    return std::min(row, int(m_items.size()) - 1);
}

TAddressBookChoice::TRenameResult TAddressBookChoice::RenameItem(int row, const QString& text,
                                                                 QString* reopenText)
{
    if (row < 0 || row >= m_items.size())
        return rnRefused;
    const QString oldName = m_items[row].Name;
    // Blanks around a name would make a book whose name cannot be seen.
    const QString name = TrimBlanks(text);
    if (text == oldName || name == oldName)
        return rnUnchanged;
    if (name.isEmpty()) {
        info(QStringLiteral("空白の名前に変更することはできません  "));
        return rnRefused;
    }
    if (!nameAllowed(name))
        return rnRefused;
    if (TMemIniFile::SameName(oldName, BookName)) {
        info(QStringLiteral("現在編集中のアドレス帳の名前は変更できません  "));
        return rnRefused;
    }
    if (Cp932::byteLength(name) > MaxNameBytes) {
        info(NameTooLongText);
        *reopenText = Cp932::cutToBytes(name, MaxNameBytes);
        return rnReopen;
    }
    if (FindItem(name, row) >= 0) {
        info(QStringLiteral("指定された名前のアドレス帳は既に存在します  "));
        *reopenText = oldName;
        return rnReopen;
    }
    QString error;
    if (!RecordPendingOperation(QStringLiteral("RENAME"), oldName + u'/' + name, &error)) {
        MessageBoxPos(m_owner, QStringLiteral("アドレス帳の名前を変更できませんでした  \r\n") + error,
                      ProductTitle, MsgSeam::MbIconExclamation);
        return rnRefused;
    }
    TAdrsFolderInfo& entry = AdrsFolderList[m_items[row].Index];
    entry.Name = name;
    entry.State = 2;
    m_items[row].Name = name;
    return rnAccepted;
}

int TAddressBookChoice::MoveItem(int row, int delta)
{
    const int other = row + delta;
    if (row < 0 || row >= m_items.size() || other < 0 || other >= m_items.size())
        return -1;
    AdrsFolderList.swapItemsAt(m_items[row].Index, m_items[other].Index);
    FillBookList();
    return other;
}

void TAddressBookChoice::choose(const QString& name)
{
    BookChanged = TMemIniFile::SameName(name, BookName) ? 0 : 1;
    BookName = name;
}

TAddressBookChoice::TOkResult TAddressBookChoice::CreateBook(const QString& text)
{
    QString name = TrimBlanks(text);
    if (name.isEmpty()) {
        info(QStringLiteral("作成するアドレス帳の名前を入力してください  "));
        return okFocusEdit;
    }
    if (!nameAllowed(name))
        return okFocusEdit;
    if (Cp932::byteLength(name) > MaxNameBytes) {
        info(NameTooLongText);
        return okFocusEdit;
    }

    const int existing = FindItem(name);
    if (existing >= 0) {
        if (ask(QStringLiteral("アドレス帳 '") + m_items[existing].Name +
                    QStringLiteral("' は存在します  \r\n開きますか？  "),
                0) != MsgSeam::IdYes)
            return okFocusEdit;
        name = m_items[existing].Name;
        const QString folder = AdrsFolderList[m_items[existing].Index].Folder;
        if (!QDir().mkpath(AdrsFolder + folder)) {
            info(QStringLiteral("アドレス帳を作成できませんでした  "));
            return okFocusList;
        }
        choose(name);
        return okClose;
    }

    // A folder still waiting to be deleted or renamed away cannot take the new book: it gets a folder of
    // its own that takes the book's name at the next start.
    bool folderBusy = false;
    for (const TAdrsFolderInfo& entry : AdrsFolderList)
        if (TMemIniFile::SameName(entry.Folder, name) && entry.State != 0)
            folderBusy = true;
    QString folder = name;
    if (folderBusy)
        for (int n = 1;; ++n) {
            folder = name + QStringLiteral("（%1）").arg(n);
            if (!folderTaken(folder))
                break;
        }

    // The folder comes first: a book is recorded only once it has somewhere to live.
    if (AdrsFolder.isEmpty()) {
        info(QStringLiteral("アドレス帳を作成できませんでした  "));
        return okFocusList;
    }
    const QString path = AdrsFolder + folder;
    const bool existed = pathExists(path);
    if (!QDir().mkpath(path)) {
        info(QStringLiteral("アドレス帳を作成できませんでした  "));
        return okFocusList;
    }
    if (folderBusy) {
        QString error;
        if (!RecordPendingOperation(QStringLiteral("RENAME"), folder + u'/' + name, &error)) {
            if (!existed)
                QDir().rmdir(path);
            info(QStringLiteral("アドレス帳を作成できませんでした  "));
            return okFocusList;
        }
        AdrsFolderList.append({name, folder, 2});
    } else {
        AdrsFolderList.append({name, folder, 0});
    }
    choose(name);
    return okClose;
}

TAddressBookChoice::TOkResult TAddressBookChoice::OpenBook(int row)
{
    if (row < 0 || row >= m_items.size()) {
        info(QStringLiteral("アドレス帳を選択してください  "));
        return okFocusList;
    }
    choose(m_items[row].Name);
    return okClose;
}

// ---- TAddressSelect ----

TAddressSelect::TAddressSelect(QWidget* owner) : QDialog(owner), m_choice(this)
{
    setObjectName(QStringLiteral("AddressSelect"));
    SetHelpContext(this, 41);

    m_rbNew = new QRadioButton(QStringLiteral("新しいアドレス帳を作成する："), this);
    m_rbNew->setObjectName(QStringLiteral("rbNew"));
    m_edtNew = new QLineEdit(this);
    m_edtNew->setObjectName(QStringLiteral("edtNew"));
    m_edtNew->setMaxLength(100);
    SetImeMode(m_edtNew, imHira);
    m_rbOpen = new QRadioButton(QStringLiteral("既存のアドレス帳を開く："), this);
    m_rbOpen->setObjectName(QStringLiteral("rbOpen"));
    m_lvAdrs = new QListWidget(this);
    m_lvAdrs->setObjectName(QStringLiteral("lvAdrs"));
    m_lvAdrs->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvAdrs->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_delegate = new TBookNameDelegate(this);
    m_lvAdrs->setItemDelegate(m_delegate);
    m_lvAdrs->setMinimumSize(260, 200);
    PaintCheckedBlue(m_rbNew);
    PaintCheckedBlue(m_rbOpen);

    const QIcon glyphs[4] = {ButtonPicture(QStringLiteral("DELETE")), ButtonPicture(QStringLiteral("RENAME")),
                             ButtonPicture(QStringLiteral("UP")), ButtonPicture(QStringLiteral("DOWN"))};
    const auto makeAction = [this](const char* name, const QString& caption, const QIcon& icon) {
        auto* action = new QAction(icon, caption, this);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    m_actDelete = makeAction("actDelete", QStringLiteral("削除"), glyphs[0]);
    m_actRename = makeAction("actRename", QStringLiteral("名前の変更"), glyphs[1]);
    m_actUp = makeAction("actUp", QStringLiteral("上に移動"), glyphs[2]);
    m_actDown = makeAction("actDown", QStringLiteral("下に移動"), glyphs[3]);
    connect(m_actDelete, &QAction::triggered, this, &TAddressSelect::actDeleteExecute);
    connect(m_actRename, &QAction::triggered, this, &TAddressSelect::actRenameExecute);
    connect(m_actUp, &QAction::triggered, this, &TAddressSelect::actUpExecute);
    connect(m_actDown, &QAction::triggered, this, &TAddressSelect::actDownExecute);

    m_pmAdrs = new QMenu(this);
    m_pmAdrs->setObjectName(QStringLiteral("pmAdrs"));
    m_pmAdrs->addActions({m_actDelete, m_actRename, m_actUp, m_actDown});

    auto* side = new QVBoxLayout;
    const std::pair<const char*, QAction*> sideButtons[] = {{"bbtnDelete", m_actDelete},
                                                            {"bbtnRename", m_actRename},
                                                            {"bbtnUp", m_actUp},
                                                            {"bbtnDown", m_actDown}};
    for (const auto& [name, action] : sideButtons) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setFocusPolicy(Qt::TabFocus);
        side->addWidget(button);
    }
    side->addStretch();

    m_btnOk = MakeButton(this, "btnOk", QStringLiteral("OK"), true);
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));

    auto* grid = new QGridLayout;
    grid->addWidget(m_rbNew, 0, 0, 1, 2);
    grid->addWidget(m_edtNew, 1, 0);
    grid->addWidget(m_rbOpen, 2, 0, 1, 2);
    grid->addWidget(m_lvAdrs, 3, 0);
    grid->addLayout(side, 3, 1);
    grid->setColumnMinimumWidth(1, 110);
    auto* buttons = ButtonRow({m_btnOk, m_btnCancel});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    auto* keys = new TEnterMovesFocus(this);
    keys->addTarget(m_rbNew, m_edtNew);
    keys->addTarget(m_rbOpen, m_lvAdrs);
    keys->addTarget(m_edtNew, m_btnOk);
    keys->addTarget(m_lvAdrs, m_btnOk);

    m_edtNew->installEventFilter(this);
    m_lvAdrs->installEventFilter(this);
    m_lvAdrs->viewport()->installEventFilter(this);
    connect(m_rbNew, &QRadioButton::clicked, this, [this] {
        if (isVisible())
            focusEdit();
    });
    connect(m_rbOpen, &QRadioButton::clicked, this, [this] {
        if (isVisible())
            focusList();
    });
    connect(m_lvAdrs, &QListWidget::currentRowChanged, this, [this] { updateActions(); });
    connect(m_lvAdrs, &QListWidget::itemSelectionChanged, this, [this] { updateActions(); });
    connect(m_lvAdrs, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_rbOpen->isChecked() && !m_lvAdrs->selectedItems().isEmpty())
            m_btnOk->click();
    });
    connect(m_btnOk, &QPushButton::clicked, this, &TAddressSelect::btnOkClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &TAddressSelect::reject);

    FillBookList();
    resize(sizeHint());
    CenterForm(this, owner);
}

void TAddressSelect::FillBookList()
{
    m_choice.FillBookList();
    m_lvAdrs->clear();
    for (const TAddressBookChoice::TItem& item : m_choice.Items()) {
        auto* row = new QListWidgetItem(item.Name, m_lvAdrs);
        row->setData(Qt::UserRole, item.Index);
        row->setFlags(row->flags() | Qt::ItemIsEditable);
    }
    const bool any = m_lvAdrs->count() > 0;
    m_rbOpen->setEnabled(any);
    m_lvAdrs->setEnabled(any);
    QPalette pal = m_lvAdrs->palette();
    pal.setColor(QPalette::Base,
                 QApplication::palette(m_lvAdrs).color(any ? QPalette::Base : QPalette::Button));
    m_lvAdrs->setPalette(pal);
    updateActions();
}

void TAddressSelect::SetMode(int mode)
{
    m_mode = mode;
    int shown = mode == 9 ? 1 : mode;
    if (shown == 1 && m_lvAdrs->count() == 0)
        shown = 0;
    if (shown == 0) {
        setWindowTitle(QStringLiteral("アドレス帳の作成"));
        m_rbNew->setChecked(true);
        m_edtNew->setText(m_choice.BookName);
    } else {
        setWindowTitle(QStringLiteral("アドレス帳の切り替え"));
        m_rbOpen->setChecked(true);
    }
}

void TAddressSelect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    selectRow(m_choice.InitialRow());
    const auto focusFirst = [this] {
        if (m_rbOpen->isChecked())
            focusList();
        else
            focusEdit();
    };
    focusFirst();
    // Again once the window has been activated: activation may focus the edit as if by Tab, which
    // selects its text.
    QTimer::singleShot(0, this, focusFirst);
}

void TAddressSelect::selectRow(int row)
{
    if (row < 0 || row >= m_lvAdrs->count()) {
        updateActions();
        return;
    }
    QListWidgetItem* item = m_lvAdrs->item(row);
    m_lvAdrs->setCurrentItem(item);
    item->setSelected(true);
    m_lvAdrs->scrollToItem(item);
    updateActions();
}

void TAddressSelect::focusEdit()
{
    m_rbNew->setChecked(true);
    TEnterMovesFocus::focusWithCaretAtEnd(m_edtNew);
}

void TAddressSelect::focusList()
{
    if (!m_lvAdrs->isEnabled())
        return;
    m_rbOpen->setChecked(true);
    m_lvAdrs->setFocus(Qt::OtherFocusReason);
}

void TAddressSelect::updateActions()
{
    const int count = m_lvAdrs->count();
    const int row = m_lvAdrs->selectedItems().isEmpty() ? -1 : m_lvAdrs->currentRow();
    const bool selected = count > 0 && row >= 0;
    m_actDelete->setEnabled(selected);
    m_actRename->setEnabled(selected);
    m_actUp->setEnabled(selected && row > 0);
    m_actDown->setEnabled(selected && row < count - 1);
}

bool TAddressSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_edtNew)
            m_rbNew->setChecked(true);
        else if (watched == m_lvAdrs)
            m_rbOpen->setChecked(true);
    } else if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) &&
               watched == m_lvAdrs->viewport() && !m_inListPress) {
        // The list handles the button first (on empty space it clears the selection); then the focused
        // item is selected again.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton) {
            m_inListPress = true;
            QCoreApplication::sendEvent(watched, event);
            m_inListPress = false;
        }
        if (m_lvAdrs->selectedItems().isEmpty() && m_lvAdrs->currentItem())
            m_lvAdrs->currentItem()->setSelected(true);
        if (mouse->button() == Qt::RightButton && event->type() == QEvent::MouseButtonPress) {
            if (QListWidgetItem* item = m_lvAdrs->itemAt(mouse->position().toPoint()))
                selectRow(m_lvAdrs->row(item));
            m_pmAdrs->popup(mouse->globalPosition().toPoint());
        }
        updateActions();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAddressSelect::actDeleteExecute()
{
    if (m_lvAdrs->selectedItems().isEmpty())
        return;
    const int next = m_choice.DeleteItem(m_lvAdrs->currentRow());
    if (next == -2)
        return;
    FillBookList();
    selectRow(next);
}

void TAddressSelect::actRenameExecute()
{
    if (QListWidgetItem* item = m_lvAdrs->currentItem(); item && item->isSelected())
        m_lvAdrs->editItem(item);
}

void TAddressSelect::bookNameEdited(int row, const QString& text)
{
    QString reopen;
    switch (m_choice.RenameItem(row, text, &reopen)) {
    case TAddressBookChoice::rnAccepted:
        m_lvAdrs->item(row)->setText(m_choice.Items()[row].Name);
        break;
    case TAddressBookChoice::rnReopen:
        m_delegate->presetText = reopen;
        m_delegate->hasPreset = true;
        selectRow(row);
        m_lvAdrs->editItem(m_lvAdrs->item(row));
        break;
    default:
        break;
    }
}

void TAddressSelect::actUpExecute()
{
    const int row = m_choice.MoveItem(m_lvAdrs->currentRow(), -1);
    if (row < 0)
        return;
    FillBookList();
    selectRow(row);
    m_lvAdrs->setFocus();
}

void TAddressSelect::actDownExecute()
{
    const int row = m_choice.MoveItem(m_lvAdrs->currentRow(), +1);
    if (row < 0)
        return;
    FillBookList();
    selectRow(row);
    m_lvAdrs->setFocus();
}

void TAddressSelect::btnOkClick()
{
    TAddressBookChoice::TOkResult result;
    if (m_rbNew->isChecked()) {
        result = m_choice.CreateBook(m_edtNew->text());
    } else {
        const int row = m_lvAdrs->selectedItems().isEmpty() ? -1 : m_lvAdrs->currentRow();
        result = m_choice.OpenBook(row);
    }
    switch (result) {
    case TAddressBookChoice::okClose:
        done(mrOk);
        break;
    case TAddressBookChoice::okFocusEdit:
        focusEdit();
        break;
    case TAddressBookChoice::okFocusList:
        if (m_lvAdrs->isEnabled())
            focusList();
        else
            focusEdit();
        break;
    }
}

void TAddressSelect::reject()
{
    // Esc, the cancel button and the close box all come here.
    done(mrCancel);
}

void TAddressSelect::done(int result)
{
    if (result != mrOk) {
        if (m_mode == 9 &&
            MessageBoxPos(this,
                          QStringLiteral("キャンセルした場合アドレス帳が開けませんので  \r\nTovarel "
                                         "を終了することになります  \r\nよろしいですか？  "),
                          ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) !=
                MsgSeam::IdYes)
            return;
        result = mrCancel;
    }
    QDialog::done(result);
}
