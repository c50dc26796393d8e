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

std::optional<FolderRead> readFolder(int parent, const QByteArray &name, const QString &path, bool top, bool details,
                                     bool hidden, size_t shareFrom, const std::function<void()> &answered, int &error)
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
    // A folder's size in bytes holds its entries, a few bytes beside each
    // name on the usual file systems: a large folder gets room for them at
    // once, not grown and copied over and over. Room not used is never touched.
    constexpr qint64 LargeFolder = qint64(1) << 16;
    constexpr qint64 MostRoom = qint64(1) << 24;
    if (info.st_size >= LargeFolder) {
        const qint64 room = std::min(qint64(info.st_size), MostRoom);
        read.names.reserve(qsizetype(room));
        read.files.reserve(size_t(room / 16));
    }
    const auto take = [&read](const FolderEntry &entry) {
        if (entry.kind == EntryKind::File) {
            WalkedFile file{read.names.size(), qsizetype(std::strlen(entry.name)), entry.size, entry.modified};
            read.names.append(entry.name, file.length);
            read.files.push_back(file);
        } else if (!entry.linked) {
            read.folders.emplace_back(entry.name);
        }
    };
    const EntriesRead entries = readEntries(read.folder.get(), path, details, take, hidden, shareFrom, answered);
    if (!entries.complete)
        return std::nullopt;
    read.withoutDetails = entries.withoutDetails;
    read.leftOut = entries.leftOut;
    return read;
}

QString namesAsText(const QByteArray &names, std::vector<WalkedFile> &files)
{
    if (std::all_of(names.cbegin(), names.cend(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(names);
    QString text;
    text.reserve(names.size());
    for (WalkedFile &file : files) {
        const QString name = nameFromBytes(QByteArrayView(names).sliced(file.at, file.length));
        file.at = text.size();
        file.length = name.size();
        text.append(name);
    }
    return text;
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
