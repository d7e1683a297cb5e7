// What the address list's tool dialogs need from the address list and the program around it.
#pragma once

#include "platform/Cp932.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// The address list as its narrowing, word-search, duplicate and column dialogs see it.
class TAddressListView
{
public:
    virtual ~TAddressListView() = default;

    // ---- names and lists the dialogs show ----
    // The user's names of keywords 1 to 8 (a missing name falls back to the fixed caption).
    virtual QStringList KeywordNames() const = 0;
    // Entries of the input-history list behind a narrowing row (12 department, 13 post, 29-31 keywords
    // 6-8), in list order; empty for other rows.
    virtual QList<AnsiString> HistoryEntries(int narrowRow) const = 0;

    // ---- the shown rows, for the word search ----
    virtual int GetRecordCount() const = 0;
    // Index of the focused row; -1 when none.
    virtual int GetFocusedIndex() const = 0;
    // The texts of the list-view columns of one row as the word search sees them (masked numbers and
    // the symbol column empty); nothing when the row's record has vanished from the table.
    virtual std::optional<QStringList> WordSearchTexts(int index) = 0;
    virtual void SelectIndex(int index, bool clearOthers, bool makeVisible) = 0;
};

// A message box of the address list's dialogs, centred over its owner (caption "Tovarel").
int ListToolMessage(QWidget* owner, const QString& text, unsigned flags);
