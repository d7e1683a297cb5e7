// Builds "Station.dic" from the committed station table: make_station_data <stations.tsv> <dic folder>.
#include "StationData.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// WGS84 degrees to the Tokyo datum (inverse of the map links' conversion, to about a metre).
void Wgs84ToTokyo(double& latitude, double& longitude)
{
    const double lat = latitude;
    const double lon = longitude;
    latitude = lat + 0.00010696 * lat - 0.000017467 * lon - 0.0046020;
    longitude = lon + 0.000046047 * lat + 0.000083049 * lon - 0.010041;
}

uint32_t ToUnits(double degrees)
{
    return uint32_t(std::llround(degrees * 3600.0 * 256.0));
}

bool PutText(char* field, size_t size, const QString& text)
{
    bool ok = true;
    const QByteArray bytes = Cp932::fromUnicode(text, &ok);
    if (!ok || bytes.isEmpty() || size_t(bytes.size()) > size)
        return false;
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
    return true;
}

int Fail(const QString& text)
{
    std::fprintf(stderr, "make_station_data: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return Fail(QStringLiteral("usage: make_station_data <stations.tsv> <dic folder>"));
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly))
        return Fail(source.errorString());
    Dlstinf::StationData data;
    QStringList lineNames;
    int lineNo = 0;
    for (const QString& line : QString::fromUtf8(source.readAll()).split(QLatin1Char('\n'))) {
        ++lineNo;
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        bool latOk = false;
        bool lonOk = false;
        double latitude = f.value(2).toDouble(&latOk);
        double longitude = f.value(3).toDouble(&lonOk);
        if (f.size() != 5 || !latOk || !lonOk)
            return Fail(QStringLiteral("line %1: five fields with a position expected").arg(lineNo));
        Dlstinf::Station s;
        Wgs84ToTokyo(latitude, longitude);
        s.rec.Latitude = ToUnits(latitude);
        s.rec.Longitude = ToUnits(longitude);
        s.rec.Serial = int32_t(data.stations.size() + 1);
        const QByteArray code = QByteArray::number(s.rec.Serial).rightJustified(6, '0');
        std::memcpy(s.rec.Code, code.constData(), sizeof s.rec.Code);
        if (!PutText(s.rec.Name, sizeof s.rec.Name, f[0]) || !PutText(s.rec.Kana, sizeof s.rec.Kana, f[1]))
            return Fail(QStringLiteral("line %1: name or reading does not fit").arg(lineNo));
        for (const QString& name : f[4].split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            qsizetype index = lineNames.indexOf(name);
            if (index < 0) {
                char field[StationLineNameSize] = {};
                if (!PutText(field, sizeof field, name))
                    return Fail(QStringLiteral("line %1: line name does not fit").arg(lineNo));
                lineNames.append(name);
                data.lineNames.emplace_back(field, sizeof field);
                index = lineNames.size() - 1;
            }
            s.lines.push_back(uint16_t(index));
        }
        if (s.lines.size() > size_t(Dlstinf::MaxLinesPerStation))
            return Fail(QStringLiteral("line %1: too many lines").arg(lineNo));
        data.stations.push_back(std::move(s));
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    QSaveFile out(folder + QStringLiteral("/") + QLatin1String(StationDataFile));
    const std::string bytes = data.serialize();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) ||
        !out.commit())
        return Fail(out.errorString());
    return 0;
}
