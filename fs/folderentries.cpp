// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/folderentries.h"

#include "core/fewbytes.h"
#include "fs/filedetails.h"

#include <QByteArray>

#include <cerrno>
#include <cstring>
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

// The folder's entries, a block at a time: straight from the kernel on
// Linux, on the folder's own descriptor; elsewhere through a stream of its own.
class EntryReader
{
public:
#if defined(Q_OS_LINUX)
    using Entry = struct dirent64;
#else
    using Entry = struct dirent;
#endif

    EntryReader(int folderFd, const std::function<void()> &answered, EntryBlock *block)
#if defined(Q_OS_LINUX)
        : mFd(folderFd)
        , mAnswered(answered)
        , mOwnBlock(block ? nullptr : std::make_unique<EntryBlock>())
        , mBlock(block ? block->data() : mOwnBlock->data()){}
#else
    {
        Q_UNUSED(answered)
        Q_UNUSED(block)
        // The stream gets a descriptor of its own; the folder's stays open for its caller.
        const int streamFd = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
        mDir = streamFd >= 0 ? fdopendir(streamFd) : nullptr;
        if (!mDir && streamFd >= 0)
            close(streamFd);
    }
    ~EntryReader()
    {
        if (mDir)
            closedir(mDir);
    }
#endif
        EntryReader(const EntryReader &) = delete;
    EntryReader &operator=(const EntryReader &) = delete;

    // The next entry; nullptr at the end, with failed() telling whether the
    // folder could not be read to it.
    const Entry *next()
    {
#if defined(Q_OS_LINUX)
        if (mAt >= mFilled) {
            const ssize_t filled = getdents64(mFd, mBlock, EntryBlock::Size);
            mAnswered();
            if (filled <= 0) {
                mFailed = filled < 0;
                return nullptr;
            }
            mFilled = size_t(filled);
            mAt = 0;
        }
        const auto *entry = reinterpret_cast<const Entry *>(mBlock + mAt);
        mAt += entry->d_reclen;
        return entry;
#else
        if (!mDir) {
            mFailed = true;
            return nullptr;
        }
        errno = 0;
        const Entry *entry = readdir(mDir);
        mFailed = !entry && errno != 0;
        return entry;
#endif
    }
    [[nodiscard]] bool failed() const
    {
        return mFailed;
    }

private:
#if defined(Q_OS_LINUX)
    int mFd;
    const std::function<void()> &mAnswered;
    std::unique_ptr<EntryBlock> mOwnBlock;
    char *mBlock;
    size_t mFilled = 0;
    size_t mAt = 0;
#else
    DIR *mDir = nullptr;
#endif
    bool mFailed = false;
};

} // namespace

EntriesRead readEntries(int folderFd, const QString &path, bool details,
                        const std::function<void(const FolderEntry &entry)> &take, bool hidden, size_t shareFrom,
                        const std::function<void()> &answered, EntryBlock *block)
{
    EntriesRead read;
    const std::function<void()> answer = answered ? answered : [] {};
    EntryReader entries(folderFd, answer, block);
    std::vector<QByteArray> links;
    // With details, the files are asked once the folder has been read, so
    // that a large one can share the asking.
    QByteArray files;
    std::vector<qsizetype> fileAt;
    if (details) {
        // Room for a folder of a hundred files, not grown name by name.
        files.reserve(2048);
        fileAt.reserve(128);
    }
    while (const EntryReader::Entry *entry = entries.next()) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (!hidden || name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
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
            const qsizetype at = files.size();
            const auto length = qsizetype(nameLength(name)) + 1;
            fileAt.push_back(at);
            files.resize(at + length);
            copyFewBytes(files.data() + at, name, size_t(length));
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
    if (entries.failed())
        return read;
    if (!fileAt.empty()) {
        std::vector<FileDetail> asked;
        if (!fileDetails(folderFd, path, files, fileAt, shareFrom, answer, asked))
            return read;
        for (size_t i = 0; i < asked.size(); ++i) {
            const FileDetail &detail = asked[i];
            const char *name = files.constData() + fileAt[i];
            if (detail.answer == FileDetail::Answer::File) {
                take({EntryKind::File, name, false, detail.size, detail.modified});
            } else if (detail.answer == FileDetail::Answer::Denied) {
                // The entry says it is a file; only its size and time are hidden.
                ++read.withoutDetails;
                take({EntryKind::File, name, false, -1, 0});
            }
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

EntriesRead readEntries(int, const QString &, bool, const std::function<void(const FolderEntry &entry)> &, bool, size_t,
                        const std::function<void()> &, EntryBlock *)
{
    return {};
}

#endif

} // namespace Lirabel
