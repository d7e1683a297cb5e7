// The input list editor: the modal dialog that edits the department, post, honorific and keyword lists.
#pragma once

#include "addressbook/CardServices.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <array>
#include <optional>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabBar;
class QToolButton;

class TInputList : public QDialog
{
    Q_OBJECT
public:
    // keywordNames: the names of keyword items 1 to 8 (items 6 to 8 name the last three tabs).
    TInputList(TCardDataModule& data, const QStringList& keywordNames, QWidget* owner = nullptr);

    // Selects the tab; 0 to 5 also set the name edit's limit.
    void SetListKind(int kind);
    // Bits 0 to 5: the tabs whose list was changed.
    unsigned GetChangedLists() const;

    // The longest entry of each tab, in bytes.
    static constexpr std::array<int, InputListCount> MaxLengths{100, 50, 10, 100, 100, 100};

    QTabBar* tabctlInputList = nullptr;
    QLineEdit* edtName = nullptr;
    QListWidget* lbxList = nullptr;
    QToolButton* bbtnAdd = nullptr;
    QToolButton* bbtnUpdate = nullptr;
    QToolButton* bbtnDelete = nullptr;
    QToolButton* bbtnUp = nullptr;
    QToolButton* bbtnDown = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void bbtnAddClick();
    void bbtnUpdateClick();
    void bbtnDeleteClick();
    void bbtnUpClick();
    void bbtnDownClick();
    void btnOkClick();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct TabState
    {
        QString name;
        std::optional<QStringList> working;
        QList<int> selected;
        bool changed = false;
    };

    void LeaveTab(int tab);
    void EnterTab(int tab);
    void LoadList(int tab);
    QStringList CurrentEntries() const;
    QList<int> SelectedRows() const;
    void SelectOnly(int row);
    void UpdateButtons();
    void MarkChanged();
    void NameReturnPressed();
    void Message(const QString& text);

    TCardDataModule& m_data;
    std::array<TabState, InputListCount> m_tabs;
    int m_currentTab = 0;
};
