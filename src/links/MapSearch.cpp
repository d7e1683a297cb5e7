// The map request's decisions, units and presence checks, and the dispatch to the map programs.
#include "links/MapSearch.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "links/MapLaunch.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>
#include <QWidget>

#include <array>

TMapPresence MapPresence;

namespace {

const QString Hklm = QStringLiteral("HKEY_LOCAL_MACHINE\\");
const QString Hkcu = QStringLiteral("HKEY_CURRENT_USER\\");

std::array<TMapAdaptorFactory, MapSoftCount> adaptors;
std::array<std::function<bool()>, MapSoftCount> cooperation;

QString withSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

// ---- The search decision ----

TMapSearchDecision DecideMapSearch(int kind, bool hasCoordinates, bool hasKey)
{
    if (kind == 0) {
        if (hasCoordinates)
            return {0, 0};
        return hasKey ? TMapSearchDecision{1, 1} : TMapSearchDecision{2, 0};
    }
    if (hasKey)
        return {1, 1};
    return hasCoordinates ? TMapSearchDecision{0, 0} : TMapSearchDecision{3, 1};
}

int DecideAdaptorSearch(TMapSoft soft, int version, TMapSearchParams& params)
{
    // Program 2 at version 1 and program 8 below version 4 take no address.
    const bool takesNoAddress = (soft == msProAtlasW && version == 1) || (soft == msMapple && version < 4);
    if (takesNoAddress && params.SearchKind == 1)
        params.Address.clear();
    const QString& key = soft == msAtlasMate ? params.Tel : params.Address;
    TMapSearchDecision d = DecideMapSearch(params.SearchKind, params.HasCoordinates(), !key.isEmpty());
    if (takesNoAddress && d.decision == 3 && version == 1)
        d.decision = 4;
    params.SearchKind = d.kind;
    return d.decision;
}

int AdjustLaunchKind(int kind, bool hasCoordinates, bool hasAddress)
{
    if (kind == 0 && !hasCoordinates && hasAddress)
        return 1;
    if (kind == 1 && !hasAddress && hasCoordinates)
        return 0;
    return kind;
}

bool SearchesByCoordinates(int kind, bool hasCoordinates, bool hasAddress)
{
    if (kind == 0)
        return hasCoordinates || !hasAddress;
    return !hasAddress && hasCoordinates;
}

// ---- Coordinate units ----

TDmsWords MillisecondsToDms(quint32 ms)
{
    TDmsWords d;
    d.degrees = quint16(ms / 3600000);
    d.minutes = quint16(ms / 60000 % 60);
    d.seconds = quint16(ms / 1000 % 60);
    d.milliseconds = quint16(ms % 1000);
    return d;
}

quint32 DmsToMilliseconds(const TDmsWords& dms)
{
    return quint32(dms.degrees) * 3600000 + quint32(dms.minutes) * 60000 + quint32(dms.seconds) * 1000 +
           dms.milliseconds;
}

QString MillisecondsToDmText(quint32 ms)
{
    if (ms == 0)
        return QString();
    return QString::asprintf("%u/%.2u/%.5u", ms / 3600000, ms / 60000 % 60, ms % 60000);
}

quint32 MillisecondsToTenthSeconds(quint32 ms)
{
    return ms / 100;
}

QString MillisecondsToSecondsText(quint32 ms)
{
    return QString::asprintf("%.2f", ms / 1000.0);
}

quint32 MillisecondsTo256ths(quint32 ms)
{
    return quint32(RoundHalfAway(double(ms) * 256 / 1000));
}

quint32 From256thsToMilliseconds(quint32 value)
{
    return quint32(RoundHalfAway(double(value) * 1000 / 256));
}

double MillisecondsToDegrees(quint32 ms)
{
    return ms / 3600000.0;
}

QString MillisecondsToDegreesText(quint32 ms)
{
    return QString::asprintf("%.6f", MillisecondsToDegrees(ms));
}

// ---- Presence checks ----

QString MapMissingMessage(int soft)
{
    static const std::array<const char16_t*, MapSoftCount> messages = {
        u"AtlasMate4/5のどちらのCD-ROMも見つかりません  ",
        u"プロアトラス2002がインストールされていません  ",
        u"プロアトラスＷ～Ｗ３/SV～SV7のいずれもインストールされていません  ",
        u"電子地図帳Ｚ[zi]Ⅱ～５のいずれもインストールされていません  ",
        u"いつもNAVIがインストールされていません  ",
        u"MapFanⅣ/Ⅴのどちらもインストールされていません  ",
        u"MapFan.netがインストールされていません  ",
        u"MapFan PLANNER1/2がインストールされていません  ",
        u"スーパーマップル・デジタル Ver.1～17のいずれもインストールされていません  ",
        u"グランマップがインストールされていません  ",
        u"Google マップが呼び出せません  ",
    };
    return soft >= 0 && soft < MapSoftCount ? QString::fromUtf16(messages[size_t(soft)]) : QString();
}

std::optional<QString> FindLabelledDrive(const QStringList& drives,
                                         const std::function<QString(const QString&)>& labelOf,
                                         const QString& label)
{
    for (const QString& drive : drives)
        if (labelOf(drive).trimmed().toLower() == label)
            return drive;
    return std::nullopt;
}

bool IsAtlasMateInstalled()
{
    for (const char* version : {"5.0", "4.0"}) {
        const QString key = Hklm + QStringLiteral("SOFTWARE\\SSY\\AtlasMate95\\") + QLatin1String(version) +
                            QStringLiteral("\\program");
        const QString exe = Registry::ReadString(key, QStringLiteral("exe")).trimmed();
        if (!exe.isEmpty()) {
            MapPresence.atlasMateWorkFolder = withSlash(QFileInfo(exe).path()) + QStringLiteral("dtmp/");
            return true;
        }
    }
    const auto drive = FindLabelledDrive(
        DriveList.mid(0, DriveCount), [](const QString& d) { return QStorageInfo(d).name(); },
        QStringLiteral("atlasmate"));
    if (!drive)
        return false;
    MapPresence.atlasMateWorkFolder = withSlash(*drive) + QStringLiteral("dtmp/");
    return true;
}

bool IsProAtlasInstalled()
{
    for (const char* name : {"Rdw70", "Rdw60", "Rdw50", "Rdw40", "Rdw30"})
        if (!Registry::SubKeys(Hklm + QStringLiteral("SOFTWARE\\ALPS\\") + QLatin1String(name)).isEmpty())
            return true;
    return false;
}

bool IsProAtlasWInstalled()
{
    static const std::array<const char*, 5> keys = {"ALPS\\PROATLAS", "ALPS\\PROATLASW2", "ALPS\\PROATLASW3",
                                                    "ALPS\\PROATLASSV", "Alps_Mapping_K.K.\\PROATLASSV"};
    for (int version = 5; version >= 1; --version) {
        const QString key = Hklm + QStringLiteral("SOFTWARE\\") + QLatin1String(keys[size_t(version - 1)]);
        const QString installPath = Registry::ReadString(key, QStringLiteral("installpath"));
        const QString appPath = Registry::ReadString(key, QStringLiteral("AppPath"));
        if (!installPath.isEmpty() && QFileInfo(installPath).isDir() && !appPath.isEmpty() &&
            QFileInfo(appPath).isFile()) {
            MapPresence.proAtlasWVersion = version;
            MapPresence.proAtlasWInstallPath = installPath;
            MapPresence.proAtlasWAppPath = appPath;
            return true;
        }
    }
    return false;
}

bool IsMapFanInstalled()
{
    QStringList names = Registry::SubKeys(Hklm + QStringLiteral("SOFTWARE\\Increment P Corporation\\MapFan"));
    names.sort();
    // A name that is no number is passed over.
    for (auto it = names.crbegin(); it != names.crend(); ++it) {
        bool ok = false;
        const double version = it->trimmed().toDouble(&ok);
        if (ok && version >= 4)
            return true;
    }
    return false;
}

bool IsMapFanNetInstalled()
{
    return cooperation[msMapFanNet] && cooperation[msMapFanNet]();
}

bool IsMapFanPlannerInstalled()
{
    return cooperation[msMapFanPlanner] && cooperation[msMapFanPlanner]();
}

int MappleKickVersion(const QString& kick, const QString& folder)
{
    // Exit codes are 8 bits here: the version × 100 comes as a number on the standard output.
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(kick, {QStringLiteral("-V")});
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return 0;
    }
    bool ok = false;
    const int value = QString::fromLatin1(process.readAllStandardOutput()).trimmed().toInt(&ok);
    return ok && value > 0 ? value / 100 : 0;
}

bool IsMappleInstalled(const QString& programFolder)
{
    const QString kick = programFolder + QStringLiteral("MappleKick.exe");
    if (RunProgram(kick, {QStringLiteral("-I")}, programFolder, false, 10) == 0) {
        MapPresence.mappleVersion = MappleKickVersion(kick, programFolder);
        MapPresence.mappleFolder = QString();
        return true;
    }
    const QString path = Registry::ReadString(
        Hkcu + QStringLiteral("Software\\Super Mapple\\Version 1.0.1R\\Mapple\\App"), QStringLiteral("Path"));
    if (path.isEmpty() || !QFileInfo(path).isDir() ||
        !QFileInfo(QDir(path).filePath(QStringLiteral("Mapple.exe"))).isFile())
        return false;
    MapPresence.mappleVersion = 1;
    MapPresence.mappleFolder = withSlash(path);
    return true;
}

// ---- Adaptors and the dispatch ----

void RegisterMapAdaptor(TMapSoft soft, TMapAdaptorFactory factory)
{
    adaptors[size_t(soft)] = std::move(factory);
}

void RegisterMapCooperation(TMapSoft soft, std::function<bool()> available)
{
    cooperation[size_t(soft)] = std::move(available);
}

namespace {

bool isPresent(int soft, const QString& programFolder)
{
    switch (soft) {
    case msAtlasMate:
        return IsAtlasMateInstalled();
    case msProAtlas:
        return IsProAtlasInstalled();
    case msProAtlasW:
        return IsProAtlasWInstalled();
    case msMapFan:
        return IsMapFanInstalled();
    case msMapFanNet:
        return IsMapFanNetInstalled();
    case msMapFanPlanner:
        return IsMapFanPlannerInstalled();
    case msMapple:
        return IsMappleInstalled(programFolder);
    }
    return false;
}

bool launch(int soft, const TMapSearchParams& params)
{
    switch (soft) {
    case msEmapZ:
        return LaunchEmapZ(params);
    case msItsmoNavi:
        return LaunchItsmoNavi(params);
    case msGrandMap:
        return LaunchGrandMap(params);
    case msGoogle:
        return OpenGoogleMaps(params);
    }
    return false;
}

bool handsPositionBack(int soft)
{
    return soft == msAtlasMate || soft == msProAtlas || soft == msProAtlasW || soft == msMapFan ||
           soft == msMapple;
}

} // namespace

TMapDispatchResult DispatchMap(int soft, QWidget* owner, const QString& programFolder, int helpContext,
                               TMapSearchParams& params, TMapCaller caller)
{
    // The hourglass until the map window is up.
    std::optional<TBusyCursor> busy(std::in_place);
    const auto missing = [&] {
        MessageBoxPos(owner, MapMissingMessage(soft), ProductTitle,
                      MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return TMapDispatchResult::Missing;
    };
    if (soft == msEmapZ || soft == msItsmoNavi || soft == msGrandMap || soft == msGoogle) {
        TMapSearchParams request = params;
        if (soft == msGoogle && caller == TMapCaller::Card) {
            // The card always asks the web map by address.
            request.SearchKind = 1;
            request.Latitude = request.Longitude = 0;
        }
        return launch(soft, request) ? TMapDispatchResult::Shown : missing();
    }
    if (soft < 0 || soft >= MapSoftCount || !isPresent(soft, programFolder) || !adaptors[size_t(soft)])
        return missing();

    if (soft == msProAtlasW)
        params.ExitHook = 1;
    if (soft == msMapple) {
        params.MapClass = -1;
        params.Zoom = 300;
        if (owner) {
            const QRect bounds = owner->frameGeometry();
            params.Left = bounds.left();
            params.Top = bounds.top();
            params.Right = bounds.right() + 1;
            params.Bottom = bounds.bottom() + 1;
        }
    }
    std::unique_ptr<TMapAdaptor> adaptor = adaptors[size_t(soft)](owner);
    if (soft == msAtlasMate || soft == msProAtlasW || soft == msMapple)
        adaptor->SetProgramFolder(programFolder);
    if (soft == msProAtlas || soft == msMapFan)
        adaptor->SetHelpContext(helpContext);
    else
        adaptor->SetOwnerWindow(owner);
    const int decision = adaptor->SetSearchParams(params);
    if (soft == msAtlasMate && caller == TMapCaller::Card && (decision == 2 || decision == 3))
        return TMapDispatchResult::NothingToSearch;
    busy.reset();
    adaptor->Show();
    if (caller == TMapCaller::Card && handsPositionBack(soft)) {
        if (const auto position = adaptor->Position()) {
            params.Latitude = position->first;
            params.Longitude = position->second;
        }
    }
    return TMapDispatchResult::Shown;
}
