// The record range of the output windows: bounds, entries, count, the list's hook and the walk.
#include "dataexchange/RecordRange.h"

#include "support/FakeListRows.h"
#include "platform/IniFile.h"
#include "support/FakeAdrsRow.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

TRecordRange Stored(int select, int begin, int end)
{
    TRecordRange r;
    r.DataSelect = select;
    r.BeginPos = begin;
    r.EndPos = end;
    return r;
}

} // namespace

TEST(RecordRangeTest, StoredPositionsAreFittedToTheShownRows)
{
    struct Case
    {
        int shown, begin, end;
        int wantBegin, wantEnd, wantMin;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0},    // empty list: 0..0, bounds 0..0
        {10, 0, 0, 1, 10, 1},  // the defaults give 1..n
        {10, 5, 3, 1, 3, 1},   // crossing: the begin gives way
        {10, 2, 50, 2, 10, 1}, // beyond the list: the end is the last row
        {10, -4, 7, 1, 7, 1},  {10, 11, 12, 1, 10, 1},
    };
    for (const Case& c : cases) {
        TRecordRange r = Stored(dsRange, c.begin, c.end);
        r.Fit(c.shown);
        EXPECT_EQ(r.BeginPos, c.wantBegin) << c.shown << " " << c.begin << ".." << c.end;
        EXPECT_EQ(r.EndPos, c.wantEnd) << c.shown << " " << c.begin << ".." << c.end;
        EXPECT_EQ(r.BeginMin, c.wantMin);
        EXPECT_EQ(r.EndMax, c.shown);
    }
}

TEST(RecordRangeTest, StoredChoiceOutsideItsValuesReadsAsTheSelection)
{
    QTemporaryDir dir;
    TMemIniFile ini(dir.filePath("Quenrid215.ini"));
    for (const auto& [stored, want] : {std::pair{"2", 2}, {"1", 1}, {"3", 0}, {"-1", 0}, {"x", 0}}) {
        ini.WriteString("FILE EXPORT", "DataSelect", QString::fromLatin1(stored));
        ini.WriteString("FILE EXPORT", "BeginPos", "x");
        TRecordRange r;
        r.ReadSettings(ini, "FILE EXPORT");
        EXPECT_EQ(r.DataSelect, want) << stored;
        EXPECT_EQ(r.BeginPos, 0);
    }
}

TEST(RecordRangeTest, BadEntriesAreRefusedAndCrossingMovesTheOtherEnd)
{
    TRecordRange r = Stored(dsRange, 3, 8);
    r.Fit(20);
    r.BeginOnEnter = 3;
    for (const char* bad : {"0", "-1", "1a", "   ", "", "21", "１２"}) {
        EXPECT_FALSE(r.TakeBeginText(QString::fromUtf8(bad))) << bad;
        EXPECT_EQ(r.BeginPos, 3) << bad;
    }
    EXPECT_TRUE(r.TakeBeginText(" 12 "));
    EXPECT_EQ(r.BeginPos, 12);
    EXPECT_EQ(r.EndPos, 12);
    r.EndOnEnter = 12;
    EXPECT_TRUE(r.TakeEndText("4"));
    EXPECT_EQ(r.BeginPos, 4);
    EXPECT_EQ(r.EndPos, 4);
}

TEST(RecordRangeTest, StepsAreClampedToTheBounds)
{
    TRecordRange r = Stored(dsRange, 95, 100);
    r.Fit(100);
    EXPECT_TRUE(r.StepBegin(10));
    EXPECT_EQ(r.BeginPos, 100);
    EXPECT_FALSE(r.StepBegin(1));
    r.SetBegin(4);
    EXPECT_TRUE(r.StepBegin(-10));
    EXPECT_EQ(r.BeginPos, 1);
    EXPECT_TRUE(r.StepEnd(-99));
    EXPECT_EQ(r.EndPos, 1);
}

TEST(RecordRangeTest, CountFollowsTheChoiceAndTheListHookKeepsATypedRange)
{
    FakeListRows rows = FakeListRows::ofCount(10);
    rows.selected = {1, 4};
    TRecordRange r = Stored(dsList, 0, 0);
    r.Fit(rows.GetRecordCount());
    EXPECT_EQ(r.Count(rows), 2);
    r.DataSelect = dsAll;
    EXPECT_EQ(r.Count(rows), 10);
    r.DataSelect = dsRange;
    r.SetBegin(3);
    r.SetEnd(5);
    EXPECT_EQ(r.Count(rows), 3);

    r.ListChanged(10); // the same number of rows: the typed range stays
    EXPECT_EQ(r.Count(rows), 3);
    rows = FakeListRows::ofCount(6);
    r.ListChanged(6);
    EXPECT_EQ(r.BeginPos, 1);
    EXPECT_EQ(r.EndPos, 6);
    rows = FakeListRows();
    r.ListChanged(0);
    EXPECT_EQ(r.BeginPos, 0);
    EXPECT_EQ(r.EndPos, 0);
    for (int choice : {dsList, dsRange, dsAll}) {
        r.DataSelect = choice;
        EXPECT_EQ(r.Count(rows), 0) << choice;
    }
}

TEST(RecordRangeTest, TheWalkVisitsTheChosenRowsInListOrderAndSkipsVanishedOnes)
{
    FakeListRows rows = FakeListRows::ofCount(12);
    rows.selected = {9, 3, 7};
    FakeAdrsRow cursor;
    for (int recNo : rows.recNos)
        if (recNo != 105) // row 5 was deleted meanwhile
            cursor.addRow(recNo, {{"RecNo", recNo}});
    const auto walk = [&](const TRecordRange& r) {
        QList<int> seen;
        WalkRecordRange(r, rows, cursor, [&] {
            seen.append(cursor.FieldInt("RecNo"));
            return true;
        });
        return seen;
    };
    EXPECT_EQ(walk(Stored(dsList, 0, 0)), (QList<int>{103, 107, 109}));
    EXPECT_EQ(walk(Stored(dsRange, 4, 7)), (QList<int>{103, 104, 106}));
    EXPECT_EQ(walk(Stored(dsAll, 0, 0)).size(), 11);
    rows.selected.clear();
    EXPECT_TRUE(walk(Stored(dsList, 0, 0)).isEmpty());
}

TEST(RecordRangeTest, TheGroupEnablesTheRangeOnlyForItsChoiceAndUndoesBadEntries)
{
    FakeListRows rows = FakeListRows::ofCount(10);
    rows.selected = {2};
    TRecordRangeGroup group(nullptr, "出力データの選択", "出力データ件数：");
    int reported = -1;
    QObject::connect(&group, &TRecordRangeGroup::targetCountChanged, [&](int n) { reported = n; });
    group.InitDataRange(Stored(dsRange, 5, 3), rows);
    auto* begin = group.findChild<QLineEdit*>("edtRangeBegin");
    auto* end = group.findChild<QLineEdit*>("edtRangeEnd");
    EXPECT_TRUE(begin->isEnabled());
    EXPECT_EQ(begin->text(), "1");
    EXPECT_EQ(end->text(), "3");
    EXPECT_EQ(group.findChild<QLabel*>("lblDataCount")->text(), "3 件");
    EXPECT_EQ(reported, 3);

    // A bad entry silently shows the value from entering again.
    QFocusEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(begin, &in);
    begin->setText("1a");
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(begin, &out);
    EXPECT_EQ(begin->text(), "1");

    group.findChild<QRadioButton*>("rbList")->setChecked(true);
    EXPECT_FALSE(begin->isEnabled());
    EXPECT_FALSE(group.findChild<QWidget*>("udRangeEnd")->isEnabled());
    EXPECT_EQ(reported, 1);
    rows.selected = {2, 3, 8};
    group.UpdateDataRange();
    EXPECT_EQ(group.findChild<QLabel*>("lblDataCount")->text(), "3 件");
}
