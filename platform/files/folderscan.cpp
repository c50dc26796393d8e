#include "platform/files/folderscan.h"

#include "platform/files/deadlinecall.h"

#include <QFile>

#include <memory>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#else
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace Lirabel {

#if defined(Q_OS_UNIX)

namespace {

enum class Kind { File, Folder, Other };

Kind kindOf(int dirFd, const dirent *entry)
{
    switch (entry->d_type) {
    case DT_REG:
        return Kind::File;
    case DT_DIR:
        return Kind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return Kind::Other;
    }
    // Follows links, so a broken link fails and is left out.
    struct stat info;
    if (fstatat(dirFd, entry->d_name, &info, 0) != 0)
        return Kind::Other;
    if (S_ISREG(info.st_mode))
        return Kind::File;
    if (S_ISDIR(info.st_mode))
        return Kind::Folder;
    return Kind::Other;
}

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

} // namespace

std::optional<FolderEntries> scanFolder(const QString &path, ScanFor wanted)
{
    const bool files = wanted != ScanFor::Folders;
    const bool folders = wanted != ScanFor::Files;
    if (path.isEmpty())
        return std::nullopt;
    const std::unique_ptr<DIR, DirCloser> dir(opendir(QFile::encodeName(path).constData()));
    if (!dir)
        return std::nullopt;
    const int fd = dirfd(dir.get());
    FolderEntries entries;
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
        const Kind kind = kindOf(fd, entry);
        if (kind == Kind::File && files)
            entries.files.append(QFile::decodeName(entry->d_name));
        else if (kind == Kind::Folder && folders)
            entries.folders.append(QFile::decodeName(entry->d_name));
    }
    return entries;
}

#else

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
