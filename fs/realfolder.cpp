// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/realfolder.h"

#include "core/bytenames.h"
#include "fs/deadlinecall.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

#include <sys/stat.h>

namespace Lirabel {

RealFolder realFolder(const QByteArray &folder)
{
    // The mount is found by the path the folder names, before any link is followed.
    const QByteArray absolute = folder.startsWith('/') ? folder : QFile::encodeName(QDir::currentPath()) + '/' + folder;
    const std::optional<RealFolder> real =
        callWithDeadline<RealFolder>(nameFromBytes(absolute), [folder]() -> RealFolder {
            char *resolved = ::realpath(folder.constData(), nullptr);
            if (!resolved)
                return {};
            RealFolder found{QByteArray(resolved), 0};
            std::free(resolved);
            struct stat status
            {
            };
            if (::stat(found.path.constData(), &status) == 0)
                found.device = quint64(status.st_dev);
            return found;
        });
    return real.value_or(RealFolder{});
}

} // namespace Lirabel
