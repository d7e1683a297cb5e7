// The registry of the address list's command openers and child windows.
#include "addressbook/AdrsListServices.h"

#include <array>

namespace {

std::array<TListCommandOpener, ListCommandCount>& openers()
{
    static std::array<TListCommandOpener, ListCommandCount> table;
    return table;
}

std::array<TListChildWindow, ListChildCount>& children()
{
    static std::array<TListChildWindow, ListChildCount> table;
    return table;
}

} // namespace

void RegisterListCommand(TListCommand command, TListCommandOpener opener)
{
    openers()[size_t(command)] = std::move(opener);
}

bool HasListCommand(TListCommand command)
{
    return bool(openers()[size_t(command)]);
}

TListCommandResult RunListCommand(TListCommand command, TAddressList& list)
{
    // A copy: an opener may replace its own slot while it runs.
    const TListCommandOpener opener = openers()[size_t(command)];
    return opener ? opener(list) : TListCommandResult{};
}

void RegisterListChild(TListChild child, TListChildWindow window)
{
    children()[size_t(child)] = std::move(window);
}

QWidget* ListChildWindow(TListChild child)
{
    const TListChildWindow& window = children()[size_t(child)];
    return window ? window() : nullptr;
}
