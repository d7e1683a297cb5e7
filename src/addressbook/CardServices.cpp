// The registries of the card's list windows and of the services its buttons open.
#include "addressbook/CardServices.h"

#include <array>

namespace {

std::array<TCardListSource*, 3> listWindows{};
std::array<TCardServiceFactory, CardServiceCount> services;

} // namespace

void SetCardListWindow(int kind, TCardListSource* source)
{
    if (kind >= 0 && kind < int(listWindows.size()))
        listWindows[size_t(kind)] = source;
}

TCardListSource* CardListWindow(int kind)
{
    return kind >= 0 && kind < int(listWindows.size()) ? listWindows[size_t(kind)] : nullptr;
}

void RegisterCardService(TCardService service, TCardServiceFactory factory)
{
    services[size_t(service)] = std::move(factory);
}

bool HasCardService(TCardService service)
{
    return bool(services[size_t(service)]);
}

bool RunCardService(TCardService service, TDataInquiry& card, int argument)
{
    const TCardServiceFactory& factory = services[size_t(service)];
    if (!factory)
        return false;
    factory(card, argument);
    return true;
}
