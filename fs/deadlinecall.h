// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// File-system calls that may never return, waited for to a deadline. A mount
// whose server is gone blocks its calls for minutes or for ever, and the
// kernel lets no one break such a call off. So these calls are handed over
// to the shared workers (handover.h), and the caller waits for the answer up
// to a deadline. A call that misses it is left behind: nobody waits for its
// thread, and what it returns later is dropped.
//
// The wait blocks its thread: it is for workers and for the lists without a
// window. The window never waits; it loads folders in the background
// (folderloader.h).

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace Lirabel {

// How long a folder or drive may take to answer before it counts as not answering.
inline constexpr std::chrono::milliseconds FileSystemDeadline{2000};

// Hands work over for the mount that holds path; true once it has finished,
// false when the deadline passed first or the mount is stuck.
[[nodiscard]] bool runWithDeadline(const QString &path, std::function<void()> work,
                                   std::chrono::milliseconds deadline = FileSystemDeadline);

// The same for work with a result; nothing when the deadline passed first.
template<typename Result>
[[nodiscard]] std::optional<Result> callWithDeadline(const QString &path, std::function<Result()> work,
                                                     std::chrono::milliseconds deadline = FileSystemDeadline)
{
    // Shared with the thread, which may write to it long after the caller gave up.
    auto result = std::make_shared<std::optional<Result>>();
    if (!runWithDeadline(
            path, [result, work = std::move(work)] { *result = work(); }, deadline))
        return std::nullopt;
    return std::move(*result);
}

// What a program without windows returns from main(). While a thread still
// hangs in a file-system call, the kernel keeps the process, and with it
// every file it holds open, until that call returns: so the program then
// flushes its own output, closes standard output and error, which ends a
// pipe reading them, and ends at once. Streams a hung thread may hold (a
// tag read's) are never flushed: that would wait for its lock.
[[nodiscard]] int leaveWithoutWindow(int exitCode);

} // namespace Lirabel
