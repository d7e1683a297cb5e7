// The column choice: moving rows, the two resets, keyword captions and the round trip of the records.
#include "addressbook/FakeAddressList.h"
#include "addressbook/HdrSel.h"
#include "addressbook/Inquiry.h"
#include "support/MessageRecorder.h"

#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QList<int> Items(const QList<TAddressColumnRec>& columns)
{
    QList<int> items;
    for (const TAddressColumnRec& column : columns)
        items.append(column.item);
    return items;
}

QList<int> ShownItems(const QList<TAddressColumnRec>& columns)
{
    QList<int> items;
    for (const TAddressColumnRec& column : columns) {
        if (column.shown)
            items.append(column.item);
    }
    return items;
}

// A user's columns: some moved, some widths changed, a different set shown.
QList<TAddressColumnRec> UserColumns()
{
    QList<TAddressColumnRec> columns = DefaultAddressColumns();
    columns.move(10, 0);
    columns.move(3, 51);
    for (int i = 0; i < columns.size(); ++i) {
        columns[i].width = 40 + i;
        columns[i].shown = i % 3 == 0;
    }
    return columns;
}

TEST(HdrSel, MovesKeepTheOtherRecordsInOrder)
{
    struct Case
    {
        const char* name;
        int index;
        TColumnMove move;
        int expectedIndex;
    } cases[] = {
        {"top of the first row", 0, TColumnMove::Top, 0},
        {"up on the first row", 0, TColumnMove::Up, 0},
        {"bottom of the last", 51, TColumnMove::Bottom, 51},
        {"down on the last", 51, TColumnMove::Down, 51},
        {"top", 7, TColumnMove::Top, 0},
        {"up", 7, TColumnMove::Up, 6},
        {"down", 7, TColumnMove::Down, 8},
        {"bottom", 7, TColumnMove::Bottom, 51},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QList<TAddressColumnRec> columns = UserColumns();
        const TAddressColumnRec moved = columns[c.index];
        EXPECT_EQ(MoveAddressColumn(columns, c.index, c.move), c.expectedIndex);
        EXPECT_EQ(columns[c.expectedIndex], moved);
        QList<TAddressColumnRec> others = UserColumns();
        others.removeAt(c.index);
        QList<TAddressColumnRec> rest = columns;
        rest.removeAt(c.expectedIndex);
        EXPECT_EQ(rest, others);
    }
}

TEST(HdrSel, ResetsRestoreShownColumnsOrOrderAlone)
{
    QList<TAddressColumnRec> columns = UserColumns();
    ResetShownColumns(columns);
    EXPECT_EQ(Items(columns), Items(UserColumns()));
    QList<int> defaults;
    for (const TAddressColumnRec& column : DefaultAddressColumns()) {
        if (column.shown)
            defaults.append(column.item);
    }
    EXPECT_EQ(defaults.size(), 8);
    QList<int> shown = ShownItems(columns);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, defaults);

    columns = UserColumns();
    ResetColumnOrder(columns);
    EXPECT_EQ(Items(columns), Items(DefaultAddressColumns()));
    const QList<TAddressColumnRec> user = UserColumns();
    for (const TAddressColumnRec& column : columns) {
        const auto before = std::find_if(user.cbegin(), user.cend(),
                                         [&](const TAddressColumnRec& c) { return c.item == column.item; });
        EXPECT_EQ(column, *before);
    }
}

TEST(HdrSel, DialogRoundTripAndButtons)
{
    FakeAddressList list;
    list.keywordNames = QStringList{"K1", "K2", QString::fromUtf8("趣味")};
    THeaderSelect dialog(nullptr, list);
    const QList<TAddressColumnRec> user = UserColumns();
    dialog.SetColumns(user);
    auto* view = dialog.findChild<QListWidget*>("lvHeader");
    ASSERT_EQ(view->count(), 52);
    EXPECT_EQ(view->currentRow(), 0);
    // Renamed keyword 3 names column item 36.
    const int row36 = int(Items(user).indexOf(36));
    EXPECT_EQ(view->item(row36)->text(), QString::fromUtf8("趣味"));

    // Unchanged, the records come back as they went in.
    QList<TAddressColumnRec> back;
    dialog.GetColumns(back);
    EXPECT_EQ(back, user);

    // "下" moves the focused row and its check; "最上段" on the first row changes nothing.
    view->setCurrentRow(0);
    dialog.findChild<QPushButton*>("btnTop")->click();
    dialog.GetColumns(back);
    EXPECT_EQ(back, user);
    view->item(0)->setCheckState(Qt::Unchecked);
    dialog.findChild<QPushButton*>("btnDown")->click();
    EXPECT_EQ(view->currentRow(), 1);
    dialog.GetColumns(back);
    EXPECT_EQ(back[1].item, user[0].item);
    EXPECT_FALSE(back[1].shown);
    EXPECT_EQ(back[1].width, user[0].width);
    dialog.findChild<QPushButton*>("btnBottom")->click();
    EXPECT_EQ(view->currentRow(), 51);
    dialog.findChild<QPushButton*>("btnUp")->click();
    EXPECT_EQ(view->currentRow(), 50);

    // "並びを戻す" restores the order with every check kept; "表示を戻す" the eight defaults in that order.
    dialog.findChild<QPushButton*>("btnResort")->click();
    dialog.GetColumns(back);
    EXPECT_EQ(Items(back), Items(DefaultAddressColumns()));
    EXPECT_FALSE(back[user[0].item].shown);
    EXPECT_EQ(view->currentRow(), 0);
    dialog.findChild<QPushButton*>("btnReview")->click();
    QList<TAddressColumnRec> reviewed;
    dialog.GetColumns(reviewed);
    EXPECT_EQ(Items(reviewed), Items(back));
    EXPECT_EQ(ShownItems(reviewed), ShownItems(DefaultAddressColumns()));
    EXPECT_EQ(reviewed[10].width, back[10].width);

    dialog.findChild<QPushButton*>("btnAllView")->click();
    dialog.GetColumns(back);
    EXPECT_EQ(ShownItems(back).size(), 52);
}

TEST(HdrSel, CommandTakesTheRecordsBackOnlyOnOk)
{
    FakeAddressList list;
    QList<TAddressColumnRec> columns = UserColumns();
    {
        ModalDriver cancel;
        cancel.on("HeaderSelect", [](QWidget* d) {
            d->findChild<QPushButton*>("btnResort")->click();
            d->findChild<QPushButton*>("btnCancel")->click();
        });
        EXPECT_FALSE(ExecuteHeaderSelect(nullptr, list, columns));
    }
    EXPECT_EQ(columns, UserColumns());
    ModalDriver ok;
    ok.on("HeaderSelect", [](QWidget* d) {
        d->findChild<QPushButton*>("btnResort")->click();
        d->findChild<QPushButton*>("btnOK")->click();
    });
    EXPECT_TRUE(ExecuteHeaderSelect(nullptr, list, columns));
    EXPECT_EQ(Items(columns), Items(DefaultAddressColumns()));
}

TEST(HdrSel, OkNeedsOneShownColumn)
{
    MessageRecorder messages;
    FakeAddressList list;
    THeaderSelect dialog(nullptr, list);
    QList<TAddressColumnRec> columns = DefaultAddressColumns();
    for (TAddressColumnRec& column : columns)
        column.shown = false;
    dialog.SetColumns(columns);
    bool stayedOpen = false;
    messages.answer(MsgSeam::IdOk);
    const int result = RunModal(dialog, [&](QDialog& d) {
        auto* ok = d.findChild<QPushButton*>("btnOK");
        ok->click();
        stayedOpen = d.isVisible();
        d.findChild<QListWidget*>("lvHeader")->item(5)->setCheckState(Qt::Checked);
        ok->click();
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("表示する項目は１つ以上選択してください  "));
    EXPECT_EQ(result, QDialog::Accepted);
    QList<TAddressColumnRec> back;
    dialog.GetColumns(back);
    EXPECT_EQ(ShownItems(back), QList<int>{5});

    // Cancel hands nothing back: the caller keeps its records.
    EXPECT_EQ(RunModal(dialog, [](QDialog& d) { d.findChild<QPushButton*>("btnCancel")->click(); }),
              QDialog::Rejected);
}

TEST(HdrSel, RowsLeaveRoomBetweenTheCheckBoxes)
{
    FakeAddressList list;
    THeaderSelect dialog(nullptr, list);
    dialog.SetColumns(DefaultAddressColumns());
    dialog.show();
    auto* view = dialog.findChild<QListWidget*>("lvHeader");
    ASSERT_TRUE(view);
    const QRect first = view->visualItemRect(view->item(0));
    const QRect second = view->visualItemRect(view->item(1));
    EXPECT_GE(second.top() - first.bottom(), 3);
}

} // namespace
