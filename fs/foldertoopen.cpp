// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/foldertoopen.h"

#include "core/bytenames.h"

#if defined(Q_OS_UNIX)
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#else
#include <QFile>
#include <QFileInfo>
#endif

namespace Lirabel {

#if defined(Q_OS_UNIX)

std::optional<QString> folderToOpen(const QByteArray &localPath)
{
    struct stat info;
    if (localPath.isEmpty() || stat(localPath.constData(), &info) != 0)
        return std::nullopt;
    QByteArray folder = localPath;
    if (!S_ISDIR(info.st_mode)) {
        // Cut at the bytes, not at the decoded text: a name that is not UTF-8
        // does not survive decoding, the folder before it may.
        const qsizetype slash = localPath.lastIndexOf('/');
        folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : localPath.left(slash);
    }
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(folder.constData(), nullptr), &std::free);
    if (!resolved)
        return std::nullopt;
    return nameFromBytes(resolved.get());
}

#else

std::optional<QString> folderToOpen(const QByteArray &localPath)
{
    const QFileInfo info(QFile::decodeName(localPath));
    if (localPath.isEmpty() || !info.exists())
        return std::nullopt;
    QString folder = info.isDir() ? info.canonicalFilePath() : QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

#endif

} // namespace Lirabel
