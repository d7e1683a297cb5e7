// The directory search windows' registration with the address list.
#include "search/SearchWindows.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListServices.h"
#include "search/CtgrySch.h"
#include "search/DtInqiryLookups.h"
#include "search/NmAdSch.h"

void RegisterSearchWindows()
{
    RegisterListCommand(TListCommand::CategorySearch, [](TAddressList& list) {
        ShowCategorySearch(list);
        return TListCommandResult{};
    });
    RegisterListChild(TListChild::CategorySearch,
                      [] { return static_cast<QWidget*>(CategorySearch.data()); });
    RegisterListCommand(TListCommand::NameAdrsSearch, [](TAddressList& list) {
        ShowNameAdrsSearch(list);
        return TListCommandResult{};
    });
    RegisterListChild(TListChild::NameAdrsSearch,
                      [] { return static_cast<QWidget*>(NameAdrsSearch.data()); });

    // The record card's look-ups.
    RegisterCardLookups();
}
