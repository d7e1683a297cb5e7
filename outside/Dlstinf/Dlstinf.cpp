// "Dlstinf.dll": the station library over the committed station table built into "Station.dic".
#include "StationData.h"
#include "links/RouteGeometry.h"

#include <algorithm>
#include <cstring>

#define DLSTINF_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Milliseconds of arc from 1/256 second.
int32_t ToMs(uint32_t v)
{
    return int32_t((int64_t(v) * 1000 + 128) / 256);
}

// Hands out count records (or only counts them), as the list functions do.
template <typename Fill>
int HandOut(int32_t total, int32_t* count, bool counting, Fill fill)
{
    if (counting) {
        *count = total;
        return total > 0 ? DlstinfOk : DlstinfNotFound;
    }
    const int32_t n = std::min(total, *count);
    for (int32_t i = 0; i < n; ++i)
        fill(i);
    *count = n;
    return n > 0 ? DlstinfOk : DlstinfNotFound;
}

} // namespace

DLSTINF_EXPORT int StationListEx(const char* kana, int32_t* count, TStationRec* buffer, const char* dicFolder)
{
    if (!kana || !count || !dicFolder || (buffer && *count < 0))
        return DlstinfBadArgument;
    Dlstinf::StationData data;
    if (!Dlstinf::LoadStationData(dicFolder, data))
        return DlstinfNoData;
    const size_t length = std::strlen(kana);
    std::vector<const TStationRec*> found;
    for (const Dlstinf::Station& s : data.stations) {
        const size_t kanaLength = strnlen(s.rec.Kana, sizeof s.rec.Kana);
        if (length > 0 && length <= kanaLength && std::memcmp(s.rec.Kana, kana, length) == 0)
            found.push_back(&s.rec);
    }
    return HandOut(int32_t(found.size()), count, !buffer, [&](int32_t i) { buffer[i] = *found[size_t(i)]; });
}

DLSTINF_EXPORT int StationSearchFromPoint(uint32_t latitude, uint32_t longitude, TStationRec* buffer,
                                          const char* dicFolder)
{
    if (!buffer || !dicFolder)
        return DlstinfBadArgument;
    Dlstinf::StationData data;
    if (!Dlstinf::LoadStationData(dicFolder, data))
        return DlstinfNoData;
    std::vector<TStationRec> near;
    for (const Dlstinf::Station& s : data.stations) {
        const int metres = RouteGeometry::DistanceMetres(ToMs(latitude), ToMs(longitude), ToMs(s.rec.Latitude),
                                                         ToMs(s.rec.Longitude));
        if (metres > StationSearchRadius)
            continue;
        TStationRec rec = s.rec;
        rec.Distance = metres;
        rec.Bearing = RouteGeometry::GetBearing(latitude, longitude, s.rec.Latitude, s.rec.Longitude);
        // The station on the point itself lies in no direction; north stands for it.
        if (rec.Bearing == 0)
            rec.Bearing = 1;
        near.push_back(rec);
    }
    if (near.empty())
        return DlstinfNotFound;
    std::stable_sort(near.begin(), near.end(),
                     [](const TStationRec& a, const TStationRec& b) { return a.Distance < b.Distance; });
    for (size_t i = 0; i < near.size() && i < size_t(StationNearestCount); ++i)
        buffer[i] = near[i];
    return DlstinfOk;
}

DLSTINF_EXPORT int LineList(int32_t serial, int32_t* count, char* buffer, const char* dicFolder)
{
    if (!count || !dicFolder || (buffer && *count < 0))
        return DlstinfBadArgument;
    Dlstinf::StationData data;
    if (!Dlstinf::LoadStationData(dicFolder, data))
        return DlstinfNoData;
    if (serial < 1 || size_t(serial) > data.stations.size())
        return DlstinfNotFound;
    const std::vector<uint16_t>& lines = data.stations[size_t(serial - 1)].lines;
    return HandOut(int32_t(lines.size()), count, !buffer, [&](int32_t i) {
        std::memcpy(buffer + size_t(i) * StationLineNameSize, data.lineNames[lines[size_t(i)]].data(),
                    StationLineNameSize);
    });
}
