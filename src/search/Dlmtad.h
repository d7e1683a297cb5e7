// The coordinate lookup through "Dlmtad.dll": reference-counted loading, the lookup, and the rebuild of a
// result's address and position from its answer.
#pragma once

#include "DicRecords.h"
#include "search/DicWrapper.h"
#include "platform/Cp932.h"

#include <QString>

// Codes of the unit besides the library's own.
enum : int {
    MtAdrsOk = 0,
    MtAdrsLoadError = 101,
    MtAdrsEntryPointError = 102,
    MtAdrsNotLoaded = 103,
};

// Takes one reference; the first loads folder + "Dlmtad.dll" and binds DLMTAdrs. Answers 0, 101 (a box
// says so; the reference stays counted) or 102 (a box says so; the reference is dropped, the module freed).
// Every load is paired with FreeMtAdrsLibrary, whatever it answered.
int LoadMtAdrsLibrary(const QString& folder);
// Drops one reference; the last frees the module. Nothing when no reference is held.
void FreeMtAdrsLibrary();
// 103 while the module is not loaded; else the zeroed answer filled by DLMTAdrs and its result. Any thread.
int MtAdrsLookup(const AnsiString& code, TMtAdrsAnswerRec& answer, const QString& dicFolder);

// The 11-character code of a result: JIS code (at most 6), block code (at most 7), then zeros.
AnsiString MtAdrsCode(const AnsiString& jisCode, const AnsiString& blockCode);

// The parts of a result that a successful lookup replaces.
struct TMtAdrsFields
{
    AnsiString postalCode; // hyphenated
    AnsiString prefKana, prefName, cityKana, cityName;
    AnsiString townKana, townName; // oaza followed by aza
    qint32 latitude = 0, longitude = 0;
};

// The fields of an answer as the result builders take them.
TMtAdrsFields MtAnswerFields(const TMtAdrsAnswerRec& answer);
// Puts the looked-up address (unless only the position is wanted) and position into a result record.
template <typename Rec, size_t K, size_t N>
void ApplyMtAdrsFields(Rec& r, char (&townKana)[K], char (&townName)[N], const TMtAdrsFields& f, bool address)
{
    if (address) {
        SetField(r.PostalCode, f.postalCode);
        SetField(r.PrefKana, f.prefKana);
        SetField(r.PrefName, f.prefName);
        SetField(r.CityKana, f.cityKana);
        SetField(r.CityName, f.cityName);
        SetField(townKana, f.townKana);
        SetField(townName, f.townName);
    }
    r.Latitude = f.latitude;
    r.Longitude = f.longitude;
}

// Looks the code up with the module already loaded; false when the lookup answers anything but 0.
bool MtAdrsFields(const AnsiString& jisCode, const AnsiString& blockCode, const QString& dicFolder,
                  TMtAdrsFields& out);
// The same with a reference held around the lookup (loaded from dllFolder).
bool LookupMtAdrsFields(const QString& dllFolder, const AnsiString& jisCode, const AnsiString& blockCode,
                        const QString& dicFolder, TMtAdrsFields& out);
