#include "links/MapPlaces.h"

#include "core/MainSettings.h"

#include <QFile>

QList<TMapPlace> ReadMapPlaces(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.constFirst() != "TOVAREL PLACES 1")
        return {};
    QList<TMapPlace> places;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty() && i == lines.size() - 1)
            break;
        const QList<QByteArray> f = lines[i].split('\t');
        if (f.size() != 4 || (f[0] != "P" && f[0] != "C") || f[1].isEmpty())
            return {};
        bool latOk = false, lonOk = false;
        const uint lat = f[2].toUInt(&latOk), lon = f[3].toUInt(&lonOk);
        if (!latOk || !lonOk || lat > 90u * 3600000 || lon > 180u * 3600000)
            return {};
        places.append({f[0] == "P" ? TMapPlace::Prefecture : TMapPlace::Municipality,
                       QString::fromUtf8(f[1]),
                       {lat, lon}});
    }
    return places;
}

const QList<TMapPlace>& MapPlaces()
{
    static const QList<TMapPlace> places = [] {
        QFile f(ProgramFolder + QStringLiteral("Map/places.tsv"));
        return f.open(QIODevice::ReadOnly) ? ReadMapPlaces(f.readAll()) : QList<TMapPlace>();
    }();
    return places;
}
