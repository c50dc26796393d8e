#pragma once

// File-system calls that may never return. A mount whose server is gone (a
// hard NFS or SMB mount, sshfs, a hung FUSE process) blocks statfs, stat,
// opendir and readdir for minutes or for ever, and the kernel lets no one
// break such a call off. So these calls run on a thread of their own, and the
// caller waits for the answer up to a deadline. A call that misses it is left
// behind: nobody waits for its thread, and what it returns later is dropped.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace Lirabel {

// How long a folder or drive may take to answer before it counts as not answering.
inline constexpr std::chrono::milliseconds FileSystemDeadline{2000};

// Runs work on a thread of its own; true once it has finished, false when the
// deadline passed first. A call that takes longer than a moment lets the
// calling thread go on with its events while it waits: windows repaint,
// timers run and the close box works, but nothing the user does starts
// while the call is pending (clicks are dropped, typed keys arrive after
// it). When the application quits during the wait, the program ends at once.
[[nodiscard]] bool runWithDeadline(std::function<void()> work, std::chrono::milliseconds deadline = FileSystemDeadline);

// The same for work with a result; nothing when the deadline passed first.
template<typename Result>
[[nodiscard]] std::optional<Result> callWithDeadline(std::function<Result()> work,
                                                     std::chrono::milliseconds deadline = FileSystemDeadline)
{
    // Shared with the thread, which may write to it long after the caller gave up.
    auto result = std::make_shared<std::optional<Result>>();
    if (!runWithDeadline([result, work = std::move(work)] { *result = work(); }, deadline))
        return std::nullopt;
    return std::move(*result);
}

// Runs work on a thread of its own that nobody waits for; false when no
// thread could be started.
[[nodiscard]] bool runDetached(std::function<void()> work);

// Threads started here that have not returned yet, those left behind at a
// deadline among them.
[[nodiscard]] int runningWorkers();

// True while a call waits for its worker with the events running.
[[nodiscard]] bool waitingForWorker();

} // namespace Lirabel
