// The place names of the offline map: the prefectures and municipalities of the address dictionary's
// sources, written at build time into ProgramFolder + "Map/places.tsv".
//
// The file is UTF-8: the line "TOVAREL PLACES 1", then one line per place, "P" (prefecture) or "C"
// (municipality), name, latitude and longitude in milliseconds on the Tokyo datum, separated by tabs.
#pragma once

#include "links/MapViewLogic.h"

#include <QList>
#include <QString>

struct TMapPlace
{
    enum Kind { Prefecture, Municipality };
    Kind PlaceKind = Prefecture;
    QString Name;
    TMapPoint Position;
};

// The places of a place file; empty when the bytes break the format.
QList<TMapPlace> ReadMapPlaces(const QByteArray& bytes);
// The places of ProgramFolder's file, read once on first use.
const QList<TMapPlace>& MapPlaces();
