// The address-book choice: creating a new book or choosing one to open, with deleting, renaming and
// reordering the books on the way.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <cstdint>

class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;
class TBookNameDelegate;

// The book list as the dialog shows it and what its commands do to AdrsFolderList and "AdrsOp.ini".
// Messages go to owner through MessageBoxPos.
class TAddressBookChoice
{
public:
    explicit TAddressBookChoice(QWidget* owner) : m_owner(owner) {}

    // In: the open book's name; out after a successful choice: the book to open.
    QString BookName;
    // 1 when the chosen book differs from the one handed in (compared without regard to case).
    uint8_t BookChanged = 0;

    struct TItem
    {
        QString Name;
        int Index; // position in AdrsFolderList
    };
    // Refills the items from AdrsFolderList in its order, without the books whose deletion is pending.
    void FillBookList();
    const QList<TItem>& Items() const { return m_items; }
    // The item named BookName (ignoring case), else the first; -1 when there are none.
    int InitialRow() const;
    int FindItem(const QString& name, int except = -1) const;

    // Marks the book pending deletion after asking; answers the row to select next (-1 for none), or -2 when
    // nothing was deleted.
    int DeleteItem(int row);

    enum TRenameResult { rnUnchanged, rnAccepted, rnRefused, rnReopen };
    // Checks and records a new name typed for an item. rnReopen: the editor opens again with *reopenText.
    TRenameResult RenameItem(int row, const QString& text, QString* reopenText);

    // Exchanges the book at row with its neighbour (delta -1 up, +1 down); answers its new row, or -1.
    int MoveItem(int row, int delta);

    enum TOkResult { okClose, okFocusEdit, okFocusList };
    // OK with "create" chosen: text is the typed name.
    TOkResult CreateBook(const QString& text);
    // OK with "open" chosen: row is the selected item (-1 for none).
    TOkResult OpenBook(int row);

    // The text of the forbidden-characters message.
    static QString ForbiddenCharsMessage();

private:
    void info(const QString& text) const;
    int ask(const QString& text, unsigned defaultButton) const;
    // Checks a name against the rules shared by creating and renaming; shows the message when it fails.
    bool nameAllowed(const QString& name) const;
    void choose(const QString& name);

    QWidget* m_owner;
    QList<TItem> m_items;
};

// Adds one pending operation to "AdrsOp.ini": [section] Count + 1 and the new key holding value.
bool RecordPendingOperation(const QString& section, const QString& value, QString* error);

class TAddressSelect : public QDialog
{
    Q_OBJECT
public:
    explicit TAddressSelect(QWidget* owner);

    // Modal results.
    enum { mrOk = 1, mrCancel = 2 };

    // 0 create, 1 open, 9 the start-up choice (cancelling it ends the program).
    void SetMode(int mode);
    int Mode() const { return m_mode; }
    void FillBookList();

    // Same as TAddressBookChoice::BookName / BookChanged (set BookName before SetMode).
    QString& BookName() { return m_choice.BookName; }
    uint8_t BookChanged() const { return m_choice.BookChanged; }
    TAddressBookChoice& Choice() { return m_choice; }

    void btnOkClick();
    void actDeleteExecute();
    void actRenameExecute();
    void actUpExecute();
    void actDownExecute();
    // The in-place editor of row ended with text.
    void bookNameEdited(int row, const QString& text);

    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateActions();
    void selectRow(int row);
    void focusEdit();
    void focusList();

    TAddressBookChoice m_choice;
    int m_mode = 1;
    bool m_inListPress = false;
    QRadioButton* m_rbNew;
    QRadioButton* m_rbOpen;
    QLineEdit* m_edtNew;
    QListWidget* m_lvAdrs;
    TBookNameDelegate* m_delegate;
    QAction* m_actDelete;
    QAction* m_actRename;
    QAction* m_actUp;
    QAction* m_actDown;
    QMenu* m_pmAdrs;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
};
