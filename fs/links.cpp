// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/links.h"

#include "core/bytenames.h"
#include "fs/handover.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Lirabel {

#if defined(Q_OS_UNIX)

namespace {

// Follows links, so a broken link is Other.
LinkTarget targetAt(int dirFd, const char *name)
{
    LinkTarget target;
    struct stat info;
    if (fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        target.denied = errno == EACCES;
        return target;
    }
    if (!S_ISLNK(info.st_mode))
        target.isLink = false;
    else if (fstatat(dirFd, name, &info, 0) != 0)
        return target;
    if (S_ISREG(info.st_mode)) {
        target.kind = EntryKind::File;
        target.size = info.st_size;
        target.modified = info.st_mtim.tv_sec;
    } else if (S_ISDIR(info.st_mode)) {
        target.kind = EntryKind::Folder;
    }
    return target;
}

// The mount the entry's target lies on, from the link's own text, which
// lies in the folder and so on the folder's mount, which answers.
QString targetMount(int dirFd, const QString &folder, const char *name)
{
    char target[4096];
    const ssize_t length = readlinkat(dirFd, name, target, sizeof target);
    if (length <= 0 || size_t(length) >= sizeof target)
        return mountOf(folder); // no link: an entry of unknown type
    const QString text = nameFromBytes(QByteArrayView(target, length));
    return mountOf(text.startsWith(QLatin1Char('/')) ? text : folder + QLatin1Char('/') + text);
}

// Shared by the calls, which may outlive the question.
struct Answers
{
    Answers(int descriptor, size_t count)
        : fd(descriptor)
        , targets(count)
    {
    }
    ~Answers() { close(fd); }
    Answers(const Answers &) = delete;
    Answers &operator=(const Answers &) = delete;

    const int fd; // the folder's own, for as long as a call may use it
    std::mutex mutex;
    std::vector<LinkTarget> targets;
};

} // namespace

std::vector<LinkTarget> linkTargets(int dirFd, const QString &folder, const std::vector<QByteArray> &names)
{
    std::vector<LinkTarget> targets(names.size());
    const int fd = fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return targets;
    const auto answers = std::make_shared<Answers>(fd, names.size());
    std::vector<Handover> calls;
    calls.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        calls.push_back(Handover::start(targetMount(fd, folder, names[i].constData()), [answers, i, name = names[i]] {
            const LinkTarget target = targetAt(answers->fd, name.constData());
            const std::lock_guard lock(answers->mutex);
            answers->targets[i] = target;
        }));
    }
    const auto until = std::chrono::steady_clock::now() + AllLinksWait;
    std::vector<bool> answered(names.size(), false);
    for (size_t i = 0; i < calls.size(); ++i) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        answered[i] = left.count() > 0 ? calls[i].wait(std::min(LinkWait, left)) : calls[i].giveUp();
    }
    const std::lock_guard lock(answers->mutex);
    for (size_t i = 0; i < names.size(); ++i) {
        if (answered[i])
            targets[i] = answers->targets[i];
    }
    return targets;
}

#else

std::vector<LinkTarget> linkTargets(int, const QString &, const std::vector<QByteArray> &names)
{
    return std::vector<LinkTarget>(names.size());
}

#endif

} // namespace Lirabel
