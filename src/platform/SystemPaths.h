// Where the system's folders and files are on Linux, with the environment overrides tests and scripted runs use.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace SystemPaths {

// The common application-data folder with a final "/", or "" when it cannot be obtained
// (TOVAREL_COMMON_APPDATA, else /var/lib when writable, else the user's data folder).
QString CommonAppData();
// The user's application-data folder with a final "/" (TOVAREL_USER_APPDATA, else $XDG_DATA_HOME or ~/.local/share).
QString UserAppData();
// The registry stand-in file (TOVAREL_REGISTRY, else /etc/Morvane/registry.ini).
QString RegistryFile();
// Disc drives: mounted CD/DVD folders without a final "/" (TOVAREL_DRIVES, ":"-separated, else mounted
// iso9660/udf volumes).
QStringList DiscDrives();
// The volume label of a disc drive folder: the file system's label at a mount point, the folder's own name
// for a folder that is no mount point; nothing when the folder cannot be read (no disc).
std::optional<QString> DriveVolumeLabel(const QString& drive);
// Folder of the running executable with a final "/".
QString ExecutableFolder();
// path with exactly one final "/".
QString WithSlash(const QString& path);

} // namespace SystemPaths
