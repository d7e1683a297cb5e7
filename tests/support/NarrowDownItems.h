// Builders of narrowing tests (one item of a narrowing condition) for the list and search tests.
#pragma once

#include "addressbook/NarrowDown.h"

// A text test; an empty text tests nothing.
inline TNarrowDownItem TextItem(int row, const AnsiString& text, int condition)
{
    TNarrowDownItem item;
    item.item = row;
    item.kind = TNarrowDownItem::TextTest;
    item.text = text;
    item.condition = text.isEmpty() ? TNarrowDownItem::NotUsed : condition;
    return item;
}

// A choice, year-month range or category test.
inline TNarrowDownItem ValueItem(int row, int kind, int value1, int value2 = 0, bool negate = false)
{
    TNarrowDownItem item;
    item.item = row;
    item.kind = kind;
    item.value1 = value1;
    item.value2 = value2;
    item.negate = negate;
    return item;
}
