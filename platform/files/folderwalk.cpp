// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/files/folderwalk.h"

#include "platform/files/deadlinecall.h"
#include "platform/files/folderentries.h"
#include "platform/files/handover.h"
#include "platform/names/bytenames.h"

#include <QScopeGuard>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace Lirabel {

#if defined(Q_OS_UNIX)

namespace {

// An open descriptor that closes itself, also on a worker left behind at the deadline.
class Descriptor
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd)
        : mFd(fd)
    {
    }
    Descriptor(Descriptor &&other) noexcept
        : mFd(std::exchange(other.mFd, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(mFd, other.mFd);
        return *this;
    }
    ~Descriptor()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    [[nodiscard]] int get() const { return mFd; }

private:
    int mFd = -1;
};

// The names stay bytes in one block until the walker takes them: each name's
// text is then made and freed on the same thread, and the reader allocates
// once per folder rather than once per name.
struct FolderRead
{
    Descriptor folder;
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<WalkedFile> files;
    QByteArray names;
    std::vector<QByteArray> folders;
    size_t withoutDetails = 0;
    size_t leftOut = 0;
};

// Reads the folder name below parent (-1: the working directory), which
// stays open while the call runs; path is where it lies, as the mounts see it.
// Runs on the walk's reader thread.
std::optional<FolderRead> readFolder(int parent, const QByteArray &name, const QString &path, bool top, bool details)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (top ? 0 : O_NOFOLLOW);
    FolderRead read;
    read.folder = Descriptor(::openat(parent >= 0 ? parent : AT_FDCWD, name.constData(), flags));
    if (read.folder.get() < 0)
        return std::nullopt;
    struct stat info;
    if (::fstat(read.folder.get(), &info) != 0)
        return std::nullopt;
    read.device = info.st_dev;
    read.inode = info.st_ino;
    const auto take = [&read](const FolderEntry &entry) {
        if (entry.kind == EntryKind::File) {
            WalkedFile file{read.names.size(), qsizetype(std::strlen(entry.name)), entry.size, entry.modified};
            read.names.append(entry.name, file.length);
            read.files.push_back(file);
        } else if (!entry.linked) {
            read.folders.emplace_back(entry.name); // a linked folder is not entered
        }
    };
    const EntriesRead entries = readEntries(read.folder.get(), path, details, take);
    if (!entries.complete)
        return std::nullopt;
    read.withoutDetails = entries.withoutDetails;
    read.leftOut = entries.leftOut;
    return read;
}

// A folder read and not yet handed out, or one left out.
struct ReadFolder
{
    QStringList relativePath;
    std::shared_ptr<Descriptor> descriptor;
    std::vector<WalkedFile> files;
    QByteArray names;
    std::optional<WalkProblem> problem;
    QString mount;
    size_t withoutDetails = 0;
    size_t leftOut = 0;
};

// The names of the folder's files as text, at the same places as their
// bytes where all are ASCII, as nearly every name is.
QString namesOf(ReadFolder &read)
{
    const bool ascii = std::all_of(read.names.cbegin(), read.names.cend(), [](char c) { return uchar(c) < 0x80; });
    if (ascii)
        return QString::fromLatin1(read.names);
    QString names;
    names.reserve(read.names.size());
    for (WalkedFile &file : read.files) {
        const QString name = nameFromBytes(QByteArrayView(read.names).sliced(file.at, file.length));
        file.at = names.size();
        file.length = name.size();
        names.append(name);
    }
    return names;
}

struct Level
{
    std::shared_ptr<Descriptor> folder;
    QStringList relativePath;
    QStringList subfolders; // still to read, in order
    qsizetype next = 0;
    dev_t device = 0;
    ino_t inode = 0;
    QString path; // absolute, as the mounts see it
    QString mount;
};

// How far the reader may run ahead of the walk: folders, and files in them.
// Memory so stays with the largest folder, whatever the tree.
constexpr size_t AheadFolders = 64;
constexpr size_t AheadFiles = 16384;
// Each side wakes the other only for a good part of that: on a busy machine
// every wake-up may wait for its turn on a processor, and a tree of small
// folders would otherwise pay one at every folder.
constexpr size_t WakeFolders = AheadFolders / 4;
constexpr size_t WakeFiles = AheadFiles / 4;

// The walk as its readers and the walker share it. One reader at a time
// reads the folders, depth first, and queues them for the walker, so the
// system's answers for the next folders overlap with the listing of this
// one and no folder costs a thread of its own. A reader that does not answer
// in time is left behind with its folder; a new one goes on after it. Held
// by every reader, so one left behind may return at any time, also after the
// walk has ended, and finds that it is no longer wanted.
struct Walk
{
    std::mutex mutex;
    std::condition_variable forWalker; // a folder queued or being read, or the end
    std::condition_variable forReader; // room ahead, or the reader no longer wanted
    QByteArray top;
    QString topPath; // absolute, as the mounts see it
    dev_t topDevice = 0;
    int maxDepth = -1;
    bool oneFileSystem = false;
    bool details = false;
    bool subfolders = false;
    std::function<void(QStringList &names)> sortFolders;

    bool started = false;  // the top folder is taken
    bool finished = false; // nothing more to read
    bool ended = false;    // the walker has gone
    int reader = 0;        // the reader that is wanted
    std::vector<Level> levels;
    std::deque<ReadFolder> ready;
    size_t readyFiles = 0;
    // The folder a reader is waiting on the system for, and since when.
    bool reading = false;
    QStringList readingPath;
    std::chrono::steady_clock::time_point readingSince;
    bool readerWaits = false; // for room ahead
    bool walkerWaits = false; // with no deadline, as nothing is being read
};

bool roomAhead(const Walk &walk)
{
    return walk.ready.empty() || (walk.ready.size() < AheadFolders && walk.readyFiles < AheadFiles);
}

bool littleAhead(const Walk &walk)
{
    return walk.ready.size() <= WakeFolders && walk.readyFiles <= WakeFiles;
}

bool muchAhead(const Walk &walk)
{
    return walk.ready.size() >= WakeFolders || walk.readyFiles >= WakeFiles;
}

void readFolders(const std::shared_ptr<Walk> &walk, int reader)
{
    std::unique_lock lock(walk->mutex);
    for (;;) {
        if (!roomAhead(*walk)) {
            walk->readerWaits = true;
            walk->forReader.wait(lock, [&] { return walk->reader != reader || walk->ended || littleAhead(*walk); });
            walk->readerWaits = false;
        }
        if (walk->reader != reader || walk->ended)
            return;
        QByteArray name;
        QStringList path;
        QString where;
        QString mount;
        std::shared_ptr<Descriptor> parent;
        const bool top = !walk->started;
        if (top) {
            walk->started = true;
            name = walk->top;
            where = walk->topPath;
            mount = mountOf(where);
        } else {
            while (!walk->levels.empty() && walk->levels.back().next >= walk->levels.back().subfolders.size())
                walk->levels.pop_back();
            if (walk->levels.empty()) {
                walk->finished = true;
                walk->forWalker.notify_one();
                return;
            }
            Level &level = walk->levels.back();
            const QString &sub = level.subfolders.at(level.next++);
            name = nameBytes(sub);
            path = level.relativePath;
            path.append(sub);
            where = level.path + QLatin1Char('/') + sub;
            mount = isMountPoint(where) ? where : level.mount;
            // Another file system is not even asked.
            if (walk->oneFileSystem && mount == where)
                continue;
            // Kept open while this reader needs it, even when left behind.
            parent = level.folder;
        }
        walk->reading = true;
        walk->readingPath = path;
        walk->readingSince = std::chrono::steady_clock::now();
        if (walk->walkerWaits)
            walk->forWalker.notify_one(); // it now has a deadline
        const bool details = walk->details;
        lock.unlock();

        // A folder on a mount that is stuck does not answer, at once.
        const bool answers = nowTouching(mount);
        std::optional<FolderRead> read;
        if (answers)
            read = readFolder(parent ? parent->get() : -1, name, where, top, details);

        lock.lock();
        if (walk->reader != reader || walk->ended) {
            // Given up on: what was read is dropped, and its folder closed, without the lock.
            lock.unlock();
            return;
        }
        walk->reading = false;
        ReadFolder folder{std::move(path), {}, {}, {}, std::nullopt, mount};
        if (read) {
            folder.withoutDetails = read->withoutDetails;
            folder.leftOut = read->leftOut;
        }
        std::optional<Level> below;
        if (!read) {
            folder.problem = answers ? WalkProblem::Unreadable : WalkProblem::NoAnswer;
            if (top)
                walk->finished = true;
        } else {
            bool ownAncestor = false;
            for (const Level &level : walk->levels)
                ownAncestor = ownAncestor || (level.device == read->device && level.inode == read->inode);
            if (top)
                walk->topDevice = read->device;
            else if (walk->oneFileSystem && read->device != walk->topDevice)
                ownAncestor = true; // left out as silently
            const bool deeper = walk->maxDepth < 0 || folder.relativePath.size() < walk->maxDepth;
            if (!ownAncestor) {
                const bool subfolders = walk->subfolders && deeper;
                lock.unlock();
                folder.descriptor = std::make_shared<Descriptor>(std::move(read->folder));
                folder.files = std::move(read->files);
                folder.names = std::move(read->names);
                if (subfolders) {
                    below =
                        Level{folder.descriptor, folder.relativePath, {}, 0, read->device, read->inode, where, mount};
                    below->subfolders.reserve(qsizetype(read->folders.size()));
                    for (const QByteArray &sub : read->folders)
                        below->subfolders.append(nameFromBytes(sub));
                    if (walk->sortFolders && !below->subfolders.isEmpty())
                        walk->sortFolders(below->subfolders);
                }
                lock.lock();
                if (walk->reader != reader || walk->ended) {
                    lock.unlock();
                    return;
                }
            }
            if (ownAncestor)
                continue;
        }
        if (below)
            walk->levels.push_back(std::move(*below));
        else if (top && !walk->subfolders)
            walk->finished = true;
        walk->readyFiles += folder.files.size();
        walk->ready.push_back(std::move(folder));
        if (walk->finished || muchAhead(*walk) || walk->walkerWaits)
            walk->forWalker.notify_one();
    }
}

// Each level of the walk holds its folder open; deep trees need more than the usual 1024.
void allowManyOpenFolders()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
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
    walk->top = top;
    walk->topPath = absolutePath(nameFromBytes(top));
    walk->details = settings.sizesAndTimes;
    walk->subfolders = settings.subfolders;
    walk->maxDepth = settings.maxDepth;
    walk->oneFileSystem = settings.oneFileSystem;
    walk->sortFolders = settings.sortFolders;
    // However the walk ends, its readers stop at their next look.
    const auto ending = qScopeGuard([&walk] {
        const std::lock_guard lock(walk->mutex);
        walk->ended = true;
        walk->forReader.notify_all();
    });

    std::unique_lock lock(walk->mutex);
    walk->reader = 1;
    Handover reading = startReader(walk, walk->reader);
    if (!reading.started()) {
        lock.unlock();
        problem({}, WalkProblem::Unreadable);
        return false;
    }
    bool first = true;
    for (;;) {
        if (!walk->ready.empty()) {
            ReadFolder read = std::move(walk->ready.front());
            walk->ready.pop_front();
            walk->readyFiles -= read.files.size();
            if (walk->readerWaits && littleAhead(*walk))
                walk->forReader.notify_one();
            lock.unlock();
            const bool top = std::exchange(first, false);
            if (read.problem) {
                problem(read.relativePath, *read.problem);
                if (top)
                    return false;
            } else {
                WalkedFolder folder{std::move(read.relativePath), namesOf(read), {}, read.descriptor->get(), read.mount,
                                    read.withoutDetails,          read.leftOut};
                folder.files = std::move(read.files);
                read.names = {};
                visit(folder);
            }
            read = {};
            lock.lock();
            continue;
        }
        if (walk->finished)
            return true;
        if (!walk->reading) {
            walk->walkerWaits = true;
            walk->forWalker.wait(lock);
            walk->walkerWaits = false;
            continue;
        }
        const auto deadline = walk->readingSince + FileSystemDeadline;
        if (std::chrono::steady_clock::now() < deadline) {
            walk->forWalker.wait_until(lock, deadline);
            continue;
        }
        // The reader is left behind with its folder; a new one goes on after it.
        const QStringList hung = std::move(walk->readingPath);
        walk->reading = false;
        ++walk->reader;
        const bool top = std::exchange(first, false);
        lock.unlock();
        reading.giveUp();
        if (!top)
            reading = startReader(walk, walk->reader);
        const bool started = !top && reading.started();
        problem(hung, WalkProblem::NoAnswer);
        if (!started)
            return !top;
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
