// The conditions the name and address search remembers and their file "NmAd.shc": the current conditions
// as entry 0 and the history after them.
#pragma once

#include "search/DirHistory.h"

struct TNameSearchHistoryRec
{
    AnsiString Name; // at most 34 bytes
    qint32 MatchKind = 0;
    qint32 Fixed = 1;
    qint32 PhoneKinds = 0; // bit sum: 1 normal, 2 fax, 4 shared, 8 main line; 0 all four
    qint32 LegalForm = 0;
    AnsiString PeriodFrom, PeriodTo; // "yyyymm" or both empty
    qint32 PageSize = 20;
    qint32 AreaCount = 0, AreaKind = AreaKindCountry;
    qint32 Region = 0;
    TAreaCodeList AreaCodes;

    // Equal as the history compares: texts and area codes ignoring case, the fixed value left out.
    bool SameConditions(const TNameSearchHistoryRec& other) const;
    bool operator==(const TNameSearchHistoryRec&) const = default;
};

struct TNameSearchHistory
{
    TNameSearchHistoryRec current;
    QList<TNameSearchHistoryRec> entries; // newest first
};

class TNameHistoryFile
{
public:
    static const QString FileName; // "NmAd.shc"

    // Entry 0 becomes the current conditions and, with hisCount above 0, every entry read goes to the list
    // (at most hisCount, entry 0 always read). Reading stops at damage or an area count of 0 and keeps what
    // came before; no complete entry gives the defaults.
    static TNameSearchHistory Decode(const QByteArray& bytes, int hisCount);
    // Entry 0 from the current conditions, then history entries 1 and on.
    static QByteArray Encode(const TNameSearchHistory& history);

    static TNameSearchHistory Load(const QString& path, int hisCount);
    // false keeps the old file; error says why.
    static bool Save(const QString& path, const TNameSearchHistory& history, QString* error = nullptr);
};
