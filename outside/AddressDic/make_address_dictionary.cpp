// Build tool: turns the committed UTF-8 address tables into "Adrs.dic" (format in AddressMaster.h), with
// the exchange areas enumerated from libphonenumber's Japanese area descriptions.
//
// Usage: make_address_dictionary SOURCE-FOLDER POSTAL.tsv OUTPUT-FOLDER [PLACES-FILE]
// SOURCE-FOLDER holds cities.tsv, prefoffices.tsv and exchange-names.tsv. PLACES-FILE, when given, receives
// the place names of the offline map (format in src/links/MapPlaces.h).
//
// Synthetic parts, derived deterministically because no package has them: the positions of municipalities
// (around their prefectural office) and of towns (around their municipality), and the 丁目 counts of towns
// in cities and wards.
#include "platform/Cp932.h"

#include <phonenumbers/geocoding/phonenumber_offline_geocoder.h>
#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumberutil.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace {

struct Point
{
    double lat = 0, lon = 0;
};

struct Town
{
    QString postal, name, reading, office, officeReading;
    QString unit = QStringLiteral("000");
    int chome = 0;
    Point at;
};

struct City
{
    QString jis, prefName, prefReading, name, reading, generalPostal;
    QStringList districts; // first three digits of its postal codes
    Point at;
    QList<Town> towns, offices;
};

int fail(const QString& message)
{
    std::fprintf(stderr, "make_address_dictionary: %s\n", qPrintable(message));
    return 1;
}

// Data lines of a UTF-8 TSV file ("#" lines are comments).
bool readTsv(const QString& path, int fields, QList<QStringList>& rows, QString& error)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, in.errorString());
        return false;
    }
    int lineNo = 0;
    while (!in.atEnd()) {
        ++lineNo;
        QString line = QString::fromUtf8(in.readLine());
        line.remove(u'\r').remove(u'\n');
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t');
        if (f.size() != fields) {
            error = QStringLiteral("%1:%2: expected %3 fields").arg(path).arg(lineNo).arg(fields);
            return false;
        }
        rows.append(f);
    }
    return true;
}

uint32_t fnv(const QString& key)
{
    uint32_t h = 2166136261u;
    for (char c : key.toUtf8()) {
        h ^= uint8_t(c);
        h *= 16777619u;
    }
    return h;
}

Point around(const Point& centre, const QString& key, double radius)
{
    const uint32_t h = fnv(key);
    const double angle = double(h % 3600) / 10.0 * M_PI / 180.0;
    const double r = double((h / 3600) % 1000) / 1000.0 * radius;
    return {centre.lat + r * std::sin(angle),
            centre.lon + r * std::cos(angle) / std::cos(centre.lat * M_PI / 180)};
}

QByteArray raw(double degrees)
{
    return QByteArray::number(qulonglong(std::llround(degrees * 3600.0 * 256.0)));
}

int unencodable = 0;

QByteArray sj(const QString& text)
{
    bool ok = true;
    const QByteArray bytes = Cp932::fromUnicode(text, &ok);
    if (!ok)
        ++unencodable;
    return bytes;
}

// Readings as the directory spells them: small kana written full size (ｯ as ﾂ).
QString fullSizeKana(QString reading)
{
    static const char16_t small[] = u"ｧｨｩｪｫｬｭｮｯ";
    static const char16_t full[] = u"ｱｲｳｴｵﾔﾕﾖﾂ";
    for (QChar& c : reading)
        for (int i = 0; small[i]; ++i)
            if (c.unicode() == small[i])
                c = QChar(full[i]);
    return reading;
}

QString unitCode(int n)
{
    if (n <= 999)
        return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
    const int k = n - 1000;
    return QChar(u'A' + k / 100) + QStringLiteral("%1").arg(k % 100, 2, 10, QLatin1Char('0'));
}

// The municipality name as area descriptions give it: without county, ward and 市/町/村.
QString shortName(QString name)
{
    // Counties hold towns and villages only (郡山市 and 大和郡山市 keep their 郡).
    const int gun = name.indexOf(u'郡');
    if (gun >= 1 && (name.endsWith(u'町') || name.endsWith(u'村')))
        name = name.mid(gun + 1);
    const int shi = name.indexOf(u'市');
    if (shi > 0 && shi + 1 < name.size() && name.endsWith(u'区'))
        name = name.left(shi + 1);
    if (name.size() > 1 && (name.endsWith(u'市') || name.endsWith(u'町') || name.endsWith(u'村')))
        name.chop(1);
    return name;
}

// Area name -> municipalities: the committed table of older names first, then the municipalities whose
// short name is the area name, then those whose short name the area name contains or whose name contains it.
QStringList municipalitiesOf(const QString& area, const QHash<QString, QStringList>& table,
                             const QMap<QString, QStringList>& byShortName)
{
    if (table.contains(area))
        return table.value(area);
    if (byShortName.contains(area))
        return byShortName.value(area);
    QStringList codes;
    for (auto it = byShortName.begin(); it != byShortName.end(); ++it)
        if ((it.key().size() >= 2 && area.contains(it.key())) ||
            (area.size() >= 2 && it.key().contains(area)))
            codes += it.value();
    return codes;
}

std::map<QString, QStringList> exchangeAreas(const std::map<QString, City>& cities,
                                             const QList<QStringList>& oldNameRows, QString& error)
{
    using namespace i18n::phonenumbers;
    QMap<QString, QStringList> byShortName;
    QHash<QString, QString> jisByFullName;
    for (const auto& [jis, c] : cities) {
        byShortName[shortName(c.name)].append(jis);
        jisByFullName.insert(c.prefName + c.name, jis);
    }
    QHash<QString, QStringList> table;
    for (const QStringList& r : oldNameRows) {
        for (const QString& full : r[1].split(u','))
            if (jisByFullName.contains(full)) {
                table[r[0]].append(jisByFullName.value(full));
            } else {
                error = QStringLiteral("exchange-names.tsv: unknown municipality %1").arg(full);
                return {};
            }
    }
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    const PhoneNumberOfflineGeocoder geocoder;
    const icu::Locale japanese("ja");
    std::map<int, QStringList> candidates; // prefix -> municipalities its name may mean
    QSet<QString> unmatched;
    for (int p = 0; p < 100000; ++p) {
        PhoneNumber n;
        n.set_country_code(81);
        n.set_national_number(uint64_t(p) * 10000);
        if (!util->IsValidNumber(n))
            continue;
        const auto type = util->GetNumberType(n);
        if (type != PhoneNumberUtil::FIXED_LINE && type != PhoneNumberUtil::FIXED_LINE_OR_MOBILE)
            continue;
        const QString name = QString::fromStdString(geocoder.GetDescriptionForNumber(n, japanese));
        if (name.isEmpty())
            continue;
        const QStringList codes = municipalitiesOf(name, table, byShortName);
        if (codes.isEmpty())
            unmatched.insert(name);
        candidates[p] = codes;
    }
    // A name found in several prefectures (府中) takes the prefecture of the nearest prefix, by number, whose
    // name is found in one prefecture only: neighbouring numbers serve neighbouring places.
    auto prefsOf = [](const QStringList& codes) {
        QSet<QString> prefs;
        for (const QString& code : codes)
            prefs.insert(code.left(2));
        return prefs;
    };
    std::map<int, QString> certain;
    for (const auto& [p, codes] : candidates)
        if (prefsOf(codes).size() == 1)
            certain[p] = codes.first().left(2);
    std::map<QString, QStringList> exchange;
    QSet<QString> covered;
    for (const auto& [p, codes] : candidates) {
        QStringList chosen = codes;
        const QSet<QString> prefs = prefsOf(codes);
        if (prefs.size() > 1) {
            auto after = certain.lower_bound(p);
            auto before = after;
            QString pref;
            while (pref.isEmpty() && (after != certain.end() || before != certain.begin())) {
                const bool takeBefore =
                    before != certain.begin() &&
                    (after == certain.end() || p - std::prev(before)->first <= after->first - p);
                const QString& candidate = takeBefore ? (--before)->second : (after++)->second;
                if (prefs.contains(candidate))
                    pref = candidate;
            }
            chosen.erase(std::remove_if(chosen.begin(), chosen.end(),
                                        [&](const QString& code) { return code.left(2) != pref; }),
                         chosen.end());
        }
        std::sort(chosen.begin(), chosen.end());
        exchange[QStringLiteral("%1").arg(p, 5, 10, QLatin1Char('0'))] = chosen;
        for (const QString& code : chosen)
            covered.insert(code);
    }
    // A municipality that no area is named after joins the areas of the municipalities of its prefecture
    // that share the most postal districts with it (then the first two digits of one, then the nearest code).
    QHash<QString, QStringList> joins;
    for (const auto& [jis, c] : cities) {
        if (covered.contains(jis))
            continue;
        QString best;
        for (int digits : {3, 2}) {
            int bestShared = 0;
            for (const auto& [other, o] : cities) {
                if (!covered.contains(other) || other.left(2) != jis.left(2))
                    continue;
                int shared = 0;
                for (const QString& d : c.districts)
                    for (const QString& od : o.districts)
                        shared += d.left(digits) == od.left(digits) ? 1 : 0;
                if (shared > bestShared) {
                    bestShared = shared;
                    best = other;
                }
            }
            if (!best.isEmpty())
                break;
        }
        for (const auto& [other, o] : cities)
            if (best.isEmpty() && covered.contains(other) && other.left(2) == jis.left(2))
                best = other;
        if (!best.isEmpty())
            joins[best].append(jis);
    }
    for (auto& [digits, codes] : exchange) {
        QStringList joined = codes;
        for (const QString& code : codes)
            joined += joins.value(code);
        std::sort(joined.begin(), joined.end());
        codes = joined;
    }
    QSet<QString> inArea;
    for (const auto& [digits, codes] : exchange)
        for (const QString& code : codes)
            inArea.insert(code);
    if (inArea.size() != int(cities.size()))
        std::printf("  %lld municipalities lie in no exchange area\n",
                    qlonglong(cities.size() - inArea.size()));
    QStringList unmatchedList(unmatched.begin(), unmatched.end());
    std::sort(unmatchedList.begin(), unmatchedList.end());
    if (!unmatchedList.isEmpty())
        std::printf("  area names without a municipality: %s\n", qPrintable(unmatchedList.join(u' ')));
    return exchange;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace i18n::phonenumbers;
    if (argc != 4 && argc != 5)
        return fail(
            QStringLiteral("usage: make_address_dictionary SOURCE-FOLDER POSTAL.tsv OUTPUT-FOLDER [PLACES-FILE]"));
    const QDir source(QFile::decodeName(argv[1]));
    const QString postalPath = QFile::decodeName(argv[2]);
    const QString output = QFile::decodeName(argv[3]);
    QString error;

    QList<QStringList> officeRows, cityRows, postalRows, oldNameRows;
    if (!readTsv(source.filePath(QStringLiteral("prefoffices.tsv")), 3, officeRows, error) ||
        !readTsv(source.filePath(QStringLiteral("cities.tsv")), 6, cityRows, error) ||
        !readTsv(postalPath, 6, postalRows, error) ||
        !readTsv(source.filePath(QStringLiteral("exchange-names.tsv")), 2, oldNameRows, error))
        return fail(error);
    if (officeRows.size() != 47)
        return fail(QStringLiteral("prefoffices.tsv: expected 47 prefectures"));
    QList<Point> prefOffice;
    for (const QStringList& r : officeRows)
        prefOffice.append({r[1].toDouble(), r[2].toDouble()});

    std::map<QString, City> cities;
    for (const QStringList& r : cityRows) {
        const int pref = r[0].left(2).toInt();
        if (r[0].size() != 5 || pref < 1 || pref > 47)
            return fail(QStringLiteral("cities.tsv: bad code %1").arg(r[0]));
        City& c = cities[r[0]];
        c = {r[0], r[1], fullSizeKana(r[2]), r[3], fullSizeKana(r[4]), QString(), r[5].split(u','), {},
             {},   {}};
        // Municipalities spread within about 15 km of their prefectural office (synthetic).
        c.at = around(prefOffice[pref - 1], r[0], 0.15);
    }
    for (const QStringList& r : postalRows) {
        auto it = cities.find(r[1]);
        if (it == cities.end() || r[0].size() != 7)
            return fail(QStringLiteral("postal row %1 of an unknown municipality %2").arg(r[0], r[1]));
        Town t;
        t.postal = r[0];
        t.name = r[2];
        t.reading = fullSizeKana(r[3]);
        t.office = r[4];
        (r[4].isEmpty() ? it->second.towns : it->second.offices).append(t);
    }

    // Floors of one building are one town: 霞が関霞が関ビル１階 folds into 霞が関霞が関ビル.
    static const QRegularExpression floorRow(QStringLiteral("^(.+?)(?:[０-９]+階|（[^）]*階[^）]*）)$"));
    int folded = 0;
    for (auto& [jis, c] : cities) {
        QSet<QString> names;
        for (const Town& t : c.towns)
            names.insert(t.name);
        c.towns.erase(std::remove_if(c.towns.begin(), c.towns.end(),
                                     [&](const Town& t) {
                                         const auto m = floorRow.match(t.name);
                                         const bool floor = m.hasMatch() && names.contains(m.captured(1));
                                         folded += floor ? 1 : 0;
                                         return floor;
                                     }),
                      c.towns.end());
        std::stable_sort(c.towns.begin(), c.towns.end(), [](const Town& a, const Town& b) {
            return std::tie(a.reading, a.name, a.postal) < std::tie(b.reading, b.name, b.postal);
        });
        // Oaza units in reading order; the rows of one name share their unit.
        QHash<QString, QString> unitOf;
        QHash<QString, Town*> firstOf;
        const bool urban = c.name.endsWith(u'区') || c.name.endsWith(u'市');
        for (Town& t : c.towns) {
            if (t.name.isEmpty()) {
                c.generalPostal = t.postal;
                t.at = c.at;
                continue;
            }
            if (!unitOf.contains(t.name))
                unitOf.insert(t.name, unitCode(int(unitOf.size()) + 1));
            t.unit = unitOf.value(t.name);
            t.at = around(c.at, jis + t.name, 0.02);
            // Synthetic 丁目 counts for plain urban town names.
            const uint32_t h = fnv(QStringLiteral("chome") + jis + t.name);
            static const QRegularExpression plain(QStringLiteral("^[^字（、０-９0-9]{1,6}$"));
            if (urban && plain.match(t.name).hasMatch() && h % 3 != 0)
                t.chome = 1 + int((h / 3) % 6);
        }
        for (Town& o : c.offices) {
            o.unit = unitOf.value(o.name, QStringLiteral("000"));
            o.at = c.at;
            for (const Town& t : c.towns)
                if (t.name == o.name)
                    o.at = t.at;
        }
        if (unitOf.size() > 999 + 26 * 100)
            return fail(QStringLiteral("%1 has more oazas than the unit codes hold").arg(jis));
    }

    // Exchange areas: every valid fixed-line prefix of five digits after the trunk 0, named by
    // libphonenumber.
    std::map<QString, QStringList> exchange = exchangeAreas(cities, oldNameRows, error);
    if (!error.isEmpty())
        return fail(error);

    if (!QDir().mkpath(output))
        return fail(QStringLiteral("cannot create %1").arg(output));
    QSaveFile out(QDir(output).filePath(QStringLiteral("Adrs.dic")));
    if (!out.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
    QByteArray text = "TOVAREL ADRS 1\n";
    QList<const City*> firstOfPref(48, nullptr);
    for (const auto& [jis, c] : cities)
        if (!firstOfPref[jis.left(2).toInt()])
            firstOfPref[jis.left(2).toInt()] = &c;
    for (int p = 1; p <= 47; ++p) {
        const City* c = firstOfPref[p];
        if (!c)
            return fail(QStringLiteral("no municipality in prefecture %1").arg(p));
        text += "P\t" + QByteArray::number(p).rightJustified(2, '0') + '\t' + sj(c->prefName) + '\t' +
                sj(c->prefReading) + '\t' + raw(prefOffice[p - 1].lat) + '\t' + raw(prefOffice[p - 1].lon) +
                '\n';
    }
    qsizetype townCount = 0, officeCount = 0;
    for (const auto& [jis, c] : cities) {
        text += "C\t" + sj(jis) + '\t' + sj(c.name) + '\t' + sj(c.reading) + '\t' + raw(c.at.lat) + '\t' +
                raw(c.at.lon) + '\t' + sj(c.generalPostal) + '\n';
        for (const Town& t : c.towns)
            text += "T\t" + sj(jis) + '\t' + sj(t.unit) + '\t' + sj(t.postal) + '\t' + sj(t.name) + '\t' +
                    sj(t.reading) + '\t' + QByteArray::number(t.chome) + '\t' + raw(t.at.lat) + '\t' +
                    raw(t.at.lon) + '\n';
        for (const Town& o : c.offices)
            text += "O\t" + sj(jis) + '\t' + sj(o.unit) + '\t' + sj(o.postal) + '\t' + sj(o.name) + '\t' +
                    sj(o.reading) + '\t' + sj(o.office) + "\t\t" + raw(o.at.lat) + '\t' + raw(o.at.lon) +
                    '\n';
        townCount += c.towns.size();
        officeCount += c.offices.size();
    }
    for (const auto& [digits, codes] : exchange)
        if (!codes.isEmpty())
            text += "X\t" + digits.toLatin1() + '\t' + codes.join(u',').toLatin1() + '\n';
    out.write(text);
    if (!out.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
    if (argc == 5) {
        const auto ms = [](double degrees) { return QByteArray::number(qlonglong(std::llround(degrees * 3600000.0))); };
        QByteArray places = "TOVAREL PLACES 1\n";
        for (int p = 1; p <= 47; ++p)
            places += "P\t" + firstOfPref[p]->prefName.toUtf8() + '\t' + ms(prefOffice[p - 1].lat) + '\t' +
                      ms(prefOffice[p - 1].lon) + '\n';
        for (const auto& [jis, c] : cities)
            places += "C\t" + c.name.toUtf8() + '\t' + ms(c.at.lat) + '\t' + ms(c.at.lon) + '\n';
        const QString placesPath = QFile::decodeName(argv[4]);
        QDir().mkpath(QFileInfo(placesPath).absolutePath());
        QSaveFile placesFile(placesPath);
        if (!placesFile.open(QIODevice::WriteOnly) || placesFile.write(places) != places.size() ||
            !placesFile.commit())
            return fail(QStringLiteral("cannot write %1: %2").arg(placesPath, placesFile.errorString()));
    }

    std::printf("make_address_dictionary: %zu municipalities, %lld towns (%d floor rows folded), %lld large "
                "offices, %zu exchange prefixes; %d texts without a CP932 form\n",
                cities.size(), qlonglong(townCount), folded, qlonglong(officeCount), exchange.size(),
                unencodable);
    return 0;
}
