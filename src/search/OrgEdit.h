// The user's own include or exclude names of one search name in Original.DB: registering and deleting.
#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class TTargetException;

class TOriginalEdit : public QDialog
{
public:
    static constexpr int MaxNameBytes = 60;

    // opener: the include/exclude dialog whose lists lose the names deleted here.
    TOriginalEdit(TTargetException* opener, QWidget* parent);

    void SetItemKind(int kind) { m_kind = kind; }
    void SetSearchName(const QString& name) { m_searchName = name; }
    bool Changed() const { return m_changed; }
    void LoadItems();
    QStringList Items() const;
    void SetItemText(const QString& text);
    void btnAddClick();
    void btnDeleteClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FocusEdit();

    TTargetException* m_opener;
    int m_kind = 0;
    QString m_searchName;
    bool m_changed = false;
    QLineEdit* edtItem = nullptr;
    QListWidget* lbxList = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnClose = nullptr;
};
