// The index repair of one address book and the sender table.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QListWidget;
class QPushButton;

// Regenerates the indexes of the book AdrsFolderList[book] (none when book < 0) and, with sender, of the
// sender table, each through an exclusive open followed by the engine's integrity check; the current book's
// shared table is closed meanwhile and opened again afterwards. Stops at the first failure, shown over
// owner; true when every chosen table was repaired.
bool RepairTables(QWidget* owner, int book, bool sender);

class TRepairIndex : public QDialog
{
public:
    TRepairIndex(QWidget* owner, std::function<bool()> closeChildren);

    // True when the current book was among the repaired tables.
    bool Repaired() const { return m_repaired; }

    void btnRepairClick();
    void chkAdrsClick();
    void chkSenderClick();

private:
    void FormCreate();

    std::function<bool()> m_closeChildren;
    bool m_repaired = false;
    QListWidget* lvAdrs;
    QCheckBox* chkAdrs;
    QCheckBox* chkSender;
    QPushButton* btnRepair;
    QPushButton* btnClose;
};
