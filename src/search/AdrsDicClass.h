// The address dictionary wrapper over "Dlzs.dll": the municipalities an address text names, then the towns
// or large offices of one of them.
#pragma once

#include "search/PosDicClass.h"

class EAdrsSearchError : public EDictionaryError
{
public:
    using EDictionaryError::EDictionaryError;
};

class EDLZsError : public EAdrsSearchError
{
public:
    using EAdrsSearchError::EAdrsSearchError;
};

// Longest address text handed to the library, in bytes.
constexpr int AdrsSearchTextMax = 254;

class TAdrsSearch
{
public:
    // Loads dllFolder + "Dlzs.dll"; throws EDLZsError when it or an entry point is missing.
    explicit TAdrsSearch(const QString& dllFolder = QString(), const QString& dicFolder = QString());

    // The trimmed text, full-width and cut to 254 bytes: 0, 4 or 8; on 0 the municipalities are listed.
    int Search(const AnsiString& address);
    // The towns (kind 0) or large offices (kind 1) of a listed municipality: 0, 4 or 8.
    int ListTowns(int cityIndex, int kind);
    // The text last handed to the library.
    const AnsiString& SearchedText() const { return m_text; }

    int CityCount() const { return int(m_cities.size()); }
    int TownCount() const { return int(m_towns.size()); }
    int OfficeCount() const { return int(m_offices.size()); }
    // Throw EAdrsSearchError when the list is empty or the index lies outside it.
    TAdrsCityRec GetCity(int index) const;
    TAdrsTownRec GetTown(int index) const;
    TLargeOfficeRec GetOffice(int index) const;
    const TDicAdrsResultRec& GetResult(int townIndex, bool withCoordinates);

private:
    QString m_dllFolder, m_dicFolder;
    DicLibrary m_library;
    TDLZsJisCount m_jisCount = nullptr;
    TDLZsJisList m_jisList = nullptr;
    TDLZsTownCount m_townCount = nullptr;
    TDLZsTownList m_townList = nullptr;
    TDLZsTownCount m_largeCount = nullptr;
    TDLZsLargeList m_largeList = nullptr;
    QList<TAdrsCityRec> m_cities;
    QList<TAdrsTownRec> m_towns;
    QList<TLargeOfficeRec> m_offices;
    TDicAdrsResultRec m_result{};
    AnsiString m_text;
    int m_cityIndex = -1;
    int m_kind = -1;
};
