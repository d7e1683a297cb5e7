// Calls into the address list for the windows that follow it, safe once the list is gone.
#pragma once

#include "addressbook/AdrsList.h"
#include "core/DialogSub.h"
#include "core/ShellSub.h"

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

// Opens a window that follows the list: brings the open one forward, else makes one with the hourglass up,
// adds it as a follower and shows it.
template <class Window, class Make>
Window* ShowListFollower(QPointer<Window>& current, TAddressList& list, Make make)
{
    if (current) {
        ForceForegroundWindow(current);
        return current;
    }
    TBusyCursor busy;
    Window* window = make();
    list.AddFollower(window);
    current = window;
    window->show();
    return window;
}

// Registers the list's command that opens a follower window, and the window as one of the list's children.
template <class Window>
void RegisterListFollower(TListCommand command, TListChild child, QPointer<Window>& current,
                          Window* (*show)(TAddressList&))
{
    RegisterListCommand(command, [show](TAddressList& list) {
        show(list);
        return TListCommandResult{};
    });
    RegisterListChild(child, [&current] { return static_cast<QWidget*>(current.data()); });
}
