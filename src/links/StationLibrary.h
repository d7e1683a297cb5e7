// The station library "Dlstinf.dll" as the route front end uses it: loaded per window with the loader's
// boxes, counted calls (count first, then the rows) and the call-error box.
#pragma once

#include "core/SharedLibrary.h"

#include "StationLibApi.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class TStationLibrary
{
public:
    // The entry points each window binds.
    enum class Use { Main, Picker };
    enum : int { Loaded = 0, LoadFailed = 101, EntryPointMissing = 102 };

    explicit TStationLibrary(Use use);
    ~TStationLibrary();
    TStationLibrary(const TStationLibrary&) = delete;
    TStationLibrary& operator=(const TStationLibrary&) = delete;

    // Loads folder + "Dlstinf.dll"; a failure shows its box and leaves the library unloaded.
    int Load(const QString& folder);
    bool IsLoaded() const { return m_loaded; }

    // The calls answer the library's code (0, 8 or an error); they show no box.
    int SearchFromPoint(uint32_t latitude, uint32_t longitude, const QString& dicFolder,
                        std::array<TStationRec, StationSearchBufferCount>& out);
    // Rows whose reading begins with kana (CP932 half-width katakana), appended to out.
    int ListByKana(const QByteArray& kana, const QString& dicFolder, std::vector<TStationRec>& out);
    // Line names (trimmed) of the station with that serial.
    int Lines(int32_t serial, const QString& dicFolder, QStringList& out);

    // "<function> (Dlstinf.dll) Call Error\r\nRC = <code>" in the application's box.
    static void ShowCallError(const char* function, int code);

private:
    TSharedLibrary m_library;
    bool m_loaded = false;
};

// The trimmed text of a fixed CP932 field that need not end with a zero.
QString StationText(const char* field, int size);
template <size_t N>
QString StationText(const char (&field)[N])
{
    return StationText(field, int(N));
}
