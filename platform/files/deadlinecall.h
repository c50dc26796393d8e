// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

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

#include <QString>

class QEvent;
class QObject;

namespace Lirabel {

// How long a folder or drive may take to answer before it counts as not answering.
inline constexpr std::chrono::milliseconds FileSystemDeadline{2000};

// Hands work over for the mount that holds path (handover.h); true once it
// has finished, false when the deadline passed first or the mount is stuck. A
// call that takes longer than a moment lets the calling thread go on with its
// events while it waits: windows repaint, timers run and the close box works,
// but nothing the user does in the windows that were open starts while the
// call is pending (clicks are dropped, typed keys and shortcuts arrive after
// it). A window that opens during the wait, a message box say, takes input as
// usual. When the application quits during the wait, the program ends at once.
//
// The waiting rule for everything the event loop runs meanwhile (queued
// calls, timers, screen-reader actions): whatever waits reads nothing after
// the wait that the wait could have changed, and applies its result only
// while it still answers the current request; work that would change what a
// waiting call goes on with is put off with whenSettled().
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

// True while a call waits for its worker with the events running.
[[nodiscard]] bool waitingForWorker();

// Runs action on the context's thread once no call is pending, after the
// handler that waits has returned; actions put off during one wait run in
// the order they came. Dropped when the context is destroyed first.
void whenSettled(QObject *context, std::function<void()> action);

// What the window layer tells the wait about the user's input. Without it,
// all input waits while a call is pending, and held keys are posted again.
struct InputRules
{
    // Taken when a wait starts: true for a receiver whose input waits, that
    // is one in a window open at that moment.
    std::function<std::function<bool(QObject *receiver)>()> heldBack;
    // Hands on a key or shortcut held back, with what a key the user typed
    // gets (shortcuts, mnemonics).
    std::function<void(QObject *receiver, std::unique_ptr<QEvent> key)> replayKey;
};
void setInputRules(InputRules rules);

} // namespace Lirabel
