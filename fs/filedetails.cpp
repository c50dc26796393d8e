// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/filedetails.h"

#include "fs/deadlinecall.h"
#include "fs/handover.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Lirabel {

namespace {

// Files taken at a time: few enough that both threads end together, enough
// that taking them costs nothing beside the calls.
constexpr size_t Batch = 64;

FileDetail detailAt(int folderFd, const char *name)
{
    FileDetail detail;
#if defined(Q_OS_LINUX)
    // Only what the list shows is asked for.
    struct statx info;
    if (::statx(folderFd, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_SIZE | STATX_MTIME, &info) == 0) {
        detail.answer = S_ISREG(info.stx_mode) ? FileDetail::Answer::File : FileDetail::Answer::NotAFile;
        detail.size = qint64(info.stx_size);
        detail.modified = info.stx_mtime.tv_sec;
    } else {
        detail.answer = errno == EACCES ? FileDetail::Answer::Denied : FileDetail::Answer::Failed;
    }
#elif defined(Q_OS_UNIX)
    struct stat info;
    if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        detail.answer = S_ISREG(info.st_mode) ? FileDetail::Answer::File : FileDetail::Answer::NotAFile;
        detail.size = info.st_size;
        detail.modified = info.st_mtim.tv_sec;
    } else {
        detail.answer = errno == EACCES ? FileDetail::Answer::Denied : FileDetail::Answer::Failed;
    }
#else
    Q_UNUSED(folderFd)
    Q_UNUSED(name)
#endif
    return detail;
}

// What the caller and its helper share; the helper holds it too, as it may
// be left behind and return after the caller has gone.
struct SharedAsking
{
    SharedAsking(int fd, QByteArray block, std::vector<qsizetype> at)
        : folderFd(fd)
        , names(std::move(block))
        , offsets(std::move(at))
        , details(offsets.size())
    {
    }
    ~SharedAsking()
    {
#if defined(Q_OS_UNIX)
        if (folderFd >= 0)
            ::close(folderFd);
#endif
    }
    SharedAsking(const SharedAsking &) = delete;
    SharedAsking &operator=(const SharedAsking &) = delete;

    // Batches until none is left, asked below fd; answered after each file.
    template<typename Answered>
    void ask(int fd, const Answered &answered)
    {
        const size_t batches = (offsets.size() + Batch - 1) / Batch;
        for (size_t batch = nextBatch++; batch < batches; batch = nextBatch++) {
            const size_t end = std::min(offsets.size(), (batch + 1) * Batch);
            for (size_t i = batch * Batch; i < end; ++i)
                details[i] = detailAt(fd, names.constData() + offsets[i]);
            answered();
        }
    }

    const int folderFd; // a copy, so a helper left behind never asks another folder
    const QByteArray names;
    const std::vector<qsizetype> offsets;
    std::vector<FileDetail> details; // each batch written by the one thread that took it
    std::atomic<size_t> nextBatch{0};
    std::atomic<size_t> helperAnswers{0}; // the caller's sign that its helper still answers
    std::mutex mutex;
    std::condition_variable helperDone;
    bool helping = false;
    bool over = false; // every batch taken: a helper that starts now has nothing to do
};

} // namespace

bool fileDetails(int folderFd, const QString &path, const QByteArray &names, const std::vector<qsizetype> &offsets,
                 size_t shareFrom, const std::function<void()> &answered, std::vector<FileDetail> &details)
{
    details.clear();
    const bool share = !offsets.empty() && offsets.size() >= shareFrom && std::thread::hardware_concurrency() >= 2;
#if defined(Q_OS_UNIX)
    const int ownFd = share ? ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0) : -1;
#else
    const int ownFd = -1;
#endif
    if (ownFd < 0) {
        details.reserve(offsets.size());
        for (const qsizetype at : offsets) {
            details.push_back(detailAt(folderFd, names.constData() + at));
            if (details.size() % Batch == 0)
                answered(); // a clock read for each file would cost more than its call
        }
        answered();
        return true;
    }
    const auto shared = std::make_shared<SharedAsking>(ownFd, names, offsets);
    Handover helper = Handover::start(mountOf(path), [shared] {
        {
            const std::lock_guard lock(shared->mutex);
            if (shared->over)
                return;
            shared->helping = true;
        }
#if defined(Q_OS_UNIX)
        // The folder opened anew: two threads counting their uses of one
        // open folder would wait for each other at every call.
        const int ownOpen = ::openat(shared->folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        shared->ask(ownOpen >= 0 ? ownOpen : shared->folderFd,
                    [&shared] { shared->helperAnswers.fetch_add(1, std::memory_order_relaxed); });
        if (ownOpen >= 0)
            ::close(ownOpen);
#endif
        {
            const std::lock_guard lock(shared->mutex);
            shared->helping = false;
        }
        shared->helperDone.notify_all();
    });
    shared->ask(folderFd, answered);
    std::unique_lock lock(shared->mutex);
    shared->over = true;
    // Only a batch the helper has taken is waited for, as long as it answers;
    // one not yet begun is left to it, done.
    size_t seen = shared->helperAnswers.load(std::memory_order_relaxed);
    auto lastAnswer = std::chrono::steady_clock::now();
    while (shared->helping) {
        shared->helperDone.wait_for(lock, std::chrono::milliseconds(100));
        const size_t now = shared->helperAnswers.load(std::memory_order_relaxed);
        if (now != seen) {
            seen = now;
            lastAnswer = std::chrono::steady_clock::now();
            answered();
        } else if (shared->helping && std::chrono::steady_clock::now() - lastAnswer >= FileSystemDeadline) {
            lock.unlock();
            helper.giveUp();
            return false;
        }
    }
    details = std::move(shared->details);
    return true;
}

} // namespace Lirabel
