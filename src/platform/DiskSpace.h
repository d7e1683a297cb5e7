// Free space, cluster size and file-system kind of the volume holding a folder, with seams for tests.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace DiskSpace {

struct TVolumeSpace
{
    qint64 clusterSize = 0; // bytes of one allocation block; 0 when unknown
    qint64 freeBytes = 0;   // bytes free for the user; 0 when unknown
};

// The volume's space (statvfs of path); zeros when path is no existing folder or cannot be asked.
TVolumeSpace Query(const QString& path);
// Replaces the answer of Query for tests (empty restores statvfs).
using TSpaceSource = std::function<TVolumeSpace(const QString& path)>;
void SetSpaceSource(TSpaceSource source);

// The nearest folder of path that exists (path itself, or the closest parent); empty when none.
QString NearestExistingFolder(const QString& path);
// The type of the file system holding the nearest existing folder of path ("ext4", "nfs", ...).
QByteArray FileSystemType(const QString& path);
// Replaces the answer of FileSystemType for tests (empty restores the mount table).
using TTypeSource = std::function<QByteArray(const QString& folder)>;
void SetTypeSource(TTypeSource source);
// True when the folder lies on a network file system (nfs, cifs, smb3, sshfs, ...).
bool IsNetworkFolder(const QString& path);

} // namespace DiskSpace
