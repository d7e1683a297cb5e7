// Tests of the sortable list view: sort state from clicks and setters, divider events, owner data.
#include "core/TntSortListView.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace {

struct SortLog
{
    std::vector<std::pair<int, int>> changes;
    std::vector<int> clicks;
    void attach(TCustomSortListView& v)
    {
        v.OnSortChange = [this](TCustomSortListView*, int o, int n) { changes.emplace_back(o, n); };
        v.OnColumnClick = [this](TCustomSortListView*, int c) { clicks.push_back(c); };
    }
};

std::vector<TListColumn> threeColumns()
{
    return {{"名前", 120, Qt::AlignLeft}, {"電話", 90, Qt::AlignRight}, {"住所", 150, Qt::AlignHCenter}};
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The x of the divider at the right edge of a column, in header viewport coordinates.
int dividerX(TSortHeader* h, int column)
{
    return h->sectionViewportPosition(column) + h->sectionSize(column) - 1;
}

} // namespace

TEST(SortListView, ClickOnSortColumnCyclesAllowedDirections)
{
    struct Case
    {
        TSortDirs dirs;
        std::vector<TSortDir> afterClicks; // direction after each click on column 0
        size_t sortChanges;
    } cases[] = {
        {{sdAsc, sdDesc}, {sdDesc, sdAsc, sdDesc}, 3},
        {{sdAsc, sdDesc, sdNone}, {sdDesc, sdNone, sdAsc}, 3},
        {{sdAsc}, {sdAsc, sdAsc}, 0},
        {{sdDesc, sdNone}, {sdNone, sdDesc}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sortChanges);
        TTntSortListView view;
        view.SetColumns(threeColumns());
        view.SetSortDirs(c.dirs);
        SortLog log;
        log.attach(view);
        for (TSortDir expected : c.afterClicks) {
            view.ColumnClick(0);
            EXPECT_EQ(view.SortDir(), expected);
        }
        EXPECT_EQ(log.changes.size(), c.sortChanges);
        for (auto& change : log.changes)
            EXPECT_EQ(change, std::make_pair(0, 0));
        // The list's own click event is raised every time, also when nothing changed.
        EXPECT_EQ(log.clicks.size(), c.afterClicks.size());
    }
}

TEST(SortListView, ClickOnOtherColumnTakesFirstAllowedDirection)
{
    TSortListView view;
    view.SetColumns(threeColumns());
    view.SetSortDirs({sdDesc, sdNone});
    ASSERT_EQ(view.SortDir(), sdDesc);
    view.SetSortDir(sdNone);
    SortLog log;
    log.attach(view);
    view.ColumnClick(2);
    EXPECT_EQ(view.SortIndex(), 2);
    EXPECT_EQ(view.SortDir(), sdDesc);
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.changes[0], std::make_pair(0, 2));
}

TEST(SortListView, SettersKeepStateConsistent)
{
    TSortListView view;
    view.SetColumns(threeColumns());
    SortLog log;
    log.attach(view);

    view.SetSortIndex(2);
    view.SetSortDir(sdDesc);
    EXPECT_EQ(view.SortDir(), sdDesc);
    view.SetSortIndex(3); // not below the column count
    EXPECT_EQ(view.SortIndex(), 0);
    EXPECT_EQ(view.SortDir(), sdAsc);
    view.SetSortIndex(-4);
    EXPECT_EQ(view.SortIndex(), 0);
    view.SetSortDir(sdNone); // not allowed
    EXPECT_EQ(view.SortDir(), sdAsc);
    const std::vector<std::pair<int, int>> expected{{0, 2}, {2, 2}, {2, 0}};
    EXPECT_EQ(log.changes, expected);

    view.SetSortDirs({});
    EXPECT_TRUE(view.SortDirs().Contains(sdAsc) && view.SortDirs().Contains(sdDesc));
    view.SetSortDirs({sdDesc});
    EXPECT_EQ(view.SortDir(), sdDesc);
    EXPECT_EQ(log.changes.back(), std::make_pair(0, 0));
}

TEST(SortListView, HeaderClickSortsAndShowsArrow)
{
    TSortListView view;
    view.SetColumns(threeColumns());
    view.resize(400, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    SortLog log;
    log.attach(view);
    TSortHeader* h = view.Header();
    const QPoint middleOfSecond(h->sectionViewportPosition(1) + 40, h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, middleOfSecond);
    EXPECT_EQ(view.SortIndex(), 1);
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.clicks, std::vector<int>{1});

    // The arrow is drawn in the right part of the sort column's header.
    const QImage image = h->grab().toImage();
    const QImage arrow = view.ArrowImage(0).toImage();
    bool found = false;
    const int x0 = h->sectionViewportPosition(1);
    for (int y = 0; y + 11 <= image.height() && !found; ++y)
        for (int x = x0; x + 11 <= x0 + h->sectionSize(1) && !found; ++x)
            found = image.pixelColor(x + 5, y + 3) == arrow.pixelColor(5, 3) &&
                    image.pixelColor(x + 5, y + 8) == arrow.pixelColor(5, 8) &&
                    image.pixelColor(x + 1, y + 3) != arrow.pixelColor(5, 3);
    EXPECT_TRUE(found);
}

TEST(SortListView, DividerDragReportsOneWidthChange)
{
    TSortListView view;
    view.SetColumns(threeColumns());
    view.resize(500, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    TSortHeader* h = view.Header();
    QWidget* vp = h->viewport();
    std::vector<std::pair<int, int>> widths;
    int downs = 0, ups = 0;
    view.OnColumnWidthChange = [&](TCustomSortListView*, int c, int w) { widths.emplace_back(c, w); };
    view.OnDividerMouseDown = [&](TCustomSortListView*, int c) { downs += c == 0; };
    view.OnDividerMouseUp = [&](TCustomSortListView*, int c) { ups += c == 0; };

    const int y = h->height() / 2;
    int x = dividerX(h, 0);
    ASSERT_EQ(h->DividerAt({x, y}), 0);
    sendMouse(vp, QEvent::MouseButtonPress, {x, y}, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 3; ++step)
        sendMouse(vp, QEvent::MouseMove, {x + 10 * step, y}, Qt::NoButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseButtonRelease, {x + 30, y}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view.ColumnWidth(0), 150);
    EXPECT_EQ(widths, (std::vector<std::pair<int, int>>{{0, 150}}));
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(ups, 1);

    // A drag that ends where it began reports nothing, and later width changes are reported again.
    widths.clear();
    x = dividerX(h, 0);
    sendMouse(vp, QEvent::MouseButtonPress, {x, y}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseButtonRelease, {x, y}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(widths.empty());
    EXPECT_EQ(h->DragWidth(), -1);
    int changingTo = -1;
    view.OnColumnWidthChanging = [&](TCustomSortListView*, int, int w, bool&) { changingTo = w; };
    view.SetColumnWidth(1, 60);
    EXPECT_EQ(changingTo, 60);
    EXPECT_EQ(widths, (std::vector<std::pair<int, int>>{{1, 60}}));
}

TEST(SortListView, DividerDoubleClickIsLeftToOwner)
{
    TSortListView view;
    view.SetColumns(threeColumns());
    view.Items()->AddItem({"とても長い会社名が入っている行です", "03", "東京"});
    view.resize(500, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    TSortHeader* h = view.Header();
    std::vector<int> dbl;
    view.OnDividerDblClick = [&](TCustomSortListView*, int c) { dbl.push_back(c); };
    const QPoint at(dividerX(h, 0), h->height() / 2);
    QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(dbl, std::vector<int>{0});
    EXPECT_EQ(view.ColumnWidth(0), 120);
}

TEST(SortListView, OwnerDataMakesTextsOnFirstDisplayAndRefreshDropsThem)
{
    TTntSortListView view;
    view.SetColumns(threeColumns());
    TListViewModel* items = view.Items();
    items->SetOwnerData(true);
    int made = 0;
    QString suffix = "a";
    items->SetTextProvider([&](int, qint64 key) {
        ++made;
        return QStringList{QString::number(key) + suffix, "x", "y"};
    });
    std::vector<qint64> keys(100000);
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = qint64(i) * 7;
    items->SetKeys(keys);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.grab(); // paint once

    EXPECT_GT(made, 0);
    EXPECT_LT(made, 200); // only the rows on screen
    EXPECT_TRUE(items->HasTexts(0));
    EXPECT_FALSE(items->HasTexts(99999));
    const int afterFirstPaint = made;
    view.grab();
    EXPECT_EQ(made, afterFirstPaint); // texts are kept
    EXPECT_EQ(items->Text(3, 0), "21a");

    suffix = "b";
    items->Refresh();
    EXPECT_FALSE(items->HasTexts(3));
    EXPECT_EQ(items->Text(3, 0), "21b");
    EXPECT_EQ(items->Key(99999), 699993);
}
