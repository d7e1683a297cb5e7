// The items of the text export and the column layout: which items fill which column, in which order, kept
// as the keys Layout1..Layout150.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class TMemIniFile;

struct TExportItemDef
{
    const char* caption; // UTF-8; empty for the items named by the user
    bool isProtected;    // leaves the program only enciphered, and only in administrator mode
};

inline constexpr int ExportItemCount = 85;
inline constexpr int MaxExportEntries = 150;
extern const std::array<TExportItemDef, ExportItemCount> ExportItemTable;

// Items 54-61 take the user's keyword names, 63-72 the protected memos' names (empty when unnamed).
QString ExportItemCaption(int item, const QStringList& keywordNames, const QStringList& protectMemoNames);
bool IsProtectedExportItem(int item);

// One chosen item: it starts column Column (1, 2, ...) or, with Column 0, joins the column before it.
struct TExportEntry
{
    int Column = 0;
    int Item = 0;
    friend bool operator==(const TExportEntry&, const TExportEntry&) = default;
};

// The ordered entries. The first entry starts a column; column numbers run 1, 2, 3, ... without gaps; at
// most MaxExportEntries entries. Rows are entry indexes; row Count() is the empty last row of the grid.
class TExportLayout
{
public:
    const QList<TExportEntry>& Entries() const { return m_entries; }
    int Count() const { return int(m_entries.size()); }
    bool IsEmpty() const { return m_entries.isEmpty(); }
    bool IsFull() const { return Count() >= MaxExportEntries; }
    bool HasProtectedItem() const;

    // Layout1, Layout2, ... up to the first missing or empty key; parts that are no item number are skipped.
    void Load(const TMemIniFile& ini, const QString& section);
    // Removes Layout1..Layout150, then writes one key per column.
    void Save(TMemIniFile& ini, const QString& section) const;

    // A new column with item before row (at the end for the empty last row); false when full.
    bool Set(int row, int item);
    // item joined after row (at the end for the empty last row); the new row, or -1 when full or empty.
    int Join(int row, int item);
    // Every item in index order, each its own column.
    void SetAll();
    // Removes the entry of row (the last one for the empty last row); the removed row, -1 when empty.
    int Delete(int row);
    void Clear() { m_entries.clear(); }
    // Moves the entry of row up or down; answers the row the selection goes to.
    int Up(int row);
    int Down(int row);
    bool CanUp(int row) const;
    bool CanDown(int row) const;

private:
    void Renumber();

    QList<TExportEntry> m_entries;
};
