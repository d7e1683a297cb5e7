// The address conversion wrapper over "DLZsCnv.dll": one free address text to its postal code, address
// parts, JIS and block codes and, on request, its position.
#pragma once

#include "DicRecords.h"
#include "search/DicWrapper.h"

// The conversion result; zero-terminated texts.
struct TAdrsConvResultRec
{
    char PostalCode[9];
    char PrefKana[9];
    char PrefName[9];
    char CityKana[37];
    char CityName[37];
    char RestKana[101];
    char Rest[101];
    char JisCode[6];
    char BlockCode[7];
    qint32 Latitude; // milliseconds of arc
    qint32 Longitude;
};

class EContinualAdrsSearchError : public EDictionaryError
{
public:
    using EDictionaryError::EDictionaryError;
};

class EDLZsCnvErro : public EContinualAdrsSearchError
{
public:
    using EContinualAdrsSearchError::EContinualAdrsSearchError;
};

class TContinualAdrsSearch
{
public:
    // Loads dllFolder + "DLZsCnv.dll"; throws EDLZsCnvErro when it or its entry point is missing.
    explicit TContinualAdrsSearch(const QString& dllFolder = QString(), const QString& dicFolder = QString());
    ~TContinualAdrsSearch();
    TContinualAdrsSearch(const TContinualAdrsSearch&) = delete;
    TContinualAdrsSearch& operator=(const TContinualAdrsSearch&) = delete;

    // Converts the trimmed text: 0 (a result), 1, 4 or 8 (none).
    int Search(const AnsiString& address);
    // The result of the last search, rebuilt only when it was not built yet or coordinates are wanted
    // for the first time; valid until the next search.
    const TAdrsConvResultRec& GetResult(bool withCoordinates);

private:
    QString m_dllFolder, m_dicFolder;
    DicLibrary m_library;
    TDLZSCAdrs m_convert = nullptr;
    TAdrsConvAnswerRec m_answer{};
    TAdrsConvResultRec m_result{};
    bool m_built = false;
    bool m_builtWithCoordinates = false;
    AnsiString m_text;
    bool m_holdsMtAdrs = false;
};
