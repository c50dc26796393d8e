// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/files/folderentries.h"

#include <QByteArray>

#include <cerrno>
#include <memory>
#include <vector>

#if defined(Q_OS_UNIX)
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Lirabel {

#if defined(Q_OS_UNIX)

namespace {

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

} // namespace

EntriesRead readEntries(int folderFd, const QString &path, bool details,
                        const std::function<void(const FolderEntry &entry)> &take)
{
    EntriesRead read;
    // The stream gets a descriptor of its own; the folder's stays open for its caller.
    const int streamFd = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (streamFd < 0)
        return read;
    const std::unique_ptr<DIR, DirCloser> dir(fdopendir(streamFd));
    if (!dir) {
        close(streamFd);
        return read;
    }
    std::vector<QByteArray> links;
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                return read;
            break;
        }
        if (entry->d_name[0] == '.')
            continue;
        switch (entry->d_type) {
        case DT_DIR:
            take({EntryKind::Folder, entry->d_name, false, -1, 0});
            break;
        case DT_REG: {
            if (!details) {
                take({EntryKind::File, entry->d_name, false, -1, 0});
                break;
            }
            struct stat info;
            if (fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
                if (S_ISREG(info.st_mode))
                    take({EntryKind::File, entry->d_name, false, info.st_size, info.st_mtim.tv_sec});
            } else if (errno == EACCES) {
                // The entry says it is a file; only its size and time are hidden.
                ++read.withoutDetails;
                take({EntryKind::File, entry->d_name, false, -1, 0});
            }
            break;
        }
        case DT_LNK:
        case DT_UNKNOWN:
            links.emplace_back(entry->d_name);
            break;
        default:
            break;
        }
    }
    read.links = links.size();
    if (!links.empty()) {
        const std::vector<LinkTarget> targets = linkTargets(folderFd, path, links);
        for (size_t i = 0; i < links.size(); ++i) {
            const LinkTarget &target = targets[i];
            if (target.denied)
                ++read.leftOut;
            else if (target.kind != EntryKind::Other)
                take({target.kind, links[i].constData(), target.isLink, details ? target.size : -1,
                      details ? target.modified : 0});
        }
    }
    read.complete = true;
    return read;
}

#else

EntriesRead readEntries(int, const QString &, bool, const std::function<void(const FolderEntry &entry)> &)
{
    return {};
}

#endif

} // namespace Lirabel
