// Calls into the address list for the windows that follow it, safe once the list is gone.
#pragma once

#include "addressbook/AdrsList.h"

#include <QPointer>

#include <functional>

// The shared Adrs.DB row while the list has a book open; null otherwise or once the list is gone.
inline std::function<TAdrsTableCursor*()> ListCursor(TAddressList& list)
{
    return [guard = QPointer<TAddressList>(&list)]() -> TAdrsTableCursor* {
        return guard && guard->AdrsOpen() ? &guard->Engine().AdrsRow() : nullptr;
    };
}

// Takes a follower off the list while the list exists.
inline std::function<void(TAddressListFollower*)> ListDetach(TAddressList& list)
{
    return [guard = QPointer<TAddressList>(&list)](TAddressListFollower* follower) {
        if (guard)
            guard->RemoveFollower(follower);
    };
}
