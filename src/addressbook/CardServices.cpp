// The registries of the card's list windows and of the services its buttons open.
#include "addressbook/CardServices.h"

#include "core/DBInfo.h"

#include <array>

namespace {

std::array<TCardListSource*, 3> listWindows{};
std::array<TCardServiceFactory, CardServiceCount> services;

// The shared table object must exist while a card writes; a missing one is a table error like any other.
class TModuleCardData : public TCardDataModule
{
public:
    Table& AdrsTable() override
    {
        Table* table = DMQuenrid215 ? DMQuenrid215->AdrsTable() : nullptr;
        if (!table)
            throw TableError(TableErrorCode::WrongState, QStringLiteral("Adrs.DB is not open"));
        return *table;
    }
    THistoryData* InputHistory(TInputListKind kind) override
    {
        if (!DMQuenrid215)
            return nullptr;
        switch (kind) {
        case ilDptmnt:
            return DMQuenrid215->DptmntHistory();
        case ilPost:
            return DMQuenrid215->PostHistory();
        case ilHonor:
            return DMQuenrid215->HonorHistory();
        case ilKeyword1:
        case ilKeyword2:
        case ilKeyword3:
            return DMQuenrid215->KeywordHistories(kind - ilKeyword1);
        }
        return nullptr;
    }
};

} // namespace

TCardDataModule& ModuleCardData()
{
    static TModuleCardData data;
    return data;
}

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
