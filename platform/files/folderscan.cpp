// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/files/folderscan.h"

#include "platform/files/bytenames.h"
#include "platform/files/deadlinecall.h"

#include <memory>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#if defined(Q_OS_LINUX)
#include <linux/magic.h>
#include <sys/statfs.h>
#endif
#else
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace Lirabel {

#if defined(Q_OS_UNIX)

namespace {

enum class Kind { File, Folder, Other };

// The kind the directory entry gives; nothing for a link or an entry of
// unknown type, which only a further call can tell.
std::optional<Kind> entryKind(const dirent *entry)
{
    switch (entry->d_type) {
    case DT_REG:
        return Kind::File;
    case DT_DIR:
        return Kind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        return std::nullopt;
    default:
        return Kind::Other;
    }
}

// Follows links, so a broken link fails and is left out.
Kind kindAt(int dirFd, const char *name)
{
    struct stat info;
    if (fstatat(dirFd, name, &info, 0) != 0)
        return Kind::Other;
    if (S_ISREG(info.st_mode))
        return Kind::File;
    if (S_ISDIR(info.st_mode))
        return Kind::Folder;
    return Kind::Other;
}

// How long one link may take to answer, and all of a folder's links together,
// so that the folder itself still answers within the file-system deadline.
constexpr std::chrono::milliseconds LinkWait{250};
constexpr std::chrono::milliseconds AllLinksWait{1200};
constexpr int MostLinkHelpers = 8;

// The links of one folder, asked by helper threads in turn. A link into a
// mount that does not answer holds up only itself: its helper is left
// behind, the link counts as broken, and another helper goes on with the
// next. The helpers share this with the scan, which may end before them.
struct LinkQuestions
{
    explicit LinkQuestions(int folderFd)
        : fd(folderFd)
    {
    }
    ~LinkQuestions() { close(fd); }
    LinkQuestions(const LinkQuestions &) = delete;
    LinkQuestions &operator=(const LinkQuestions &) = delete;

    const int fd; // the folder's own, for as long as a helper may use it
    std::mutex mutex;
    std::condition_variable answered;
    std::vector<QByteArray> names;
    std::vector<std::optional<Kind>> kinds;
    size_t next = 0;
    size_t open = 0; // links not answered yet
};

void answerLinks(const std::shared_ptr<LinkQuestions> &questions)
{
    std::unique_lock lock(questions->mutex);
    while (questions->next < questions->names.size()) {
        const size_t index = questions->next++;
        const QByteArray name = questions->names.at(index);
        lock.unlock();
        const Kind kind = kindAt(questions->fd, name.constData());
        lock.lock();
        if (!questions->kinds.at(index)) {
            questions->kinds.at(index) = kind;
            --questions->open;
            questions->answered.notify_all();
        }
    }
}

// The kind of each link, in order; Other for one that did not answer in time.
std::vector<Kind> linkKinds(int dirFd, std::vector<QByteArray> names)
{
    const int fd = fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return std::vector<Kind>(names.size(), Kind::Other);
    const auto questions = std::make_shared<LinkQuestions>(fd);
    questions->kinds.resize(names.size());
    questions->open = names.size();
    questions->names = std::move(names);
    const auto until = std::chrono::steady_clock::now() + AllLinksWait;
    std::unique_lock lock(questions->mutex);
    int helpers = 0;
    const auto startHelper = [&helpers, &questions] {
        if (helpers >= MostLinkHelpers || !runDetached([questions] { answerLinks(questions); }))
            return false;
        ++helpers;
        return true;
    };
    if (!startHelper())
        questions->open = 0;
    while (questions->open > 0) {
        const size_t before = questions->open;
        if (questions->answered.wait_for(lock, LinkWait, [&] { return questions->open != before; }))
            continue;
        // No answer for a while: the helper hangs on the link it asked. That
        // link counts as broken, and a new helper takes the rest.
        for (size_t i = 0; i < questions->next; ++i) {
            if (!questions->kinds.at(i)) {
                questions->kinds.at(i) = Kind::Other;
                --questions->open;
            }
        }
        if (questions->next >= questions->names.size() || std::chrono::steady_clock::now() >= until || !startHelper())
            break;
    }
    std::vector<Kind> kinds;
    kinds.reserve(questions->kinds.size());
    for (const std::optional<Kind> &kind : questions->kinds)
        kinds.push_back(kind.value_or(Kind::Other));
    return kinds;
}

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

// Whether a folder changed since it was read: adding, removing or renaming
// an entry sets its modification time, a change of the folder itself (its
// permissions) its change time.
struct Stamp
{
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const Stamp &other) const
    {
        return device == other.device && inode == other.inode && modified.tv_sec == other.modified.tv_sec
            && modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec
            && changed.tv_nsec == other.changed.tv_nsec;
    }
};

// Local file systems that set those times on every change, from a fine
// clock. Network and FUSE file systems, and /proc, whose folders change
// without a new time, are read every time.
bool keepsTimes([[maybe_unused]] int dirFd)
{
#if defined(Q_OS_LINUX)
    struct statfs info;
    if (fstatfs(dirFd, &info) != 0)
        return false;
    switch (info.f_type) {
    case EXT4_SUPER_MAGIC: // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
#else
    return false;
#endif
}

// The last folder read, for the next read of the same folder: the directory
// list and the file list read it one after the other, and the file list
// again at every key typed in the filter. A folder of a hundred thousand
// entries takes tens of milliseconds to read; seeing that it did not change
// takes one stat. The names of the kind the reader did not want are kept
// undecoded, each followed by a NUL, until a reader wants them.
struct Remembered
{
    QString path;
    Stamp stamp;
    FolderEntries entries;
    bool filesDecoded = false;
    bool foldersDecoded = false;
    QByteArray undecodedFiles;
    QByteArray undecodedFolders;
};

std::mutex rememberedMutex;

Remembered &remembered()
{
    static Remembered instance;
    return instance;
}

QStringList decodeNames(const QByteArray &names)
{
    QStringList decoded;
    decoded.reserve(names.count('\0'));
    for (qsizetype start = 0; start < names.size();) {
        const qsizetype end = names.indexOf('\0', start);
        decoded.append(nameFromBytes(QByteArrayView(names).sliced(start, end - start)));
        start = end + 1;
    }
    return decoded;
}

// The remembered entries when the folder has not changed since, with the
// wanted kinds decoded.
std::optional<FolderEntries> rememberedEntries(const QString &path, const Stamp &stamp, bool files, bool folders)
{
    const std::lock_guard lock(rememberedMutex);
    Remembered &last = remembered();
    if (last.path != path || !(last.stamp == stamp))
        return std::nullopt;
    if (files && !last.filesDecoded) {
        last.entries.files = decodeNames(std::exchange(last.undecodedFiles, {}));
        last.filesDecoded = true;
    }
    if (folders && !last.foldersDecoded) {
        last.entries.folders = decodeNames(std::exchange(last.undecodedFolders, {}));
        last.foldersDecoded = true;
    }
    FolderEntries entries;
    if (files)
        entries.files = last.entries.files;
    if (folders)
        entries.folders = last.entries.folders;
    return entries;
}

bool olderThan(const timespec &time, const timespec &reference)
{
    // The file system's clock ticks coarsely: a change in the same second
    // as the read might carry the time the folder already had.
    return time.tv_sec + 1 < reference.tv_sec;
}

} // namespace

std::optional<FolderEntries> scanFolder(const QString &path, ScanFor wanted)
{
    const bool files = wanted != ScanFor::Folders;
    const bool folders = wanted != ScanFor::Files;
    if (path.isEmpty())
        return std::nullopt;
    const std::unique_ptr<DIR, DirCloser> dir(opendir(nameBytes(path).constData()));
    if (!dir)
        return std::nullopt;
    const int fd = dirfd(dir.get());
    struct stat info;
    timespec now{};
    if (fstat(fd, &info) != 0 || clock_gettime(CLOCK_REALTIME, &now) != 0)
        return std::nullopt;
    const Stamp stamp{info.st_dev, info.st_ino, info.st_mtim, info.st_ctim};
    if (std::optional<FolderEntries> entries = rememberedEntries(path, stamp, files, folders))
        return entries;

    Remembered read{path, stamp, {}, files, folders, {}, {}};
    const auto take = [&read, files, folders](Kind kind, const char *name) {
        if (kind == Kind::File) {
            if (files)
                read.entries.files.append(nameFromBytes(name));
            else
                read.undecodedFiles.append(name, qsizetype(std::strlen(name)) + 1);
        } else if (kind == Kind::Folder) {
            if (folders)
                read.entries.folders.append(nameFromBytes(name));
            else
                read.undecodedFolders.append(name, qsizetype(std::strlen(name)) + 1);
        }
    };
    // Links are followed after the scan, each to a deadline of its own.
    std::vector<QByteArray> links;
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                return std::nullopt;
            break;
        }
        if (entry->d_name[0] == '.')
            continue;
        if (const std::optional<Kind> kind = entryKind(entry))
            take(*kind, entry->d_name);
        else
            links.emplace_back(entry->d_name);
    }
    if (!links.empty()) {
        const std::vector<Kind> kinds = linkKinds(fd, links);
        for (size_t i = 0; i < links.size(); ++i)
            take(kinds.at(i), links.at(i).constData());
    }
    read.entries.files.squeeze();
    read.entries.folders.squeeze();
    FolderEntries entries = read.entries;
    // A link's target may change without its folder changing.
    const bool keep =
        links.empty() && olderThan(stamp.modified, now) && olderThan(stamp.changed, now) && keepsTimes(fd);
    const std::lock_guard lock(rememberedMutex);
    remembered() = keep ? std::move(read) : Remembered{};
    return entries;
}

bool isListableFolder(const QString &path)
{
    const QByteArray bytes = nameBytes(path);
    struct stat info;
    return !bytes.isEmpty() && stat(bytes.constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && access(bytes.constData(), R_OK | X_OK) == 0;
}

bool pathExists(const QString &path)
{
    struct stat info;
    return !path.isEmpty() && stat(nameBytes(path).constData(), &info) == 0;
}

#else

bool isListableFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

bool pathExists(const QString &path)
{
    return QFileInfo::exists(path);
}

std::optional<FolderEntries> scanFolder(const QString &path, ScanFor wanted)
{
    const bool files = wanted != ScanFor::Folders;
    const bool folders = wanted != ScanFor::Files;
    const QFileInfo folder(path);
    if (path.isEmpty() || !folder.isDir() || !folder.isReadable())
        return std::nullopt;
    FolderEntries entries;
    QDirIterator it(path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.fileName().startsWith(QLatin1Char('.')) || info.isHidden())
            continue;
        if (info.isDir()) {
            if (folders)
                entries.folders.append(info.fileName());
        } else if (info.isFile() && files) {
            entries.files.append(info.fileName());
        }
    }
    return entries;
}

#endif

std::optional<FolderEntries> scanFolderWithDeadline(const QString &path, ScanFor wanted)
{
    return callWithDeadline<std::optional<FolderEntries>>([path, wanted] { return scanFolder(path, wanted); })
        .value_or(std::nullopt);
}

} // namespace Lirabel
