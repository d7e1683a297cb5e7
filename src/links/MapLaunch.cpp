// The command-line map programs and the web map.
#include "links/MapLaunch.h"

#include "core/ShellSub.h"
#include "links/WebLinks.h"
#include "platform/Registry.h"

#include <QFileInfo>

namespace {

QString withSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// A registry path value, its double quotes removed.
QString unquoted(const QString& value)
{
    QString v = value.trimmed();
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
        v = v.mid(1, v.size() - 2);
    return v;
}

bool start(const std::optional<TMapLaunchCommand>& command)
{
    if (!command)
        return false;
    RunProgram(command->program, command->arguments, command->folder, true, 1);
    return true;
}

} // namespace

std::optional<TMapLaunchCommand> EmapZCommand(const TMapSearchParams& params)
{
    const QString program = unquoted(
        Registry::ReadString(QStringLiteral("HKEY_CURRENT_USER\\Software\\ZENRIN\\EmapZ\\InstallInfo"),
                             QStringLiteral("Directory")));
    if (program.isEmpty())
        return std::nullopt;
    const int kind = AdjustLaunchKind(params.SearchKind, params.HasCoordinates(), !params.Address.isEmpty());
    return TMapLaunchCommand{program,
                             {QString::number(MillisecondsToTenthSeconds(params.Longitude)),
                              QString::number(MillisecondsToTenthSeconds(params.Latitude)),
                              QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                              QStringLiteral("0"), QStringLiteral("2"), QString::number(kind),
                              params.Address},
                             QString()};
}

std::optional<TMapLaunchCommand> ItsmoNaviCommand(const TMapSearchParams& params)
{
    const QString folder = unquoted(Registry::ReadString(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\ZENRIN\\ZmapNet\\PC"), QStringLiteral("InstallPath")));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return std::nullopt;
    const QString program = withSlash(folder) + QStringLiteral("bin/its-moNavi.exe");
    if (!QFileInfo(program).isFile())
        return std::nullopt;
    if (params.SearchKind != 0 && params.SearchKind != 1)
        return std::nullopt;
    TMapLaunchCommand command{program, {}, QString()};
    if (SearchesByCoordinates(params.SearchKind, params.HasCoordinates(), !params.Address.isEmpty()))
        command.arguments = {QStringLiteral("1"), QStringLiteral("tokyo"), QStringLiteral("second"),
                             MillisecondsToSecondsText(params.Longitude) + u'/' +
                                 MillisecondsToSecondsText(params.Latitude)};
    else
        command.arguments = {QStringLiteral("3"), params.Address};
    command.arguments << QStringLiteral("g") << QStringLiteral("1") << QStringLiteral("0");
    return command;
}

std::optional<TMapLaunchCommand> GrandMapCommand(const TMapSearchParams& params)
{
    const QString key = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\MapNet\\GrandMap");
    if (!Registry::KeyExists(key))
        return std::nullopt;
    // The file itself is not looked for; an empty value names the root folder's program.
    const QString folder =
        withSlash(unquoted(Registry::ReadString(key, QStringLiteral("Install Directory"))));
    const QString program = folder + QStringLiteral("GrandMap.exe");
    const int kind = AdjustLaunchKind(params.SearchKind, params.HasCoordinates(), !params.Address.isEmpty());
    TMapLaunchCommand command{program, {}, folder};
    if (kind == 0)
        command.arguments = {QStringLiteral("/M"), MillisecondsToDegreesText(params.Latitude),
                             MillisecondsToDegreesText(params.Longitude)};
    else
        command.arguments = {QStringLiteral("/A"), params.Address};
    command.arguments << QStringLiteral("2500");
    return command;
}

bool LaunchEmapZ(const TMapSearchParams& params)
{
    return start(EmapZCommand(params));
}

bool LaunchItsmoNavi(const TMapSearchParams& params)
{
    return start(ItsmoNaviCommand(params));
}

bool LaunchGrandMap(const TMapSearchParams& params)
{
    return start(GrandMapCommand(params));
}

void TokyoToWgs84(long double& latitude, long double& longitude)
{
    const long double lat = latitude;
    const long double lon = longitude;
    latitude = lat - 0.00010695L * lat + 0.000017464L * lon + 0.0046017L;
    longitude = lon - 0.000046038L * lat - 0.000083043L * lon + 0.01004L;
}

std::optional<QString> GoogleMapsUrl(const TMapSearchParams& params)
{
    if (params.SearchKind != 0 && params.SearchKind != 1)
        return std::nullopt;
    QString query;
    if (SearchesByCoordinates(params.SearchKind, params.HasCoordinates(), !params.Address.isEmpty())) {
        long double latitude = MillisecondsToDegrees(params.Latitude);
        long double longitude = MillisecondsToDegrees(params.Longitude);
        TokyoToWgs84(latitude, longitude);
        query = QString::asprintf("%.6f,%.6f", double(latitude), double(longitude));
    } else {
        query = EncodeUrlUtf8(params.Address);
    }
    return WebLinks::MapEndpoint + QStringLiteral("/maps?q=") + query;
}

bool OpenGoogleMaps(const TMapSearchParams& params)
{
    const std::optional<QString> url = GoogleMapsUrl(params);
    if (!url)
        return false;
    // The desktop's handler opens it; a failure is not reported.
    ShellOpen(*url, QString(), QString(), true);
    return true;
}
