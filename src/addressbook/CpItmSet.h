// The record card's clipboard copy setting (order, choice and final line break of the 75 items) and the
// dialog in which the user sets it.
#pragma once

#include <QDialog>
#include <QString>

#include <array>

class QCheckBox;
class QListWidget;
class QPushButton;
class QToolButton;

inline constexpr int CopyItemCount = 75;

struct TCopyItemEntry
{
    qint32 ItemNo = 0;    // the item's number in CopyItemTable
    qint32 ItemIndex = 0; // the item's row in CopyItemTable
    quint8 Copy = 1;      // 1: the item is copied
};

using TCopyItemEntries = std::array<TCopyItemEntry, CopyItemCount>;

// Every item in table order, every item copied.
TCopyItemEntries DefaultCopyItems();
// The entries of the stored "CopyItemIndex" and "CopyItemCopy" texts. An order that is not exactly the 75
// item numbers once each falls back to the defaults (flags too); flags of another count than 75 are all set.
TCopyItemEntries ParseCopyItems(const QString& indexText, const QString& copyText);
// "CopyItemIndex": the item numbers joined by ","; "CopyItemCopy": each flag as "1" or "0" joined by ",".
QString CopyItemIndexText(const TCopyItemEntries& entries);
QString CopyItemCopyText(const TCopyItemEntries& entries);

// The modal dialog "コピーする項目の設定".
class TCopyItemSet : public QDialog
{
    Q_OBJECT
public:
    explicit TCopyItemSet(QWidget* owner);

    void SetItems(const TCopyItemEntries& entries, bool lastReturn);
    void GetItems(TCopyItemEntries& entries, bool& lastReturn);

    // The list row captions in the list's current order.
    QStringList Captions() const;

    QListWidget* lvCopyItem = nullptr;
    QToolButton* bbtnTop = nullptr;
    QToolButton* bbtnUp = nullptr;
    QToolButton* bbtnDown = nullptr;
    QToolButton* bbtnBottom = nullptr;
    QToolButton* bbtnAll = nullptr;
    QToolButton* bbtnReSort = nullptr;
    QCheckBox* chkLastReturn = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void FillList();
    void StoreChecks();
    void MoveFocusedRow(int target);
    void bbtnAllClick();
    void bbtnReSortClick();
    void btnOkClick();

    TCopyItemEntries m_entries{};
};
