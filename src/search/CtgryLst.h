// The search-name list: the names of Category.DB by the first letter of their reading, the user's own and
// the 20 last chosen; adding, changing, deleting and choosing one.
#pragma once

#include "platform/Cp932.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class Table;

// The group head of a reading: three bytes when one of the first three is a voicing mark, else two.
AnsiString KanaHeadOf(const AnsiString& kana);

class TCategoryList : public QDialog
{
public:
    enum { IndexOriginal = 10, IndexHistory = 11, MaxHistory = 20, MaxRows = 100000 };

    explicit TCategoryList(QWidget* parent);
    ~TCategoryList() override;

    QString GetSelectedName() const;
    void SelectIndex(int index);
    void RefreshList();
    int RowCount() const { return int(m_rows.size()); }
    // The two shown texts of a row: group head and name.
    QString RowHead(int row) const;
    QString RowName(int row) const;
    void SelectRows(const QList<int>& rows);
    void ShowSelectedInEditor();
    void SetEditPanelVisible(bool visible);
    // Tag 0 add, 1 change.
    void btnAddUpdClick(int tag);
    void btnDeleteClick();
    void btnSelectClick();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    struct Row
    {
        qint64 recNo = 0;
        AnsiString kana;
        bool original = false;
        QString kanji;
    };

    QList<int> SelectedRows() const;
    bool FindRecNo(qint64 recNo);
    bool IsDuplicate(const AnsiString& kana, const AnsiString& kanji, qint64 except);
    // Posts the edited row; a failure is cancelled and shown naming the table.
    bool Post();
    void FocusListOrCancel();

    Table* m_table = nullptr;
    bool m_open = false;
    int m_index = -1;
    QList<Row> m_rows;

    QComboBox* cbxIndex = nullptr;
    QTableWidget* lvCategory = nullptr;
    QPushButton* btnSelect = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnMode = nullptr;
    QWidget* pnlEdit = nullptr;
    QLineEdit* edtKana = nullptr;
    QLineEdit* edtKanji = nullptr;
    QCheckBox* chkOriginal = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnUpdate = nullptr;
    QPushButton* btnDelete = nullptr;
};
