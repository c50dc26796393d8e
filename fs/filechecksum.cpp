// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/filechecksum.h"

#include "fs/contentreaders.h"
#include "fs/deadlinecall.h"
#include "fs/folderfilesjob.h"
#include "fs/handover.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Lirabel {

namespace {

using Clock = std::chrono::steady_clock;

// What one file's read shows its waiter.
struct Progress
{
    // When the read (or the open) now running began, in the clock's ticks;
    // 0 while the worker hashes or waits for nothing.
    std::atomic<Clock::rep> readingSince{0};
    std::atomic<bool> started{false};
    bool done = false; // under the job's lock
};

// Each read asks for at most this much, and the deadline holds for each.
constexpr size_t ReadSize = 1024 * 1024;

// How often the waiter looks at reads that may have stopped answering.
constexpr std::chrono::milliseconds LookEvery{50};

FileChecksum hashOne(const ContentReaders &readers, int folder, const QByteArray &name, Progress &progress)
{
    FileChecksum sum;
    const auto reading = [&progress] {
        progress.readingSince = std::max<Clock::rep>(Clock::now().time_since_epoch().count(), 1);
    };
    const auto idle = [&progress] { progress.readingSince = 0; };
    reading();
    // Not blocking: a FIFO among the files would wait for a writer for ever.
    const int fd = ::openat(folder, name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    idle();
    if (fd < 0)
        return sum;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return sum;
    }
    ::fcntl(fd, F_SETFL, 0);
#if defined(POSIX_FADV_SEQUENTIAL)
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    // One block per worker thread, kept: a fresh megabyte for every file
    // would be mapped and faulted in again each time.
    thread_local std::unique_ptr<unsigned char[]> block(new unsigned char[ReadSize]);
    void *const state = readers.beginSha256();
    bool good = state != nullptr;
    while (good) {
        reading();
        const ssize_t got = ::read(fd, block.get(), ReadSize);
        idle();
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            good = got == 0;
            break;
        }
        good = readers.addToSha256(state, block.get(), size_t(got));
    }
    if (state)
        sum.known = readers.endSha256(state, sum.digest) && good;
    ::close(fd);
    return sum;
}

} // namespace

QByteArray FileChecksum::hex() const
{
    if (!known)
        return {};
    return QByteArray(reinterpret_cast<const char *>(digest.data()), qsizetype(digest.size())).toHex();
}

FileChecksum checksumFromHex(QByteArrayView hex)
{
    FileChecksum sum;
    if (hex.size() != 64
        || !std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return sum;
    const auto value = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (size_t i = 0; i < sum.digest.size(); ++i)
        sum.digest[i] =
            static_cast<unsigned char>(value(hex[qsizetype(2 * i)]) << 4 | value(hex[qsizetype(2 * i + 1)]));
    sum.known = true;
    return sum;
}

bool isEmptyFileChecksum(const FileChecksum &checksum)
{
    static const FileChecksum empty =
        checksumFromHex("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    return checksum.known && checksum.digest == empty.digest;
}

std::vector<FileChecksum> readChecksums(int folderDescriptor, const QString &mount, const QStringList &names)
{
    const ContentReaders *readers = contentReaders();
    const auto job = folderFilesJob<FileChecksum>(folderDescriptor, names);
    const size_t count = job->results.size();
    if (!readers || job->folder < 0 || count == 0)
        return std::move(job->results);

    struct Active
    {
        size_t file;
        Handover call;
        std::shared_ptr<Progress> progress;
    };
    std::vector<Active> active;
    std::vector<bool> answered(count, true);
    size_t next = 0;
    const auto deadline = std::chrono::duration_cast<Clock::duration>(FileSystemDeadline).count();
    while (next < count || !active.empty()) {
        while (next < count && active.size() < FilesInFlight) {
            const size_t i = next++;
            auto progress = std::make_shared<Progress>();
            Handover call = Handover::start(mount, [job, progress, i, readers] {
                progress->started = true;
                FileChecksum sum = hashOne(*readers, job->folder, job->names[i], *progress);
                const std::lock_guard lock(job->mutex);
                job->results[i] = sum;
                progress->done = true;
                job->finished.notify_all();
            });
            if (call.started())
                active.push_back({i, std::move(call), std::move(progress)});
            else
                answered[i] = false; // its mount is stuck
        }
        if (active.empty())
            continue;
        std::vector<Active> given;
        {
            std::unique_lock lock(job->mutex);
            job->finished.wait_for(lock, LookEvery, [&active] {
                return std::any_of(active.cbegin(), active.cend(), [](const Active &a) { return a.progress->done; });
            });
            const Clock::rep now = Clock::now().time_since_epoch().count();
            std::erase_if(active, [&](Active &a) {
                if (a.progress->done)
                    return true;
                const Clock::rep since = a.progress->readingSince;
                const bool hung = since != 0 && now - since > deadline;
                if (!hung && (a.progress->started || !a.call.hasFailed()))
                    return false;
                answered[a.file] = false;
                given.push_back(std::move(a));
                return true;
            });
        }
        // Outside the job's lock: giving up takes the workers' lock.
        for (Active &a : given)
            a.call.giveUp();
    }
    const std::lock_guard lock(job->mutex);
    std::vector<FileChecksum> results = job->results;
    for (size_t i = 0; i < count; ++i) {
        if (!answered[i])
            results[i] = FileChecksum{{}, false, false};
    }
    return results;
}

} // namespace Lirabel
