#include "platform/qt/qtvolumes.h"

#include "platform/files/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>

namespace Lirabel {

namespace {

bool isPseudoFileSystem(const QByteArray &type)
{
    static const QSet<QByteArray> pseudo{
        "proc",      "sysfs",      "cgroup",      "cgroup2",  "devtmpfs", "devpts",   "tmpfs",    "ramfs",
        "mqueue",    "securityfs", "debugfs",     "tracefs",  "pstore",   "bpf",      "configfs", "fusectl",
        "hugetlbfs", "autofs",     "binfmt_misc", "efivarfs", "nsfs",     "squashfs",
    };
    return pseudo.contains(type);
}

bool isKernelFolder(const QString &mountPoint)
{
    return isSameOrBelow(mountPoint, QStringLiteral("/proc")) || isSameOrBelow(mountPoint, QStringLiteral("/sys"))
        || isSameOrBelow(mountPoint, QStringLiteral("/dev"));
}

} // namespace

QList<Volume> QtVolumes::mountedVolumes() const
{
    QList<Volume> volumes;
    QSet<QString> seen;
    const QString root = QDir::rootPath();
    volumes.append(Volume{root, QString()});
    seen.insert(root);
    const QList<QStorageInfo> mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &storage : mounted) {
        if (storage.isRoot())
            volumes.first().label = storage.name();
        const QString mountPoint = storage.rootPath();
        if (seen.contains(mountPoint) || isPseudoFileSystem(storage.fileSystemType()) || isKernelFolder(mountPoint))
            continue;
        // Single files mounted over others (as in containers) are no drives.
        if (!QFileInfo(mountPoint).isDir())
            continue;
        seen.insert(mountPoint);
        volumes.append(Volume{mountPoint, storage.name()});
    }
    std::sort(volumes.begin() + 1, volumes.end(),
              [](const Volume &a, const Volume &b) { return a.mountPoint < b.mountPoint; });
    return volumes;
}

bool QtVolumes::isReadable(const QString &path) const
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

} // namespace Lirabel
