// The exchange-code dictionary wrapper over "Dltel.dll": the exchange areas of a telephone number and the
// towns of one of them.
#pragma once

#include "DicRecords.h"
#include "search/DicWrapper.h"

// The result of an exchange-code lookup; zero-terminated texts.
struct TKykbnResultRec
{
    char Tel[14]; // hyphenated
    char PostalCode[9];
    char PrefKana[9];
    char PrefName[9];
    char CityKana[37];
    char CityName[37];
    char TownKana[101];
    char TownName[101];
    char JisCode[6];
    char BlockCode[7];
    qint32 Latitude; // milliseconds of arc
    qint32 Longitude;
};

class EKykbnSearchError : public EDictionaryError
{
public:
    using EDictionaryError::EDictionaryError;
};

class EDLTelError : public EKykbnSearchError
{
public:
    using EKykbnSearchError::EKykbnSearchError;
};

class TKykbnSearch
{
public:
    // Loads dllFolder + "Dltel.dll"; throws EDLTelError when it or an entry point is missing.
    explicit TKykbnSearch(const QString& dllFolder = QString(), const QString& dicFolder = QString());

    // The single-byte digits of the text: 0, 4 or 8. On 0 the exchange areas (at most 20) are listed and
    // *hyphenated (when given) gets the digits hyphenated.
    int Search(const AnsiString& tel, AnsiString* hyphenated = nullptr);
    // The towns of a listed area: 0 or 8.
    int ListTowns(int cityIndex);

    int CityCount() const { return int(m_cities.size()); }
    int TownCount() const { return int(m_towns.size()); }
    // Throw EKykbnSearchError when the list is empty or the index lies outside it.
    TKykbnCityRec GetCity(int index) const;
    TKykbnTownRec GetTown(int index) const;
    const TKykbnResultRec& GetResult(int townIndex, bool withCoordinates);

private:
    AnsiString Hyphenated() const;

    QString m_dllFolder, m_dicFolder;
    QByteArray m_dicFolderBytes;
    DicLibrary m_library;
    TDLTLPrefix m_prefix = nullptr;
    TDLTLCity2 m_city2 = nullptr;
    TDLTLTown2First m_townFirst = nullptr;
    TDLTLTown2Close m_townClose = nullptr;
    TDLTLTown2Next m_townNext = nullptr;
    TDLTLTown2Prev m_townPrev = nullptr;
    QList<TKykbnCityRec> m_cities;
    QList<TKykbnTownRec> m_towns;
    TKykbnResultRec m_result{};
    AnsiString m_digits;
    int m_cityIndex = -1;
};
