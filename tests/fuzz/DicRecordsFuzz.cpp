// Fuzz target: the wrappers' reading of the records that the dictionary libraries fill, and the lookup
// dialog's results built from them and from directory entries.
#include "core/AppSub.h"
#include "search/DicSchLogic.h"
#include "search/DicWrapper.h"
#include "search/KykbnDicClass.h"
#include "search/Dlmtad.h"
#include "search/PosDicClass.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

template <typename Rec> bool Next(const uint8_t*& data, size_t& size, Rec& rec)
{
    if (size < sizeof rec)
        return false;
    std::memcpy(&rec, data, sizeof rec);
    data += sizeof rec;
    size -= sizeof rec;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMtAdrsAnswerRec answer;
    if (Next(data, size, answer))
        MtAnswerFields(answer);
    TPosCityRec city;
    TDicAdrsResultRec r{};
    if (Next(data, size, city)) {
        AnsiString pref, rest;
        SplitPrefectureKana(FieldText(city.Reading), pref, rest);
        SetField(r.PrefKana, pref);
        SplitPrefecture(FieldText(city.Name), pref, rest);
        SetField(r.CityName, rest);
        SetField(r.JisCode, FieldText(city.JisCode));
    }
    TPosTownRec town;
    TLargeOfficeRec office;
    if (Next(data, size, town) && Next(data, size, office))
        BuildDicAdrsResult(r, &town, nullptr, &office, 1, false, QString(), QString());
    TKykbnTownRec kykbn;
    if (Next(data, size, kykbn)) {
        SetField(r.BlockCode, FieldText(kykbn.AreaCode).mid(5, 6));
        MtAdrsCode(FieldText(r.JisCode), FieldText(r.BlockCode));
    }
    DicResultFromDicAdrs(r);
    TKykbnResultRec tel;
    if (Next(data, size, tel))
        DicResultFromKykbn(tel);
    TDirDetailRec detail;
    if (Next(data, size, detail))
        DicResultFromDirectory(detail);
    return 0;
}
