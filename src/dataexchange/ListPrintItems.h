// The items a printed list can show, its column layout with the three comma lists that store it, and the
// named layouts (templates) of "LstPrint.tpl" and "LPCustom.tpl" with the rules for saving and deleting them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class TMemIniFile;

inline constexpr int ListPrintItemCount = 65;
inline constexpr int MaxListPrintColumns = 100;
inline constexpr int MaxListPrintTemplates = 10;

struct TListPrintItemDef
{
    const char* caption; // UTF-8; empty for the items named by the user
    int width;           // half-width characters
    int align;           // 0 left, 1 centre, 2 right
    const char* heading; // null: the caption, trimmed
};
extern const std::array<TListPrintItemDef, ListPrintItemCount> ListPrintItemTable;

// One entry of the window's catalogue.
struct TItemFormat
{
    QString Caption;
    int Width = 0;
    int Align = 0;
};
using TItemCatalogue = QList<TItemFormat>;

// The table with the user's names for the keyword items (36-43) and the protected memos (45-54).
TItemCatalogue BuildItemTable(const QStringList& keywordNames, const QStringList& protectMemoNames);
// Printed above a column; empty for item 0.
QString ListPrintHeading(int item, const TItemCatalogue& catalogue);
// My Number, the joint My Numbers, the protected memos and the protected free memo.
bool IsProtectedListItem(int item);

struct ListPrintColumn
{
    int ItemNo = 0;
    int Width = 1; // 1..999
    int Align = 0; // 0..2
    friend bool operator==(const ListPrintColumn&, const ListPrintColumn&) = default;
};
using TListPrintColumns = QList<ListPrintColumn>;

bool HasProtectedColumn(const TListPrintColumns& columns);

// The columns of the three lists: nullopt when one is empty, their comma counts differ, there are more than
// 100 entries or an entry is not a number. Items outside 0..64 and repeats of an item other than 0 are
// dropped; widths are clamped to 1..999 and alignments to 0..2.
std::optional<TListPrintColumns> ParseListPrintColumns(const QString& itemNo, const QString& itemSize,
                                                       const QString& itemAlign);
// The three lists of a layout: item numbers, widths, alignments.
std::array<QString, 3> ListPrintColumnKeys(const TListPrintColumns& columns);

// The catalogue item an address-list column item (0..51) shows; -1 outside.
int ListPrintItemOfListColumn(int columnItem);
// One column per shown address-list column, with each item's default width and alignment.
TListPrintColumns ListColumnsLayout(const QList<int>& shownColumnItems, const TItemCatalogue& catalogue);

struct TListPrintTemplate
{
    QString Name;
    TListPrintColumns Columns;
};
using TListPrintTemplates = QList<TListPrintTemplate>;

// Appends the readable sections of a template file, in file order, while target holds fewer than 10.
void ReadTemplateFile(const QString& path, TListPrintTemplates& target);
void ReadTemplates(const TMemIniFile& ini, TListPrintTemplates& target);
// The templates as the text of a template file (CP932, CR LF).
QByteArray TemplateFileBytes(const TListPrintTemplates& templates);

inline const QString LastLayoutTemplateName = QStringLiteral("前回のレイアウト");
inline const QString ListLayoutTemplateName = QStringLiteral("アドレス帳一覧のレイアウト");

// The two template lists of the window: the standard list ("オリジナル") and the custom list ("カスタム"),
// which starts with the built-in templates "前回のレイアウト" (when a layout was saved) and
// "アドレス帳一覧のレイアウト", followed by the user's templates.
class TListPrintTemplateStore
{
public:
    enum TSaveResult { SaveReplaced, SaveAdded, SaveNoName, SaveReservedName, SaveOtherExists, SaveFull };
    enum TDeleteResult { Deleted, DeleteReservedName, DeleteNotFound };

    TListPrintTemplates Standard;
    TListPrintTemplates Custom;
    bool HasLastLayout = false;

    // Reads both files and puts the built-in templates in front.
    void Load(const QString& standardFile, const QString& customFile, const TListPrintColumns& listColumns,
              const TListPrintColumns& lastLayout);
    int BuiltInCount() const { return HasLastLayout ? 2 : 1; }
    int UserCount() const { return int(Custom.size()) - BuiltInCount(); }
    int ListLayoutIndex() const { return HasLastLayout ? 1 : 0; }
    bool CanSave() const { return UserCount() < MaxListPrintTemplates; }
    bool IsBuiltIn(int customIndex) const { return customIndex >= 0 && customIndex < BuiltInCount(); }
    int IndexOf(const QString& name) const;

    // Saves columns under name (trimmed): replaces the template of that name when it is the one at
    // selectedIndex of the custom list, else appends a new one.
    TSaveResult Save(const QString& name, int selectedIndex, const TListPrintColumns& columns);
    // The custom-list index of the user template name (trimmed) names, for deleting it.
    TDeleteResult FindForDelete(const QString& name, int& index) const;
    // The user's templates as "LPCustom.tpl" holds them.
    QByteArray CustomFileBytes() const;
    bool WriteCustomFile(const QString& path, QString* error) const;
};
