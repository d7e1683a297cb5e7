// The 81 destination items of the text import and the column mapping edited in the import window.
#pragma once

#include "platform/Cp932.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

inline constexpr int ImportItemCount = 81;
inline constexpr int ImportPartCount = 9;

// Items of the table that the run refers to by number.
namespace ImportItem {
inline constexpr int CustomCode = 2;
inline constexpr int Address = 10;
inline constexpr int Note = 63;
inline constexpr int ProtectNote = 74;
inline constexpr int ExtLink = 75;
} // namespace ImportItem

struct TImportItemDef
{
    const char* caption;           // empty for the keyword and protected-memo items (user names)
    const char* field;             // the Adrs.DB field the item becomes
    int constantMax;               // longest constant in bytes; 0: no limit
    std::array<const char*, 8> aliases; // accepted header texts in the order tried (nullptr ends)
};

// Item n (1..81).
const TImportItemDef& ImportItemTable(int item);
// The row caption: keyword items 55..62 and memo items 64..73 show the user's names.
QString ImportItemCaption(int item, const QStringList& keywordNames, const QStringList& memoNames);
// Header texts the automatic mapping accepts for the item (item 10 without its first round "都道府県").
QStringList ImportHeaderAliases(int item, const QStringList& keywordNames, const QStringList& memoNames);
// Items 18, 41..45 and 64..74: mapped only in administrator mode.
bool IsProtectedImportItem(int item);

// One part of an item: nothing, a file column (Blank: its first-line text was empty) or a constant.
struct TImportPartSpec
{
    enum Kind { Empty, Column, BlankColumn, Constant };
    Kind kind = Empty;
    int column = -1;
    friend bool operator==(const TImportPartSpec&, const TImportPartSpec&) = default;
};

// Which buttons of the mapping are usable for the selected item.
struct TImportPartButtons
{
    bool setVisible = true; // "セット" shown; otherwise "追加"
    bool add = false;       // "追加" and "固定値"
    bool remove = false;    // "削除" and "行クリア"
    bool up = false;
    bool down = false;
    bool allClear = false;
    friend bool operator==(const TImportPartButtons&, const TImportPartButtons&) = default;
};

// The mapping: per item up to nine parts, filled from part 1 without a gap, each with its cell text.
class TImportMapping
{
public:
    const TImportPartSpec& Spec(int item, int part) const { return m_specs[idx(item, part)]; }
    const QString& CellText(int item, int part) const { return m_cells[idx(item, part)]; }
    bool IsSet(int item) const { return Spec(item, 1).kind != TImportPartSpec::Empty; }
    bool AnySet() const;
    // First empty part (1..9), 0 when all nine are filled.
    int FirstEmptyPart(int item) const;

    // The file column's first-line text becomes the part; a blank one (or "") shows as 項目<n>.
    void SetPart(int item, int part, int column, const AnsiString& firstLineText);
    // Into the first empty part; false when all nine are filled.
    bool AddColumn(int item, int column, const AnsiString& firstLineText);
    bool AddConstant(int item, const QString& constant);
    void DeleteLast(int item);
    void ClearRow(int item);
    void ClearAll();
    // Exchanges the item's parts with the neighbour's; false when it may not move.
    bool MoveUp(int item);
    bool MoveDown(int item);

    // First file column whose first-line text matches an accepted text fills the first empty part.
    void AutoMapItem(int item, const QList<AnsiString>& firstLineFields, const QStringList& accepted);
    // All items in order, item 10 in two rounds; the mapping is cleared first.
    void AutoSetAll(const QList<AnsiString>& firstLineFields, const QStringList& keywordNames,
                    const QStringList& memoNames);

    TImportPartButtons Buttons(int item) const;

private:
    static int idx(int item, int part) { return (item - 1) * ImportPartCount + (part - 1); }
    void put(int item, int part, TImportPartSpec spec, QString text);
    void swapRows(int a, int b);

    std::array<TImportPartSpec, ImportItemCount * ImportPartCount> m_specs{};
    std::array<QString, ImportItemCount * ImportPartCount> m_cells{};
};

// The cell text of a file column: the trimmed first-line text, or 項目<n> (red) when it is blank.
TImportPartSpec ColumnPartSpec(int column, const AnsiString& firstLineText, QString* cellText);
