// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/walkread.h"

#include "core/bytenames.h"
#include "fs/folderentries.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Lirabel {

Descriptor::Descriptor(int fd)
    : mFd(fd)
{
}

Descriptor::~Descriptor()
{
    if (mFd >= 0)
        ::close(mFd);
}

namespace {

// The name's length in bytes; ascii tells whether all of them are ASCII.
qsizetype nameLength(const char *name, bool &ascii)
{
    uchar seen = 0;
    const char *end = name;
    for (; *end; ++end)
        seen |= uchar(*end);
    ascii = seen < 0x80;
    return end - name;
}

} // namespace

std::optional<FolderRead> readFolder(int parent, const QByteArray &name, const QString &path, bool top,
                                     const WalkSettings &settings, const std::function<void()> &answered,
                                     EntryBlock &block, int &error)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (top ? 0 : O_NOFOLLOW);
    FolderRead read;
    error = 0;
    read.folder = Descriptor(::openat(parent >= 0 ? parent : AT_FDCWD, name.constData(), flags));
    if (read.folder.get() < 0) {
        error = errno;
        return std::nullopt;
    }
    struct stat info;
    if (::fstat(read.folder.get(), &info) != 0) {
        error = errno;
        return std::nullopt;
    }
    read.device = info.st_dev;
    read.inode = info.st_ino;
    if (settings.opened)
        settings.opened(qint64(info.st_size));
    // A folder's size in bytes holds its entries: on the usual file systems
    // each takes eight bytes or more beside its name, which as text takes two
    // bytes a character. A large folder so gets room for its names and entries
    // at once, not grown and copied over and over; a folder of short names
    // still grows once. A small one grows from room for a few dozen names;
    // more would spread the folders read ahead over more pages.
    constexpr qint64 LargeFolder = qint64(1) << 16;
    constexpr qint64 MostRoom = qint64(1) << 24;
    const qint64 bytes = info.st_size >= LargeFolder ? std::min(qint64(info.st_size), MostRoom) : 2048;
    read.names.reserve(qsizetype(bytes / 2));
    read.files.reserve(size_t(bytes / 32));
    size_t partFrom = 0;
    const auto take = [&read, &settings, &partFrom](const FolderEntry &entry) {
        if (entry.kind == EntryKind::File) {
            bool ascii = true;
            const qsizetype length = nameLength(entry.name, ascii);
            const qsizetype at = read.names.size();
            // Nearly every name is ASCII, which is its own text.
            if (ascii)
                read.names.append(QLatin1StringView(entry.name, length));
            else
                read.names.append(nameFromBytes(QByteArrayView(entry.name, length)));
            read.files.push_back({at, read.names.size() - at, entry.size, entry.modified});
            if (settings.partRead && read.files.size() - partFrom >= settings.partFiles) {
                settings.partRead(read.readAhead, read.names, read.files, partFrom);
                partFrom = read.files.size();
            }
        } else if (!entry.linked) {
            read.folders.emplace_back(entry.name);
        }
    };
    const EntriesRead entries = readEntries(read.folder.get(), path, settings.sizesAndTimes, take, settings.hidden,
                                            settings.shareFrom, answered, &block);
    if (!entries.complete)
        return std::nullopt;
    read.withoutDetails = entries.withoutDetails;
    read.leftOut = entries.leftOut;
    return read;
}

void allowManyOpenFolders()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace Lirabel
