#include "links/MapAdaptors.h"

#include "links/AtlasMateView.h"
#include "links/AutomationViews.h"
#include "links/MapViews.h"

void RegisterMapAdaptors()
{
    RegisterMapAdaptor(msAtlasMate, [](QWidget* owner) { return std::make_unique<TAtlasMateView>(owner); });
    RegisterMapAdaptor(msProAtlas, [](QWidget* owner) { return std::make_unique<TProAtlasView>(owner); });
    RegisterMapAdaptor(msMapFan, [](QWidget* owner) { return std::make_unique<TMapFanView>(owner); });
    RegisterMapAdaptor(msProAtlasW, [](QWidget* owner) { return std::make_unique<TProAtlasWView>(owner); });
    for (TMapSoft soft : {msMapFanNet, msMapFanPlanner})
        RegisterMapAdaptor(soft, [soft](QWidget* owner) { return std::make_unique<TMapFanNetView>(owner, soft); });
    RegisterMapAdaptor(msMapple, [](QWidget* owner) { return std::make_unique<TMappleView>(owner); });
    RegisterMapCooperation(msMapFanNet, [] { return CooperationAvailable(MapFanNetClassId); });
    RegisterMapCooperation(msMapFanPlanner, [] { return CooperationAvailable(MapFanPlannerClassId); });
}
