#include "links/MapAdaptors.h"

#include "links/AtlasMateView.h"

void RegisterMapAdaptors()
{
    RegisterMapAdaptor(msAtlasMate, [](QWidget* owner) { return std::make_unique<TAtlasMateView>(owner); });
}
