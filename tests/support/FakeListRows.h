// A scripted address list for the windows that work on its rows: shown rows by RecNo and which are selected.
#pragma once

#include "addressbook/AdrsListRows.h"

#include <QList>
#include <QSet>

#include <algorithm>

struct FakeListRows : TAddressListRows
{
    QList<int> recNos;  // shown rows in display order
    QSet<int> selected; // indexes

    static FakeListRows ofCount(int n)
    {
        FakeListRows rows;
        for (int i = 0; i < n; ++i)
            rows.recNos.append(100 + i);
        return rows;
    }

    int GetRecordCount() const override { return int(recNos.size()); }
    int GetSelectedCount() const override { return int(selected.size()); }
    int GetFirstSelectedIndex() const override
    {
        return selected.isEmpty() ? -1 : *std::min_element(selected.begin(), selected.end());
    }
    int GetLastSelectedIndex() const override
    {
        return selected.isEmpty() ? -1 : *std::max_element(selected.begin(), selected.end());
    }
    bool IsSelected(int index) const override { return selected.contains(index); }
    int GetRecNo(int index) const override
    {
        return index >= 0 && index < recNos.size() ? recNos[index] : -1;
    }
};
