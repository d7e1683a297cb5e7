// Volume space from statvfs and file-system kinds from the mount table.
#include "platform/DiskSpace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <sys/statvfs.h>

namespace DiskSpace {

namespace {

TSpaceSource& spaceSource()
{
    static TSpaceSource source;
    return source;
}

TTypeSource& typeSource()
{
    static TTypeSource source;
    return source;
}

} // namespace

TVolumeSpace Query(const QString& path)
{
    if (spaceSource())
        return spaceSource()(path);
    if (!QFileInfo(path).isDir())
        return {};
    struct statvfs st = {};
    if (::statvfs(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    const qint64 unit = qint64(st.f_frsize ? st.f_frsize : st.f_bsize);
    return {unit, qint64(st.f_bavail) * unit};
}

void SetSpaceSource(TSpaceSource source)
{
    spaceSource() = std::move(source);
}

QString NearestExistingFolder(const QString& path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return {};
    QString folder = QDir::cleanPath(path);
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return {};
        folder = parent;
    }
    return folder;
}

QByteArray FileSystemType(const QString& path)
{
    const QString folder = NearestExistingFolder(path);
    if (folder.isEmpty())
        return {};
    if (typeSource())
        return typeSource()(folder);
    return QStorageInfo(folder).fileSystemType();
}

void SetTypeSource(TTypeSource source)
{
    typeSource() = std::move(source);
}

bool IsNetworkFolder(const QString& path)
{
    static const QByteArrayList network = {"nfs",  "nfs4",       "cifs", "smb3",  "smbfs",
                                           "ncpfs", "fuse.sshfs", "9p",   "afs",   "ceph",
                                           "fuse.rclone", "davfs", "fuse.davfs2", "coda"};
    return network.contains(FileSystemType(path));
}

} // namespace DiskSpace
