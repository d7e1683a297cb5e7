// A scripted address list for the list's dialogs: names, history lists, categories and shown rows.
#pragma once

#include "addressbook/AdrsListView.h"
#include "support/AnsiText.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>

class FakeAddressList : public TAddressListView
{
public:
    QStringList keywordNames;
    QHash<int, QList<AnsiString>> histories;

    // Shown rows: the texts of each, or nothing for a record that has vanished.
    QList<std::optional<QStringList>> rows;
    int focused = -1;
    int selected = -1;
    QList<int> visited;

    QStringList KeywordNames() const override { return keywordNames; }
    QList<AnsiString> HistoryEntries(int narrowRow) const override { return histories.value(narrowRow); }
    int GetRecordCount() const override { return int(rows.size()); }
    int GetFocusedIndex() const override { return focused; }
    std::optional<QStringList> WordSearchTexts(int index) override
    {
        visited.append(index);
        return rows.value(index);
    }
    void SelectIndex(int index, bool clearOthers, bool makeVisible) override
    {
        EXPECT_TRUE(clearOthers);
        EXPECT_TRUE(makeVisible);
        selected = index;
        focused = index;
    }
};
