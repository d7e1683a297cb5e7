// The map programs started with a command line (3, 4, 9) and the web map (10), with the datum conversion.
#pragma once

#include "links/MapSearch.h"

// Each finds its program, chooses coordinates or address, and starts it without waiting: false when the
// program is missing (the web map: when the search kind is neither 0 nor 1); a start that fails still
// answers true.
bool LaunchEmapZ(const TMapSearchParams& params);
bool LaunchItsmoNavi(const TMapSearchParams& params);
bool LaunchGrandMap(const TMapSearchParams& params);
bool OpenGoogleMaps(const TMapSearchParams& params);

// The program and arguments each launcher starts (tests read them); none when the program is missing.
struct TMapLaunchCommand
{
    QString program;
    QStringList arguments;
    QString folder;
};
std::optional<TMapLaunchCommand> EmapZCommand(const TMapSearchParams& params);
std::optional<TMapLaunchCommand> ItsmoNaviCommand(const TMapSearchParams& params);
std::optional<TMapLaunchCommand> GrandMapCommand(const TMapSearchParams& params);
// The web map's URL; none for a search kind other than 0 and 1.
std::optional<QString> GoogleMapsUrl(const TMapSearchParams& params);

// Tokyo datum to WGS84, degrees, both changed in place.
void TokyoToWgs84(long double& latitude, long double& longitude);
