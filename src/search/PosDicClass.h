// The postal-code dictionary wrapper over "Dlzplst.dll", and the address result it shares with the
// address dictionary wrapper.
#pragma once

#include "DicRecords.h"
#include "search/DicWrapper.h"

#include <QList>

// The result of a postal-code or address lookup; zero-terminated texts.
struct TDicAdrsResultRec
{
    char PostalCode[9];
    char PrefKana[9];
    char PrefName[9];
    char CityKana[37];
    char CityName[37];
    char TownKana[101];
    char TownName[101];
    char OfficeKana[61];
    char OfficeName[61];
    char JisCode[6];
    char BlockCode[7];
    qint32 Latitude; // milliseconds of arc
    qint32 Longitude;
};

// Zeroes and fills a postal-code or address result from what the wrapper has (town: postal code, reading,
// name, block code; city: prefecture reading and name, municipality reading and name, JIS code; office:
// reading, name; each may be null); with a town and coordinates wanted, looks it up. kind is the loaded
// list (0 towns: the lookup replaces the address; 1 large offices: only the position).
void BuildDicAdrsResult(TDicAdrsResultRec& r, const AnsiString* town, const AnsiString* city,
                        const AnsiString* office, int kind, bool withCoordinates, const QString& dllFolder,
                        const QString& dicFolder);

// The same from the records of either library.
template <typename TownRec>
void BuildDicAdrsResult(TDicAdrsResultRec& r, const TownRec* town, const AnsiString* city,
                        const TLargeOfficeRec* office, int kind, bool withCoordinates,
                        const QString& dllFolder, const QString& dicFolder)
{
    AnsiString townParts[4], officeParts[2];
    if (town) {
        townParts[0] = FieldText(town->PostalCode);
        townParts[1] = FieldText(town->Reading);
        townParts[2] = FieldText(town->Name);
        townParts[3] = FieldText(town->BlockCode);
    }
    if (office) {
        officeParts[0] = FieldText(office->Reading);
        officeParts[1] = FieldText(office->Name);
    }
    BuildDicAdrsResult(r, town ? townParts : nullptr, city, office ? officeParts : nullptr, kind,
                       withCoordinates, dllFolder, dicFolder);
}

class EPosSearchError : public EDictionaryError
{
public:
    using EDictionaryError::EDictionaryError;
};

class EDlzplstError : public EPosSearchError
{
public:
    using EPosSearchError::EPosSearchError;
};

class TPosSearch
{
public:
    // Loads dllFolder + "Dlzplst.dll"; throws EDlzplstError when it or an entry point is missing.
    explicit TPosSearch(const QString& dllFolder = QString(), const QString& dicFolder = QString());
    ~TPosSearch();
    TPosSearch(const TPosSearch&) = delete;
    TPosSearch& operator=(const TPosSearch&) = delete;

    // The single-byte digits of the text as a prefix of postal codes: 0, 4 or 8. On 0 the municipalities
    // are listed and *formatted (when given) gets the digits with the postal-code hyphen rule.
    int Search(const AnsiString& postalCode, AnsiString* formatted = nullptr);
    // The towns (kind 0) or large offices (kind 1) of a listed municipality: 0 or 8.
    int ListTowns(int cityIndex, int kind);

    int CityCount() const { return int(m_cities.size()); }
    int TownCount() const { return int(m_towns.size()); }
    int OfficeCount() const { return int(m_offices.size()); }
    // Throw EPosSearchError when the list is empty or the index lies outside it.
    TPosCityRec GetCity(int index) const;
    TPosTownRec GetTown(int index) const;
    TLargeOfficeRec GetOffice(int index) const;
    // The loaded municipality with town index (or -1 for the municipality alone), optionally looked up
    // for its position and details; owned by the object until the next result.
    const TDicAdrsResultRec& GetResult(int townIndex, bool withCoordinates);

private:
    void CloseSearch();

    QString m_dllFolder, m_dicFolder;
    DicLibrary m_library;
    TDLZPLSTFirst m_first = nullptr;
    TDLZPLSTCityList m_cityList = nullptr;
    TDLZPLSTTownList m_townList = nullptr;
    TDLZPLSTLgTownList m_lgTownList = nullptr;
    TDLZPLSTClose m_close = nullptr;
    TDLZPLSTPost m_post = nullptr;
    qint32 m_handle = 0;
    QList<TPosCityRec> m_cities;
    QList<TPosTownRec> m_towns;
    QList<TLargeOfficeRec> m_offices;
    TDicAdrsResultRec m_result{};
    AnsiString m_digits;
    int m_cityIndex = -1;
    int m_kind = -1;
};
