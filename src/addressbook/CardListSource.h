// The list a record card walks: the address list or a directory search window, behind one interface.
#pragma once

#include "addressbook/Inquiry.h"

#include "DirRecords.h"

#include <cstring>

// Kinds of list source, as the card stores them.
inline constexpr int lsNameAdrsSearch = 0;
inline constexpr int lsAddressList = 1;
inline constexpr int lsCategorySearch = 2;

enum TCardMove { cmFirst = 0, cmPrior = 1, cmNext = 2, cmLast = 3 };

// One item read from a list: an address record (the address list) or a directory entry (the searches).
struct TCardItem
{
    bool isDirectory = false;
    TAdrsDataRec address;
    TDirDetailRec directory;

    TCardItem() { std::memset(&directory, 0, sizeof directory); }
};

class TCardListSource
{
public:
    virtual ~TCardListSource() = default;

    // Items the list shows (after its narrowing) and its current one (-1 none).
    virtual int GetItemCount() const = 0;
    virtual int GetCurrentIndex() const = 0;
    virtual void SetCurrentIndex(int index) = 0;
    virtual bool IsAtFirst() const = 0;
    virtual bool IsAtLast() const = 0;
    // RecNo in Adrs.DB of the item at index; -1 for a directory entry or an index out of range.
    virtual qint32 RecNoAt(int index) const = 0;
    // Moves the current item and reads it; false (nothing moved) when there is no such item.
    virtual bool MoveAndRead(TCardMove move, TCardItem& item) = 0;
    // Repaints the list after the card took or dropped one of its items.
    virtual void UpdateListColor() {}
};

// The windows that can be a card's list source register themselves here while they exist.
void SetCardListWindow(int kind, TCardListSource* source);
TCardListSource* CardListWindow(int kind); // null when that window does not exist or kind is unknown
