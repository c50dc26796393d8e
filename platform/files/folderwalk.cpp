#include "platform/files/folderwalk.h"

#include "platform/files/bytenames.h"
#include "platform/files/deadlinecall.h"

#include <memory>
#include <optional>
#include <utility>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <dirent.h>
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

struct RawFile
{
    QByteArray name;
    qint64 size = -1;
    qint64 modified = 0;
};

struct FolderRead
{
    Descriptor folder;
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<RawFile> files;
    std::vector<QByteArray> folders;
};

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

// Reads the folder name below parent (a descriptor the call owns). Runs on a
// worker thread: everything it touches is its own.
std::optional<FolderRead> readFolder(Descriptor parent, const QByteArray &name, bool top, bool details)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (top ? 0 : O_NOFOLLOW);
    FolderRead read;
    read.folder = Descriptor(::openat(parent.get() >= 0 ? parent.get() : AT_FDCWD, name.constData(), flags));
    if (read.folder.get() < 0)
        return std::nullopt;
    struct stat info;
    if (::fstat(read.folder.get(), &info) != 0)
        return std::nullopt;
    read.device = info.st_dev;
    read.inode = info.st_ino;
    // The stream gets a descriptor of its own; the folder's stays open for what lies below.
    const int streamFd = ::dup(read.folder.get());
    if (streamFd < 0)
        return std::nullopt;
    const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(streamFd));
    if (!dir) {
        ::close(streamFd);
        return std::nullopt;
    }
    const int fd = read.folder.get();
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                return std::nullopt;
            break;
        }
        if (entry->d_name[0] == '.')
            continue;
        const unsigned char type = entry->d_type;
        if (type == DT_DIR) {
            read.folders.emplace_back(entry->d_name);
            continue;
        }
        if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN)
            continue;
        const bool needStat = details || type != DT_REG;
        RawFile file{QByteArray(entry->d_name), -1, 0};
        if (needStat) {
            // Follows links: a link to a file is that file, a broken one is left out.
            if (::fstatat(fd, entry->d_name, &info, 0) != 0)
                continue;
            if (S_ISDIR(info.st_mode)) {
                // A folder of unknown type is entered; a linked one is not.
                if (type == DT_UNKNOWN && ::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0
                    && S_ISDIR(info.st_mode))
                    read.folders.emplace_back(entry->d_name);
                continue;
            }
            if (!S_ISREG(info.st_mode))
                continue;
            if (details) {
                file.size = info.st_size;
                file.modified = info.st_mtim.tv_sec;
            }
        }
        read.files.push_back(std::move(file));
    }
    return read;
}

struct Level
{
    Descriptor folder;
    QStringList relativePath;
    QStringList subfolders; // still to visit, in order
    qsizetype next = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

// Each level of the walk holds its folder open; deep trees need more than the usual 1024.
void allowManyOpenFolders()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace

bool walkFolders(const QByteArray &top, const WalkSettings &settings,
                 const std::function<void(WalkedFolder &folder)> &visit,
                 const std::function<void(const QStringList &relativePath, WalkProblem problem)> &problem)
{
    if (settings.subfolders)
        allowManyOpenFolders();
    std::vector<Level> levels;

    // Reads one folder below the deepest level (or the top), hands it out, and
    // returns the level to descend into.
    const auto enter = [&](const QByteArray &name, QStringList relativePath) -> std::optional<Level> {
        const bool isTop = levels.empty();
        // The worker gets a descriptor of its own: it may outlive this call.
        Descriptor parent(isTop ? -1 : ::dup(levels.back().folder.get()));
        if (!isTop && parent.get() < 0) {
            problem(relativePath, WalkProblem::Unreadable);
            return std::nullopt;
        }
        const bool details = settings.sizesAndTimes;
        auto shared = std::make_shared<Descriptor>(std::move(parent));
        std::optional<std::optional<FolderRead>> answer = callWithDeadline<std::optional<FolderRead>>(
            [shared, name, isTop, details] { return readFolder(std::move(*shared), name, isTop, details); });
        if (!answer || !*answer) {
            problem(relativePath, answer ? WalkProblem::Unreadable : WalkProblem::NoAnswer);
            return std::nullopt;
        }
        FolderRead &read = **answer;
        for (const Level &level : levels) {
            if (level.device == read.device && level.inode == read.inode)
                return std::nullopt; // the folder is its own ancestor
        }
        WalkedFolder folder;
        folder.relativePath = relativePath;
        folder.descriptor = read.folder.get();
        folder.files.reserve(read.files.size());
        for (RawFile &file : read.files)
            folder.files.push_back({nameFromBytes(file.name), file.size, file.modified});
        read.files = {};
        visit(folder);
        folder = {};

        Level level{std::move(read.folder), std::move(relativePath), {}, 0, read.device, read.inode};
        if (settings.subfolders) {
            level.subfolders.reserve(qsizetype(read.folders.size()));
            for (const QByteArray &sub : read.folders)
                level.subfolders.append(nameFromBytes(sub));
            if (settings.sortFolders)
                settings.sortFolders(level.subfolders);
        }
        return level;
    };

    std::optional<Level> first = enter(top, {});
    if (!first)
        return false;
    levels.push_back(std::move(*first));
    while (!levels.empty()) {
        Level &level = levels.back();
        if (level.next >= level.subfolders.size()) {
            levels.pop_back();
            continue;
        }
        const QString name = level.subfolders.at(level.next++);
        QStringList path = level.relativePath;
        path.append(name);
        if (std::optional<Level> below = enter(nameBytes(name), std::move(path)))
            levels.push_back(std::move(*below));
    }
    return true;
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
            else if (info.isFile())
                folder.files.push_back({info.fileName(), settings.sizesAndTimes ? info.size() : -1,
                                        info.lastModified().toSecsSinceEpoch()});
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
