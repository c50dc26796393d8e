// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The one way work that may hang in the file system reaches a thread.
//
// A mount whose server is gone (a hard NFS or SMB mount, sshfs, a hung FUSE
// process) blocks the calls on it for minutes or for ever, and the kernel
// lets no one break such a call off. So every such call is handed over to a
// worker thread, named by the mount it touches, and the caller waits for it
// up to a deadline. A call that misses its deadline is left behind on its
// thread and its mount counts as stuck: until that call returns, new calls
// on the mount fail at once, without a thread, and calls queued for it fail
// too. Calls within their deadline share a fixed number of threads; a thread
// left behind is replaced, and ends when its call returns. A call handed
// over from within a call (the folder loader's job asking whether its
// folder is readable, a folder read asking its links) is served by threads
// of its own depth, so a worker never waits for a thread it holds itself:
// the program nests one deep, so at most twice the shared number serve,
// and the threads of the deeper levels end when they have been idle a while.
// Work never runs on the caller's thread, also when no thread can be
// started: the call then fails as one that does not answer.
//
// Every thread started here is counted (workerThreads), and so are the calls
// still running (busyWorkers), those left behind among them.

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace Lirabel {

// Threads that serve calls within their deadline, at each depth of hand-over.
inline constexpr int SharedWorkers = 8;

struct HandedOverCall;

// A call handed over; its waiter decides when to give up on it.
class Handover
{
public:
    // Starts work for the mount; an empty handover when the mount is stuck
    // or no thread could be had.
    [[nodiscard]] static Handover start(const QString &mount, std::function<void()> work);

    [[nodiscard]] bool started() const { return bool(mCall); }

    // True once the work has finished; false when it has not, deadline after
    // it began to run: it is then left behind and its mount stuck. A call
    // still queued deadline after it was handed over is dropped.
    [[nodiscard]] bool wait(std::chrono::milliseconds deadline);

    // For a waiter with a clock of its own: a running call is left behind
    // (its mount stuck), a queued one dropped. True when it had finished.
    bool giveUp();

    // True when the call will never run: it was dropped, or failed while
    // queued because its mount got stuck.
    [[nodiscard]] bool hasFailed() const;

private:
    std::shared_ptr<HandedOverCall> mCall;
};

// For a worker that goes from mount to mount (the folder walk's reader):
// what it touches from now on, so that a wait that gives up on it marks that
// mount. False, and nothing changed, when that mount is stuck or the worker
// has been left behind already.
[[nodiscard]] bool nowTouching(const QString &mount);

// True while a call on the mount runs past its deadline.
[[nodiscard]] bool isStuck(const QString &mount);

// Runs work on a thread of its own, counted with the others, for work that
// only waits for handed-over calls and does none itself; false when no
// thread could be started.
[[nodiscard]] bool runWaiter(std::function<void()> work);

// Threads started here that have not ended, idle ones among them.
[[nodiscard]] int workerThreads();

// Calls that have not returned yet, those left behind among them.
[[nodiscard]] int busyWorkers();

// The mount point of the mount that holds the path, by the kernel's mount
// table alone: no call on the path itself. A relative path counts from the
// working folder; links are not resolved.
[[nodiscard]] QString mountOf(const QString &path);

// The mount points a person browses (drives.h: isBrowsable), absolute and
// clean, from the mount table.
[[nodiscard]] QStringList browsableMountPoints();

// True when the path, absolute and clean, is a mount point.
[[nodiscard]] bool isMountPoint(const QString &absolute);

// The path made absolute from the working folder and clean, links not resolved.
[[nodiscard]] QString absolutePath(const QString &path);

} // namespace Lirabel
