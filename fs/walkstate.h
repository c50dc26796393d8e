// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The lists' walk (folderwalk.h) as its readers and its walker share it:
// the folders known, read and still to read, and the room ahead.

#include "fs/folderwalk.h"
#include "fs/handover.h"
#include "fs/walkread.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace Lirabel::Walking {

using Clock = std::chrono::steady_clock;

// One folder of the tree, from the time its parent has been read and so it
// is known, until the walker has handed it out and its subfolders are read.
struct Node
{
    enum class State { Pending, Reading, Read };

    QByteArray name; // below its parent; for the top folder, as given
    QStringList relativePath;
    QString where; // absolute, as the mounts see it
    QString mount;
    std::shared_ptr<Node> parent; // keeps its folder open while this one is read
    std::vector<quint32> order;   // its place among its parent's subfolders, and theirs, from the top
    State state = State::Pending;
    int reader = 0;
    Clock::time_point since; // when its reader began
    // When the system last answered its reader, unlocked (Clock's ticks; 0: not yet).
    std::atomic<Clock::rep> lastAnswer{0};

    // Once read: the folder, or why it is left out.
    std::shared_ptr<Descriptor> descriptor;
    dev_t device = 0;
    ino_t inode = 0;
    std::optional<WalkedFolder> walked; // as prepared for the visitor
    size_t files = 0;                   // as read
    std::optional<WalkProblem> problem;
    int error = 0;       // of an unreadable folder: errno where it could not be opened, else 0
    bool silent = false; // left out without a word: another file system, or its own ancestor
    std::vector<std::shared_ptr<Node>> subfolders;
    size_t unopened = 0; // subfolders not yet opened below it

    // Where its reader's deadline counts from.
    [[nodiscard]] Clock::time_point lastSign() const
    {
        return std::max(since, Clock::time_point(Clock::duration(lastAnswer.load(std::memory_order_relaxed))));
    }
};

// Folders in the order they are handed out: depth first, each folder's
// subfolders in their order.
struct InWalkOrder
{
    bool operator()(const std::shared_ptr<Node> &a, const std::shared_ptr<Node> &b) const
    {
        return a->order < b->order;
    }
};

// How far the readers may run ahead of the walk: folders, and files in them.
// Memory so stays with the largest folders, whatever the tree.
constexpr size_t AheadFolders = 256;
constexpr size_t AheadFiles = 16384;
// Each side wakes the other only for a good part of that: on a busy machine
// every wake-up may wait for its turn on a processor, and a tree of small
// folders would otherwise pay one at every folder. A waiting reader is woken
// once that much room is free again, a waiting walker once that much is read.
constexpr size_t WakeFolders = AheadFolders / 4;
constexpr size_t WakeFiles = AheadFiles / 4;

// The walk as its readers and the walker share it. The readers (two for a
// tree, on more than one processor) take the folders known and not yet
// read, always the first in walk order, so the system's answers for the
// next folders overlap with each other and with the listing of this one,
// and no folder costs a thread of its own. A reader that does not answer in time is left behind
// with its folder; a new one takes its place. Held by every reader, so one
// left behind may return at any time, also after the walk has ended, and
// finds that it is no longer wanted.
struct Walk
{
    std::mutex mutex;
    std::condition_variable forWalker; // a folder read, or a reader's deadline to watch
    std::condition_variable forReader; // a folder to read, room ahead, or the end
    WalkSettings settings;             // a copy: a reader left behind may outlive the caller's
    QString topPath;

    bool ended = false;   // the walker has gone
    std::set<int> wanted; // the readers that are
    std::set<std::shared_ptr<Node>, InWalkOrder> pending;
    std::set<std::shared_ptr<Node>> reading;
    std::shared_ptr<Node> awaited; // what the walker waits for
    dev_t topDevice = 0;
    size_t aheadFolders = 0; // read and not yet handed out
    size_t aheadFiles = 0;
    int readersForRoom = 0;  // waiting for room ahead
    int readersForWork = 0;  // waiting for a folder to read
    bool walkerIdle = false; // waiting with no deadline, as nothing is being read
};

inline bool roomAgain(const Walk &walk)
{
    return walk.aheadFolders + WakeFolders <= AheadFolders && walk.aheadFiles + WakeFiles <= AheadFiles;
}

// Starts the reader of that number; it reads until it is no longer wanted
// or the walk has ended.
[[nodiscard]] Handover startReader(const std::shared_ptr<Walk> &walk, int reader);

} // namespace Lirabel::Walking
