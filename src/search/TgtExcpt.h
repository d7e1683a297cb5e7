// The included and excluded names of one search name: the names applied and offered in Target.DB,
// Exception.DB and the user's own in Original.DB, moved between the lists and stored in their Show flags.
#pragma once

#include <QDialog>
#include <QListWidget>

class QLineEdit;
class QPushButton;
class Table;

// A list of names whose entries carry an order key; it takes drops only from its partner.
class TNameKeyList : public QListWidget
{
public:
    explicit TNameKeyList(QWidget* parent);
    TNameKeyList* partner = nullptr;
    std::function<void(TNameKeyList* from)> dropped;

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};

class TTargetException : public QDialog
{
public:
    enum ListKind { TargetAdd, TargetList, ExceptionAdd, ExceptionList };
    static constexpr int NewOwnKeyBase = 100000000;
    static constexpr int OrderKeyRole = Qt::UserRole;

    explicit TTargetException(QWidget* parent);

    void SetSearchName(const QString& name);
    bool Changed() const { return m_changed; }
    void LoadLists();
    TNameKeyList* List(ListKind kind) const { return m_lists[kind]; }
    QStringList Names(ListKind kind) const;
    QPushButton* Button(const char* name) const;

    // 追加 (toApplied) or 削除 of the group (0 include, 1 exclude); all: すべて追加 / すべて削除.
    void MoveSelected(int group, bool toApplied);
    void MoveAll(int group, bool toApplied);
    void CreateOwnItems(int group);
    // Own names of the group with Show set that neither list of the group holds, appended to the applied
    // list.
    void AddNewOwnItems(int group);
    // The first entry with this name in the applied and in the candidate list of the group.
    void RemoveOwnName(int group, const QString& name);
    // false: the dialog stays open (a name in both applied lists, or a failed write).
    bool SaveChoices();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Move(TNameKeyList* from, TNameKeyList* to, int row);
    static void InsertByKey(QListWidget* list, const QString& name, int key);
    void UpdateButtons(int group);
    // Sets Show of the rows of table with this Category and Name (and Flag) whose Show differs.
    bool StoreShow(Table* table, const QStringList& names, bool show, int flag, QString& failure);

    QString m_searchName;
    bool m_changed = false;
    bool m_loaded = false;
    QLineEdit* edtName = nullptr;
    TNameKeyList* m_lists[4] = {};
    QPushButton* btnSet = nullptr;
    QPushButton* btnCancel = nullptr;
};
