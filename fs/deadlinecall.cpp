// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/deadlinecall.h"

#include "fs/handover.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace Lirabel {

bool runWithDeadline(const QString &path, std::function<void()> work, std::chrono::milliseconds deadline)
{
    // The work's own end, not its call's: the call counts as finished only
    // once its captures are gone, and the answer is ready before that.
    struct Done
    {
        std::mutex mutex;
        bool done = false;
    };
    const auto done = std::make_shared<Done>();
    Handover handover = Handover::start(mountOf(path), [done, work = std::move(work)] {
        work();
        const std::lock_guard lock(done->mutex);
        done->done = true;
    });
    if (handover.wait(deadline))
        return true;
    const std::lock_guard lock(done->mutex);
    return done->done;
}

int leaveWithoutWindow(int exitCode)
{
    if (busyWorkers() == 0)
        return exitCode;
    std::fflush(stdout);
    std::fflush(stderr);
#if defined(Q_OS_UNIX)
    ::close(STDOUT_FILENO);
    ::close(STDERR_FILENO);
#endif
    std::_Exit(exitCode);
}

} // namespace Lirabel
