// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/walkstate.h"

#include "core/bytenames.h"

namespace Lirabel::Walking {

namespace {

bool roomAhead(const Walk &walk)
{
    return walk.aheadFolders == 0 || (walk.aheadFolders < AheadFolders && walk.aheadFiles < AheadFiles);
}

// The walker, waiting for a folder, is woken once that one is read and a
// good part of what may be read ahead with it, or all there is to read.
void wakeWalker(Walk &walk)
{
    if (walk.awaited && walk.awaited->state == Node::State::Read
        && (walk.aheadFolders >= WakeFolders || walk.aheadFiles >= WakeFiles || walk.pending.empty()))
        walk.forWalker.notify_one();
}

// The next folder for a reader, or nothing for now.
std::shared_ptr<Node> nextToRead(const Walk &walk)
{
    if (walk.pending.empty())
        return nullptr;
    const std::shared_ptr<Node> &first = *walk.pending.begin();
    return roomAhead(walk) || first == walk.awaited ? first : nullptr;
}

// Reads it into block, unlocked; then, locked again, records what was read
// and the subfolders found. False when the reader is no longer wanted.
bool readNode(Walk &walk, int reader, Node &node, EntryBlock &block, std::unique_lock<std::mutex> &lock)
{
    const bool top = !node.parent;
    lock.unlock();
    // A folder on a mount that is stuck does not answer, at once.
    const bool answers = nowTouching(node.mount);
    std::optional<FolderRead> read;
    int error = 0;
    if (answers) {
        // The walker's deadline counts from the last answer: a large folder answers many times.
        const std::function<void()> answered = [&node] {
            node.lastAnswer.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
        };
        read = readFolder(top ? -1 : node.parent->descriptor->get(), node.name, node.where, top, walk.settings,
                          answered, block, error);
    }
    bool ownAncestor = false;
    if (read && !top) {
        for (const Node *above = node.parent.get(); above; above = above->parent.get())
            ownAncestor = ownAncestor || (above->device == read->device && above->inode == read->inode);
    }
    const bool deeper = walk.settings.maxDepth < 0 || node.relativePath.size() < walk.settings.maxDepth;
    QStringList subfolders;
    if (read && !ownAncestor && walk.settings.subfolders && deeper) {
        subfolders.reserve(qsizetype(read->folders.size()));
        for (const QByteArray &sub : read->folders)
            subfolders.append(nameFromBytes(sub));
        if (walk.settings.sortFolders && !subfolders.isEmpty())
            walk.settings.sortFolders(subfolders);
    }
    // The top folder is read before any other, and sets the device.
    const bool silent =
        read && (ownAncestor || (!top && walk.settings.oneFileSystem && read->device != walk.topDevice));
    std::optional<WalkedFolder> walked;
    size_t files = 0;
    if (read && !silent) {
        files = read->files.size();
        walked.emplace();
        walked->relativePath = node.relativePath;
        walked->names = std::move(read->names);
        walked->files = std::move(read->files);
        walked->readAhead = std::move(read->readAhead);
        walked->descriptor = walk.settings.keepOpen ? read->folder.get() : -1;
        walked->mount = node.mount;
        walked->withoutDetails = read->withoutDetails;
        walked->leftOut = read->leftOut;
        if (walk.settings.prepare)
            walk.settings.prepare(*walked);
    }
    // Closed by the reader that opened it, as soon as no one needs it: the
    // system frees what it keeps for reading a folder fastest on the
    // processor that read it.
    if (read && !walk.settings.keepOpen && subfolders.isEmpty())
        read->folder = Descriptor();
    lock.lock();
    if (!walk.wanted.count(reader) || walk.ended) {
        // Given up on: what was read is dropped, and its folder closed, without the lock.
        lock.unlock();
        read.reset();
        lock.lock();
        return false;
    }
    if (!read) {
        // A file that did not answer in time has left its mount stuck.
        node.problem = answers && !isStuck(node.mount) ? WalkProblem::Unreadable : WalkProblem::NoAnswer;
        node.error = error;
    } else {
        if (top)
            walk.topDevice = read->device;
        node.silent = silent;
        node.device = read->device;
        node.inode = read->inode;
        if (!node.silent) {
            if (read->folder.get() >= 0)
                node.descriptor = std::make_shared<Descriptor>(std::move(read->folder));
            node.walked = std::move(walked);
            node.files = files;
        }
    }
    if (!node.silent) {
        ++walk.aheadFolders;
        walk.aheadFiles += node.files;
    }
    for (qsizetype i = 0; !node.silent && i < subfolders.size(); ++i) {
        auto sub = std::make_shared<Node>();
        const QString &subName = subfolders.at(i);
        sub->name = nameBytes(subName);
        sub->relativePath = node.relativePath;
        sub->relativePath.append(subName);
        sub->where = node.where + QLatin1Char('/') + subName;
        sub->order = node.order;
        sub->order.push_back(quint32(i));
        node.subfolders.push_back(sub);
    }
    node.unopened = node.subfolders.size();
    return true;
}

// Once its last subfolder has been opened, a folder the walker does not
// need is closed: the descriptor to close, after the lock.
std::shared_ptr<Descriptor> opened(Walk &walk, Node &node)
{
    if (!node.parent || walk.settings.keepOpen || --node.parent->unopened > 0)
        return nullptr;
    return std::move(node.parent->descriptor);
}

void readFolders(const std::shared_ptr<Walk> &walk, int reader)
{
    EntryBlock block;
    std::unique_lock lock(walk->mutex);
    for (;;) {
        if (!walk->wanted.count(reader) || walk->ended)
            return;
        const std::shared_ptr<Node> node = nextToRead(*walk);
        if (!node) {
            int &waiting = walk->pending.empty() ? walk->readersForWork : walk->readersForRoom;
            ++waiting;
            walk->forReader.wait(lock);
            --waiting;
            continue;
        }
        walk->pending.erase(walk->pending.begin());
        // Another file system is not even asked.
        if (node->parent) {
            node->mount = isMountPoint(node->where) ? node->where : node->parent->mount;
            if (walk->settings.oneFileSystem && node->mount == node->where) {
                node->silent = true;
                node->state = Node::State::Read;
                wakeWalker(*walk);
                if (std::shared_ptr<Descriptor> closing = opened(*walk, *node)) {
                    lock.unlock();
                    closing.reset();
                    lock.lock();
                }
                continue;
            }
        }
        node->state = Node::State::Reading;
        node->reader = reader;
        node->since = Clock::now();
        walk->reading.insert(node);
        if (walk->walkerIdle)
            walk->forWalker.notify_one(); // it now has a deadline to watch
        if (!readNode(*walk, reader, *node, block, lock))
            return;
        walk->reading.erase(node);
        node->state = Node::State::Read;
        // The subfolders of a folder left out are not known.
        for (const std::shared_ptr<Node> &sub : node->subfolders) {
            sub->parent = node;
            walk->pending.insert(sub);
        }
        if (!node->subfolders.empty() && walk->readersForWork > 0)
            walk->forReader.notify_all();
        wakeWalker(*walk);
        if (std::shared_ptr<Descriptor> closing = opened(*walk, *node)) {
            lock.unlock();
            closing.reset();
            lock.lock();
        }
    }
}

} // namespace

// A reader is handed over as any call that may hang; it names each mount
// it reads from as it goes, so a wait that gives up on it marks that mount.
Handover startReader(const std::shared_ptr<Walk> &walk, int reader)
{
    return Handover::start(QString(), [walk, reader] { readFolders(walk, reader); });
}

} // namespace Lirabel::Walking
