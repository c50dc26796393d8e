// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/programfolder.h"

#include <climits>
#include <cstdlib>

#include <unistd.h>

namespace Lirabel {

QByteArray programFolder(const char *argv0)
{
    QByteArray own;
#if defined(Q_OS_LINUX)
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0)
        own = QByteArray(path, length);
#endif
    if (own.isEmpty() && argv0) {
        char *resolved = ::realpath(argv0, nullptr);
        own = resolved ? QByteArray(resolved) : QByteArray(argv0);
        std::free(resolved);
    }
    const qsizetype slash = own.lastIndexOf('/');
    return slash > 0 ? own.left(slash) : (slash == 0 ? QByteArrayLiteral("/") : QByteArrayLiteral("."));
}

} // namespace Lirabel
