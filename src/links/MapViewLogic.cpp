#include "links/MapViewLogic.h"

#include <array>

TAreaChoice ChooseMapArea(int kind, const QList<TAreaProbe>& probes, TMapPoint coordinates)
{
    TAreaChoice byAddress, byCoordinates;
    for (int i = 0; i < probes.size(); ++i) {
        const TAreaProbe& p = probes[i];
        if (p.address && p.address->first < byAddress.scale)
            byAddress = {i, p.address->first, p.address->second};
        if (p.coordinates && *p.coordinates < byCoordinates.scale)
            byCoordinates = {i, *p.coordinates, coordinates};
    }
    const TAreaChoice& preferred = kind == 1 ? byAddress : byCoordinates;
    const TAreaChoice& other = kind == 1 ? byCoordinates : byAddress;
    return preferred.area >= 0 ? preferred : other;
}

QString MapScaleCaption(int index)
{
    static const std::array<const char16_t*, MapScaleCount> captions = {
        u"全国図", u"1/320万", u"1/160万", u"1/80万",  u"1/40万", u"1/20万",
        u"1/10万", u"1/50000", u"1/25000", u"1/12500", u"1/6250", u"詳細図"};
    return index >= 0 && index < MapScaleCount ? QString::fromUtf16(captions[size_t(index)]) : QString();
}

int ScaleIndexFromMask(quint32 mask)
{
    for (int i = MapScaleCount - 1; i >= 0; --i)
        if (mask & MapScaleBit(i))
            return i;
    return -1;
}

QRect RangeRegion(QPoint start, QPoint end)
{
    return QRect(std::min(start.x(), end.x()), std::min(start.y(), end.y()), std::abs(end.x() - start.x()),
                 std::abs(end.y() - start.y()));
}

QString MapCoordinateText(quint32 ms)
{
    return QString::number(ms / 3600000) + QStringLiteral("度") + QString::asprintf("%.2u", ms / 60000 % 60) +
           QStringLiteral("分") + QString::asprintf("%.2u.%.3u", ms / 1000 % 60, ms % 1000) + QStringLiteral("秒");
}

QString MapCornerText(TMapPoint topLeft, TMapPoint bottomRight)
{
    return QStringLiteral("左上 北緯 : ") + MapCoordinateText(topLeft.lat) + QStringLiteral("  東経 : ") +
           MapCoordinateText(topLeft.lon) + QStringLiteral("\r\n右下 北緯 : ") + MapCoordinateText(bottomRight.lat) +
           QStringLiteral("  東経 : ") + MapCoordinateText(bottomRight.lon) + QStringLiteral("\r\n");
}
