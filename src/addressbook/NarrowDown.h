// Narrowing conditions of the address list: the types, the test of one row, and the "Search.lst" codec.
#pragma once

#include "addressbook/Inquiry.h"

#include <QList>

class QDataStream;
class QWidget;

// One test on one item of the narrowing table.
struct TNarrowDownItem
{
    enum Kind : qint32 { TextTest = 0, FixedChoice = 1, YearMonthRange = 11, Category = 12 };
    enum Match : qint32 { NotUsed = -1, BeginsWith = 0, Contains = 1, EndsWith = 2 };

    qint32 item = 0; // row of NarrowDownItemTable
    qint32 kind = TextTest;
    AnsiString text;   // text test; the Unicode name rows hold the "@" form
    qint32 value1 = 0; // choice index, lower year-month, or category major * 100 + minor
    qint32 value2 = 0; // upper year-month
    qint32 condition = NotUsed;
    bool negate = false; // "以外を検索": inverts a fixed-choice or category test

    friend bool operator==(const TNarrowDownItem&, const TNarrowDownItem&) = default;
};

// Up to ten tests joined by AND (all must match) or OR (one suffices). No items: no narrowing.
struct TNarrowDownCondition
{
    QList<TNarrowDownItem> items;
    bool andFlag = true;

    void clear()
    {
        items.clear();
        andFlag = true;
    }
    friend bool operator==(const TNarrowDownCondition&, const TNarrowDownCondition&) = default;
};

// The kind of test a row of the narrowing table takes.
qint32 NarrowDownKindOfRow(int row);

// What the row test needs besides the row.
struct TNarrowDownContext
{
    bool disabled = false;         // actDisableSearch is checked
    bool adminPasswordSet = false; // AdminPassword is not empty
    bool adminMode = false;
    // DecryptFieldText with the field key; answers empty for cipher text it cannot read.
    std::function<AnsiString(const AnsiString&)> decipher;
};

// Finds sub in text at a character boundary, walking whole double-byte characters; -1 when absent.
qsizetype AnsiPosAtBoundary(const AnsiString& sub, const AnsiString& text);

// The result of one item on the row; only the fields that the item needs are read.
bool NarrowDownItemMatches(const TNarrowDownItem& item, const TAdrsRow& row,
                           const TNarrowDownContext& context);
// Whether the row passes the condition (AND stops at the first failure, OR at the first match).
bool MatchesNarrowDown(const TNarrowDownCondition& condition, const TAdrsRow& row,
                       const TNarrowDownContext& context);

// The condition's bytes: count, item blocks, AND flag. Shared with the saved patterns. Items are written
// as they are, also those the row test cannot evaluate; false (nothing written) when a value does not fit
// its byte.
bool WriteNarrowDownCondition(QDataStream& out, const TNarrowDownCondition& condition);
// Reads one condition; false on a short read or a text length beyond the data. Items the row test cannot
// evaluate (an unknown item number or kind, a kind that does not fit its item, a condition out of range)
// are kept as read: they never match, and a rewrite keeps them.
bool ReadNarrowDownCondition(QDataStream& in, TNarrowDownCondition& condition);

inline constexpr const char* NarrowDownFileName = "Search.lst";

// Loads the condition in force from the file. A missing file or damaged content leaves the condition
// empty and answers false; true means the file was read whole (also with zero items).
bool LoadNarrowDownFile(const QString& fileName, TNarrowDownCondition& condition);
// Writes the condition in force, or deletes the file when it has no item. The file is replaced
// atomically; on failure the old file stays and "絞り込み条件が保存できませんでした  " is shown over owner.
bool SaveNarrowDownFile(const QString& fileName, const TNarrowDownCondition& condition, QWidget* owner);
