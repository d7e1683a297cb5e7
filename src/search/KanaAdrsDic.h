// The area-list wrapper over "Dlk1ad.dll": prefectures, the municipalities of one, the oazas (or 丁目) of a
// municipality, each with its area code and the first sound of its reading.
#pragma once

#include "DicRecords.h"
#include "search/DicWrapper.h"

#include <QStringList>

class EKanaAdrsSearchError : public EDictionaryError
{
public:
    using EDictionaryError::EDictionaryError;
};

class EDLK1ADError : public EKanaAdrsSearchError
{
public:
    using EKanaAdrsSearchError::EKanaAdrsSearchError;
};

// The region that stands for every prefecture.
constexpr int AllRegions = 99;
// Names of the regions 0 to 5.
const QStringList& KanaRegionNames();

class TKanaAdrsSearch
{
public:
    // Loads dllFolder + "Dlk1ad.dll"; throws EDLK1ADError when it or an entry point is missing.
    explicit TKanaAdrsSearch(const QString& dllFolder = QString(), const QString& dicFolder = QString());

    // Region 99 (all 47) or 0 to 5; others raise EKanaAdrsSearchError. Answers 0 or 8.
    int ListPrefectures(int region);
    // The municipalities of prefecture 1 to 47 in the given number of slotCount: 0 or 8.
    int ListCities(int prefecture, int slotCount);
    // The oazas of a 5-digit municipality code in the given number of slotCount, split into 丁目 or not.
    int ListOazas(const AnsiString& cityCode, int slotCount, bool chome);

    int PrefectureCount() const { return int(m_prefectures.size()); }
    int CityCount() const { return int(m_cities.size()); }
    int OazaCount() const { return int(m_oazas.size()); }
    // Throw EKanaAdrsSearchError when the list is empty or the index lies outside it.
    TKanaPrefRec GetPrefecture(int index) const;
    TKanaCityRec GetCity(int index) const;
    TKanaOazaRec GetOaza(int index) const;

private:
    int Call(const char* name, int rc);

    QString m_dllFolder, m_dicFolder;
    QByteArray m_dicFolderBytes;
    DicLibrary m_library;
    TDLK1ADTdfkn m_tdfkn = nullptr;
    TDLK1ADTdfknPart m_tdfknPart = nullptr;
    TDLK1ADCityAll m_cityAll = nullptr;
    TDLK1ADOhazaAll m_ohazaAll = nullptr;
    TDLK1ADOhazaAll m_ohazaAllChome = nullptr;
    TDLK1ADAzaAll m_azaAll = nullptr;
    QList<TKanaPrefRec> m_prefectures;
    QList<TKanaCityRec> m_cities;
    QList<TKanaOazaRec> m_oazas;
    QList<TKanaOazaRec> m_azas; // the aza level is never asked for
};
