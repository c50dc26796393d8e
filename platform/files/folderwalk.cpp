// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/files/folderwalk.h"

#include "platform/files/deadlinecall.h"
#include "platform/files/handover.h"
#include "platform/names/bytenames.h"

#include <QScopeGuard>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>

#if defined(Q_OS_UNIX)
#include "platform/files/walkread.h"
#else
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace Lirabel {

#if defined(Q_OS_UNIX)

namespace {

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

    // Once read: the folder, or why it is left out.
    std::shared_ptr<Descriptor> descriptor;
    dev_t device = 0;
    ino_t inode = 0;
    std::optional<WalkedFolder> walked; // as prepared for the visitor
    size_t files = 0;                   // as read
    std::optional<WalkProblem> problem;
    bool silent = false; // left out without a word: another file system, or its own ancestor
    std::vector<std::shared_ptr<Node>> subfolders;
    size_t unopened = 0; // subfolders not yet opened below it
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
// tree, on more than one processor) take the folders
// known and not yet read, always the first in walk order, so the system's answers for the next folders overlap
// with each other and with the listing of this one, and no folder costs a
// thread of its own. A reader that does not answer in time is left behind
// with its folder; a new one takes its place. Held by every reader, so one
// left behind may return at any time, also after the walk has ended, and
// finds that it is no longer wanted.
struct Walk
{
    std::mutex mutex;
    std::condition_variable forWalker; // a folder read, or a reader's deadline to watch
    std::condition_variable forReader; // a folder to read, room ahead, or the end
    QString topPath;
    int maxDepth = -1;
    bool oneFileSystem = false;
    bool details = false;
    bool subfolders = false;
    bool keepOpen = false;
    std::function<void(QStringList &names)> sortFolders;
    std::function<void(WalkedFolder &folder)> prepare;

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

bool roomAhead(const Walk &walk)
{
    return walk.aheadFolders == 0 || (walk.aheadFolders < AheadFolders && walk.aheadFiles < AheadFiles);
}

bool roomAgain(const Walk &walk)
{
    return walk.aheadFolders + WakeFolders <= AheadFolders && walk.aheadFiles + WakeFiles <= AheadFiles;
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

// Reads it, unlocked; then, locked again, records what was read and the
// subfolders found. False when the reader is no longer wanted.
bool readNode(Walk &walk, int reader, Node &node, std::unique_lock<std::mutex> &lock)
{
    const bool top = !node.parent;
    const bool details = walk.details;
    lock.unlock();
    // A folder on a mount that is stuck does not answer, at once.
    const bool answers = nowTouching(node.mount);
    std::optional<FolderRead> read;
    if (answers)
        read = readFolder(top ? -1 : node.parent->descriptor->get(), node.name, node.where, top, details);
    bool ownAncestor = false;
    if (read && !top) {
        for (const Node *above = node.parent.get(); above; above = above->parent.get())
            ownAncestor = ownAncestor || (above->device == read->device && above->inode == read->inode);
    }
    const bool deeper = walk.maxDepth < 0 || node.relativePath.size() < walk.maxDepth;
    QStringList subfolders;
    if (read && !ownAncestor && walk.subfolders && deeper) {
        subfolders.reserve(qsizetype(read->folders.size()));
        for (const QByteArray &sub : read->folders)
            subfolders.append(nameFromBytes(sub));
        if (walk.sortFolders && !subfolders.isEmpty())
            walk.sortFolders(subfolders);
    }
    // The top folder is read before any other, and sets the device.
    const bool silent = read && (ownAncestor || (!top && walk.oneFileSystem && read->device != walk.topDevice));
    std::optional<WalkedFolder> walked;
    size_t files = 0;
    if (read && !silent) {
        files = read->files.size();
        walked.emplace();
        walked->relativePath = node.relativePath;
        walked->names = namesAsText(read->names, read->files);
        read->names = {};
        walked->files = std::move(read->files);
        walked->descriptor = walk.keepOpen ? read->folder.get() : -1;
        walked->mount = node.mount;
        walked->withoutDetails = read->withoutDetails;
        walked->leftOut = read->leftOut;
        if (walk.prepare)
            walk.prepare(*walked);
    }
    // Closed by the reader that opened it, as soon as no one needs it: the
    // system frees what it keeps for reading a folder fastest on the
    // processor that read it.
    if (read && !walk.keepOpen && subfolders.isEmpty())
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
        node.problem = answers ? WalkProblem::Unreadable : WalkProblem::NoAnswer;
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
    if (!node.parent || walk.keepOpen || --node.parent->unopened > 0)
        return nullptr;
    return std::move(node.parent->descriptor);
}

void readFolders(const std::shared_ptr<Walk> &walk, int reader)
{
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
            if (walk->oneFileSystem && node->mount == node->where) {
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
        if (!readNode(*walk, reader, *node, lock))
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

// A reader is handed over as any call that may hang; it names each mount
// it reads from as it goes, so a wait that gives up on it marks that mount.
Handover startReader(const std::shared_ptr<Walk> &walk, int reader)
{
    return Handover::start(QString(), [walk, reader] { readFolders(walk, reader); });
}

} // namespace

bool walkFolders(const QByteArray &top, const WalkSettings &settings,
                 const std::function<void(WalkedFolder &folder)> &visit,
                 const std::function<void(const QStringList &relativePath, WalkProblem problem)> &problem)
{
    if (settings.subfolders)
        allowManyOpenFolders();
    auto walk = std::make_shared<Walk>();
    walk->topPath = absolutePath(nameFromBytes(top));
    walk->details = settings.sizesAndTimes;
    walk->subfolders = settings.subfolders;
    walk->maxDepth = settings.maxDepth;
    walk->oneFileSystem = settings.oneFileSystem;
    walk->sortFolders = settings.sortFolders;
    walk->keepOpen = settings.keepOpen;
    walk->prepare = settings.prepare;
    // However the walk ends, its readers stop at their next look.
    const auto ending = qScopeGuard([&walk] {
        const std::lock_guard lock(walk->mutex);
        walk->ended = true;
        walk->forReader.notify_all();
    });

    auto topNode = std::make_shared<Node>();
    topNode->name = top;
    topNode->where = walk->topPath;
    topNode->mount = mountOf(walk->topPath);

    std::unique_lock lock(walk->mutex);
    walk->pending.insert(topNode);
    // Two readers on more than one processor: the system's work for a
    // folder is most of the walk's.
    const int readerCount = settings.subfolders && std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    std::map<int, Handover> readers;
    int lastReader = 0;
    const auto addReader = [&] {
        const int reader = ++lastReader;
        walk->wanted.insert(reader);
        Handover started = startReader(walk, reader);
        if (!started.started()) {
            walk->wanted.erase(reader);
            return false;
        }
        readers.emplace(reader, std::move(started));
        return true;
    };
    for (int i = 0; i < readerCount; ++i) {
        if (!addReader() && readers.empty()) {
            lock.unlock();
            problem({}, WalkProblem::Unreadable);
            return false;
        }
    }

    // Depth first: the folders still to hand out, level by level.
    std::vector<std::pair<std::vector<std::shared_ptr<Node>>, size_t>> levels;
    levels.push_back({{topNode}, 0});
    for (;;) {
        while (!levels.empty() && levels.back().second >= levels.back().first.size())
            levels.pop_back();
        if (levels.empty())
            return true;
        auto &[nodes, next] = levels.back();
        const std::shared_ptr<Node> node = std::move(nodes[next++]);
        const bool isTop = node == topNode;
        walk->awaited = node;
        if (node->state == Node::State::Pending && walk->readersForRoom > 0)
            walk->forReader.notify_all();
        // Waits for it, and gives up on any reader past its deadline.
        while (node->state != Node::State::Read) {
            std::shared_ptr<Node> oldest;
            for (const std::shared_ptr<Node> &being : walk->reading) {
                if (!oldest || being->since < oldest->since)
                    oldest = being;
            }
            if (!oldest) {
                walk->walkerIdle = true;
                walk->forWalker.wait(lock);
                walk->walkerIdle = false;
                continue;
            }
            const auto deadline = oldest->since + FileSystemDeadline;
            if (Clock::now() < deadline) {
                walk->forWalker.wait_until(lock, deadline);
                continue;
            }
            // Its reader is left behind with the folder; a new one takes its place.
            walk->reading.erase(oldest);
            walk->wanted.erase(oldest->reader);
            oldest->problem = WalkProblem::NoAnswer;
            oldest->state = Node::State::Read;
            ++walk->aheadFolders;
            Handover given = std::move(readers.at(oldest->reader));
            readers.erase(oldest->reader);
            lock.unlock();
            given.giveUp();
            lock.lock();
            if (oldest != topNode && !addReader() && readers.empty()) {
                // No reader can be had: what is left does not answer either.
                walk->awaited = nullptr;
                lock.unlock();
                problem(oldest->relativePath, WalkProblem::NoAnswer);
                return true;
            }
        }
        walk->awaited = nullptr;
        if (!node->silent) {
            --walk->aheadFolders;
            walk->aheadFiles -= node->files;
        }
        if (walk->readersForRoom > 0 && roomAgain(*walk))
            walk->forReader.notify_all();
        if (!node->subfolders.empty())
            levels.push_back({std::move(node->subfolders), 0});
        if (node->silent)
            continue;
        std::optional<WalkedFolder> walked = std::move(node->walked);
        lock.unlock();
        if (node->problem) {
            problem(node->relativePath, *node->problem);
            if (isTop)
                return false;
        } else {
            visit(*walked);
        }
        lock.lock();
    }
}

#else

bool walkFolders(const QByteArray &top, const WalkSettings &settings,
                 const std::function<void(WalkedFolder &folder)> &visit,
                 const std::function<void(const QStringList &relativePath, WalkProblem problem)> &problem)
{
    // Without descriptors: paths, as the system allows them.
    const QString root = QString::fromUtf8(top);
    if (!QFileInfo(root).isDir())
        return false;
    std::vector<QStringList> pending{{}};
    while (!pending.empty()) {
        const QStringList relative = pending.back();
        pending.pop_back();
        const QString path = relative.isEmpty() ? root : root + QLatin1Char('/') + relative.join(QLatin1Char('/'));
        if (!QFileInfo(path).isReadable()) {
            problem(relative, WalkProblem::Unreadable);
            continue;
        }
        WalkedFolder folder;
        folder.relativePath = relative;
        QStringList subfolders;
        QDirIterator it(path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (info.fileName().startsWith(QLatin1Char('.')))
                continue;
            if (info.isDir() && !info.isSymLink())
                subfolders.append(info.fileName());
            else if (info.isFile()) {
                folder.files.push_back({folder.names.size(), info.fileName().size(),
                                        settings.sizesAndTimes ? info.size() : -1,
                                        info.lastModified().toSecsSinceEpoch()});
                folder.names.append(info.fileName());
            }
        }
        if (settings.prepare)
            settings.prepare(folder);
        visit(folder);
        if (!settings.subfolders)
            break;
        if (settings.sortFolders)
            settings.sortFolders(subfolders);
        for (auto it = subfolders.crbegin(); it != subfolders.crend(); ++it)
            pending.push_back(relative + QStringList{*it});
    }
    return true;
}

#endif

} // namespace Lirabel
