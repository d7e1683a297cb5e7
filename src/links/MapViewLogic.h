// The decisions of the embedded map windows that do not need a window: the area and layer a request opens
// on, the scale of an availability mask, the region of a dragged range and the corner text of a copy.
#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <climits>
#include <optional>

// A position in milliseconds of arc (Tokyo datum).
struct TMapPoint
{
    quint32 lat = 0, lon = 0;
    bool operator==(const TMapPoint&) const = default;
};

// What searching one area gave: the layer scale the address search ended on with the centre it showed, and
// the layer scale after centring on the coordinates (when the area includes them).
struct TAreaProbe
{
    std::optional<std::pair<qint32, TMapPoint>> address;
    std::optional<qint32> coordinates;
};

// The area a request opens on. area -1: neither key found (the first area at its own centre).
struct TAreaChoice
{
    int area = -1;
    qint32 scale = INT_MAX;
    TMapPoint position;
};
// Per area in list order, the smaller scale wins and ties keep the earlier area; kind 1 prefers the
// address's best, kind 0 the coordinates', the other only when the preferred one found nothing.
TAreaChoice ChooseMapArea(int kind, const QList<TAreaProbe>& probes, TMapPoint coordinates);

// The twelve scales: their captions and the control's bit of each (0x40000 << index).
inline constexpr int MapScaleCount = 12;
QString MapScaleCaption(int index);
inline constexpr quint32 MapScaleBit(int index)
{
    return 0x40000u << index;
}
// The highest scale index whose bit is in mask; -1 when none.
int ScaleIndexFromMask(quint32 mask);

// The region of a range dragged from start to end, whichever way it was dragged.
QRect RangeRegion(QPoint start, QPoint end);

// "35度40分12.045秒".
QString MapCoordinateText(quint32 ms);
// The text put beside a copied map: its top-left and bottom-right corners.
QString MapCornerText(TMapPoint topLeft, TMapPoint bottomRight);
