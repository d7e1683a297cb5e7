// Linux locations of the system folders, overridable by environment.
#include "platform/SystemPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace SystemPaths {

QString WithSlash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(u'/'))
        return path;
    return path + u'/';
}

QString UserAppData()
{
    if (qEnvironmentVariableIsSet("TOVAREL_USER_APPDATA"))
        return WithSlash(qEnvironmentVariable("TOVAREL_USER_APPDATA"));
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty())
        return WithSlash(xdg);
    return WithSlash(QDir::homePath() + QStringLiteral("/.local/share"));
}

QString CommonAppData()
{
    if (qEnvironmentVariableIsSet("TOVAREL_COMMON_APPDATA"))
        return WithSlash(qEnvironmentVariable("TOVAREL_COMMON_APPDATA"));
    const QFileInfo varLib(QStringLiteral("/var/lib"));
    if (varLib.isDir() && varLib.isWritable())
        return QStringLiteral("/var/lib/");
    return UserAppData();
}

QString RegistryFile()
{
    if (qEnvironmentVariableIsSet("TOVAREL_REGISTRY"))
        return qEnvironmentVariable("TOVAREL_REGISTRY");
    return QStringLiteral("/etc/Morvane/registry.ini");
}

QStringList DiscDrives()
{
    QStringList drives;
    if (qEnvironmentVariableIsSet("TOVAREL_DRIVES")) {
        for (const QString& d : qEnvironmentVariable("TOVAREL_DRIVES").split(u':', Qt::SkipEmptyParts)) {
            QString folder = d;
            while (folder.size() > 1 && folder.endsWith(u'/'))
                folder.chop(1);
            drives.append(folder);
        }
        return drives;
    }
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QByteArray type = volume.fileSystemType();
        if (type == "iso9660" || type == "udf")
            drives.append(volume.rootPath());
    }
    return drives;
}

std::optional<QString> DriveVolumeLabel(const QString& drive)
{
    const QFileInfo info(drive);
    if (drive.isEmpty() || !info.isDir() || !info.isReadable())
        return std::nullopt;
    const QStorageInfo storage(info.absoluteFilePath());
    if (!storage.isValid() || !storage.isReady())
        return std::nullopt;
    if (QDir::cleanPath(storage.rootPath()) != QDir::cleanPath(info.absoluteFilePath()))
        return info.fileName();
    return storage.name();
}

QString ExecutableFolder()
{
    return WithSlash(QCoreApplication::applicationDirPath());
}

} // namespace SystemPaths
