// The map request, the map programs, their presence checks and messages, the search decision the adaptors
// share, the coordinate units at each program's boundary, and the dispatch of a request to a program.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

// The map program of [COOPERATE] Map.
enum TMapSoft {
    msAtlasMate = 0,
    msProAtlas = 1,
    msProAtlasW = 2,
    msEmapZ = 3,
    msItsmoNavi = 4,
    msMapFan = 5,
    msMapFanNet = 6,
    msMapFanPlanner = 7,
    msMapple = 8,
    msGrandMap = 9,
    msGoogle = 10,
};
inline constexpr int MapSoftCount = 11;

// One map request. Coordinates are milliseconds of arc on the Tokyo datum, 0 for none.
struct TMapSearchParams
{
    // 0 coordinates first, 1 the program's other key first (the telephone for program 0, else the address).
    qint32 SearchKind = 0;
    quint32 Latitude = 0;
    quint32 Longitude = 0;
    QString Tel; // digits only
    QString Address;
    QString Spare;
    quint8 ExitHook = 0;                             // program 2: install the exit hook
    qint32 MapClass = 0;                             // program 8 version 1
    qint32 Zoom = 0;                                 // program 8 version 1
    qint32 Left = 0, Top = 0, Right = 0, Bottom = 0; // the calling window's bounds (program 8)

    bool HasCoordinates() const { return Latitude != 0 && Longitude != 0; }
};

// ---- The search decision ----

// 0 by coordinates, 1 by the key, 2 (kind 0) or 3 (kind 1) nothing to search, 4 nothing to search for a
// version 1 program that takes no address.
struct TMapSearchDecision
{
    int decision = 0;
    int kind = 0; // the kind the adaptor uses
};
TMapSearchDecision DecideMapSearch(int kind, bool hasCoordinates, bool hasKey);
// The decision of program soft's adaptor at version (programs 2 and 8 take no address at some versions);
// applies the kind used, and a cleared address, to params.
int DecideAdaptorSearch(TMapSoft soft, int version, TMapSearchParams& params);
// The launchers' kind adjustment of programs 3 and 9: kind 0 becomes 1 without both coordinates when an
// address is given; kind 1 becomes 0 without an address when both coordinates are given.
int AdjustLaunchKind(int kind, bool hasCoordinates, bool hasAddress);
// Programs 4 and 10: whether kind (0 or 1) searches by coordinates.
bool SearchesByCoordinates(int kind, bool hasCoordinates, bool hasAddress);

// ---- Coordinate units ----

// Program 0: degrees, minutes, seconds and milliseconds.
struct TDmsWords
{
    quint16 degrees = 0, minutes = 0, seconds = 0, milliseconds = 0;
};
TDmsWords MillisecondsToDms(quint32 ms);
quint32 DmsToMilliseconds(const TDmsWords& dms);
// Program 2: "degrees/minutes/milliseconds of the minute" ("35/40/12345"), empty for 0.
QString MillisecondsToDmText(quint32 ms);
// Program 3: tenths of a second.
quint32 MillisecondsToTenthSeconds(quint32 ms);
// Program 4: seconds, "%.2f".
QString MillisecondsToSecondsText(quint32 ms);
// Programs 5, 6, 7: 1/256 second, and back.
quint32 MillisecondsTo256ths(quint32 ms);
quint32 From256thsToMilliseconds(quint32 value);
// Program 9: degrees, "%.6f".
QString MillisecondsToDegreesText(quint32 ms);
double MillisecondsToDegrees(quint32 ms);

// ---- Presence checks ----

// The message shown when program soft is missing.
QString MapMissingMessage(int soft);

// What the presence checks found, kept for the run and overwritten by the next check.
struct TMapPresence
{
    QString atlasMateWorkFolder;
    int proAtlasWVersion = 0;
    QString proAtlasWInstallPath;
    QString proAtlasWAppPath;
    int mappleVersion = 0;
    QString mappleFolder;
};
extern TMapPresence MapPresence;

// The drive whose volume label (trimmed, lower case) is "atlasmate", or none.
std::optional<QString> FindLabelledDrive(const QStringList& drives,
                                         const std::function<QString(const QString&)>& labelOf,
                                         const QString& label);
bool IsAtlasMateInstalled();
bool IsProAtlasInstalled();
bool IsProAtlasWInstalled();
bool IsMapFanInstalled();
// Programs 6 and 7: their cooperation object answers that it is available.
bool IsMapFanNetInstalled();
bool IsMapFanPlannerInstalled();
bool IsMappleInstalled(const QString& programFolder);
// The version the kick program answers to "-V" (its version × 100 on the standard output); 0 for none.
int MappleKickVersion(const QString& kick, const QString& folder);

// ---- Adaptors and the dispatch ----

// The adaptor of a class-adapted program (0, 1, 2, 5, 6, 7, 8), created for one dispatch.
class TMapAdaptor
{
public:
    virtual ~TMapAdaptor() = default;
    virtual void SetProgramFolder(const QString& folder) { (void)folder; }
    virtual void SetOwnerWindow(QWidget* owner) { (void)owner; }
    virtual void SetHelpContext(int context) { (void)context; }
    // Copies the request and decides the search (DecideAdaptorSearch).
    virtual int SetSearchParams(const TMapSearchParams& params) = 0;
    // Runs the map modally.
    virtual void Show() = 0;
    // The position the map ended on, for the programs that hand one back.
    virtual std::optional<std::pair<quint32, quint32>> Position() const { return std::nullopt; }
};
using TMapAdaptorFactory = std::function<std::unique_ptr<TMapAdaptor>(QWidget* owner)>;
// Registers (or with an empty function removes) the adaptor of soft.
void RegisterMapAdaptor(TMapSoft soft, TMapAdaptorFactory factory);
// The availability query of the cooperation objects of programs 6 and 7; none registered means absent.
void RegisterMapCooperation(TMapSoft soft, std::function<bool()> available);

enum class TMapCaller { Card, Route };
enum class TMapDispatchResult {
    Missing,         // the program's message was shown
    Shown,           // the adaptor ran, or the launcher started
    NothingToSearch, // program 0 from the card: nothing to search (the card asks for a telephone number)
};
// Runs request params on program soft for caller (owner of every window and message). For the card,
// params' coordinates take the position the programs 0, 1, 2, 5 and 8 hand back.
TMapDispatchResult DispatchMap(int soft, QWidget* owner, const QString& programFolder, int helpContext,
                               TMapSearchParams& params, TMapCaller caller);
