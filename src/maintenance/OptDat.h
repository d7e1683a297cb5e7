// The pack of the current book's table and the sender table.
#pragma once

#include <QDialog>

#include <functional>

class QPushButton;

// Packs the current book's table and the sender table, each through an exclusive open, the current book's
// shared table closed meanwhile and opened again afterwards. Failures are shown over owner; true when both
// tables were packed.
bool PackTables(QWidget* owner);

class TOptimizeData : public QDialog
{
public:
    // closeChildren closes the address list's child windows; false when one stays open.
    TOptimizeData(QWidget* owner, std::function<bool()> closeChildren);

    void btnOptimizeClick();

private:
    std::function<bool()> m_closeChildren;
    QPushButton* btnOptimize;
    QPushButton* btnClose;
};
