// The dialog that chooses which directory export items are written and in which order.
#pragma once

#include "addressbook/Inquiry.h"

#include <QDialog>
#include <QList>

class QListWidget;
class QPushButton;

class TExportItemSelect : public QDialog
{
public:
    enum Move { mvTop, mvUp, mvDown, mvBottom };

    explicit TExportItemSelect(QWidget* parent);
    void LoadItems(const QList<TExportItemRec>& items);
    // The entries in the list's order with its check marks.
    void StoreItems(QList<TExportItemRec>& items) const;

    // The focused row one place or to the end; nothing at that end.
    void MoveFocused(Move move);
    void CheckAll();
    // The check marks kept, the entries back in table order.
    void ReSort();
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Fill(int focus);
    void TakeChecks();

    QList<TExportItemRec> m_items;
    QListWidget* lvExportItem;
    QPushButton* btnOk;
};
