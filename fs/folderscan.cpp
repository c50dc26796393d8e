// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/folderscan.h"

#include "core/bytenames.h"
#include "fs/folderentries.h"

#include <QScopeGuard>

#include <memory>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#if defined(Q_OS_LINUX)
#include <linux/magic.h>
#include <sys/statfs.h>
#endif
#else
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace Lirabel {

#if defined(Q_OS_UNIX)

namespace {

// Whether a folder changed since it was read: adding, removing or renaming
// an entry sets its modification time, a change of the folder itself (its
// permissions) its change time.
struct Stamp
{
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const Stamp &other) const
    {
        return device == other.device && inode == other.inode && modified.tv_sec == other.modified.tv_sec
            && modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec
            && changed.tv_nsec == other.changed.tv_nsec;
    }
};

// Local file systems that set those times on every change, from a fine
// clock. Network and FUSE file systems, and /proc, whose folders change
// without a new time, are read every time.
bool keepsTimes([[maybe_unused]] int dirFd)
{
#if defined(Q_OS_LINUX)
    struct statfs info;
    if (fstatfs(dirFd, &info) != 0)
        return false;
    switch (info.f_type) {
    case EXT4_SUPER_MAGIC: // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
#else
    return false;
#endif
}

// The last folder read, for the next read of the same folder: the directory
// list and the file list read it one after the other, and the file list
// again at every key typed in the filter. A folder of a hundred thousand
// entries takes tens of milliseconds to read; seeing that it did not change
// takes one stat. The names of the kind the reader did not want are kept
// undecoded, each followed by a NUL, until a reader wants them.
struct Remembered
{
    QString path;
    Stamp stamp;
    FolderEntries entries;
    bool filesDecoded = false;
    bool foldersDecoded = false;
    QByteArray undecodedFiles;
    QByteArray undecodedFolders;
};

std::mutex rememberedMutex;

Remembered &remembered()
{
    static Remembered instance;
    return instance;
}

QStringList decodeNames(const QByteArray &names)
{
    QStringList decoded;
    decoded.reserve(names.count('\0'));
    for (qsizetype start = 0; start < names.size();) {
        const qsizetype end = names.indexOf('\0', start);
        decoded.append(nameFromBytes(QByteArrayView(names).sliced(start, end - start)));
        start = end + 1;
    }
    return decoded;
}

// The remembered entries when the folder has not changed since, with the
// wanted kinds decoded.
std::optional<FolderEntries> rememberedEntries(const QString &path, const Stamp &stamp, bool files, bool folders)
{
    const std::lock_guard lock(rememberedMutex);
    Remembered &last = remembered();
    if (last.path != path || !(last.stamp == stamp))
        return std::nullopt;
    if (files && !last.filesDecoded) {
        last.entries.files = decodeNames(std::exchange(last.undecodedFiles, {}));
        last.filesDecoded = true;
    }
    if (folders && !last.foldersDecoded) {
        last.entries.folders = decodeNames(std::exchange(last.undecodedFolders, {}));
        last.foldersDecoded = true;
    }
    FolderEntries entries;
    if (files)
        entries.files = last.entries.files;
    if (folders)
        entries.folders = last.entries.folders;
    return entries;
}

bool olderThan(const timespec &time, const timespec &reference)
{
    // The file system's clock ticks coarsely: a change in the same second
    // as the read might carry the time the folder already had.
    return time.tv_sec + 1 < reference.tv_sec;
}

} // namespace

std::optional<FolderEntries> scanFolder(const QString &path, ScanFor wanted)
{
    const bool files = wanted != ScanFor::Folders;
    const bool folders = wanted != ScanFor::Files;
    if (path.isEmpty())
        return std::nullopt;
    const int fd = open(nameBytes(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const auto closing = qScopeGuard([fd] { close(fd); });
    struct stat info;
    timespec now{};
    if (fstat(fd, &info) != 0 || clock_gettime(CLOCK_REALTIME, &now) != 0)
        return std::nullopt;
    const Stamp stamp{info.st_dev, info.st_ino, info.st_mtim, info.st_ctim};
    if (std::optional<FolderEntries> entries = rememberedEntries(path, stamp, files, folders))
        return entries;

    Remembered read{path, stamp, {}, files, folders, {}, {}};
    const auto take = [&read, files, folders](const FolderEntry &entry) {
        const char *name = entry.name;
        if (entry.kind == EntryKind::File) {
            if (files)
                read.entries.files.append(nameFromBytes(name));
            else
                read.undecodedFiles.append(name, qsizetype(std::strlen(name)) + 1);
        } else if (entry.kind == EntryKind::Folder) {
            if (folders)
                read.entries.folders.append(nameFromBytes(name));
            else
                read.undecodedFolders.append(name, qsizetype(std::strlen(name)) + 1);
        }
    };
    const EntriesRead entriesRead = readEntries(fd, path, false, take);
    if (!entriesRead.complete)
        return std::nullopt;
    read.entries.files.squeeze();
    read.entries.folders.squeeze();
    FolderEntries entries = read.entries;
    // A link's target may change without its folder changing.
    const bool keep =
        entriesRead.links == 0 && olderThan(stamp.modified, now) && olderThan(stamp.changed, now) && keepsTimes(fd);
    const std::lock_guard lock(rememberedMutex);
    remembered() = keep ? std::move(read) : Remembered{};
    return entries;
}

void keepFilesInOrder(const QString &path, const QStringList &scanned, const QStringList &ordered)
{
    const std::lock_guard lock(rememberedMutex);
    Remembered &last = remembered();
    // The same list, not only equal names: a later scan may have replaced it.
    if (last.path == path && last.filesDecoded && last.entries.files.constData() == scanned.constData()
        && last.entries.files.size() == ordered.size())
        last.entries.files = ordered;
}

bool isListableFolder(const QString &path)
{
    const QByteArray bytes = nameBytes(path);
    struct stat info;
    return !bytes.isEmpty() && stat(bytes.constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && access(bytes.constData(), R_OK | X_OK) == 0;
}

bool pathExists(const QString &path)
{
    struct stat info;
    return !path.isEmpty() && stat(nameBytes(path).constData(), &info) == 0;
}

#else

bool isListableFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

bool pathExists(const QString &path)
{
    return QFileInfo::exists(path);
}

std::optional<FolderEntries> scanFolder(const QString &path, ScanFor wanted)
{
    const bool files = wanted != ScanFor::Folders;
    const bool folders = wanted != ScanFor::Files;
    const QFileInfo folder(path);
    if (path.isEmpty() || !folder.isDir() || !folder.isReadable())
        return std::nullopt;
    FolderEntries entries;
    QDirIterator it(path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.fileName().startsWith(QLatin1Char('.')) || info.isHidden())
            continue;
        if (info.isDir()) {
            if (folders)
                entries.folders.append(info.fileName());
        } else if (info.isFile() && files) {
            entries.files.append(info.fileName());
        }
    }
    return entries;
}

// Nothing is remembered here.
void keepFilesInOrder(const QString &, const QStringList &, const QStringList &) {}

#endif

} // namespace Lirabel
