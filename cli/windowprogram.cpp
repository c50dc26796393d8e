// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "cli/windowprogram.h"

#include "core/systemreason.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace Lirabel {

namespace {

constexpr char WindowProgram[] = "lirabel-fenster";

// The folder this program was started from, with its links resolved.
QByteArray ownFolder(const char *argv0)
{
    QByteArray own;
#if defined(Q_OS_LINUX)
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0)
        own = QByteArray(path, length);
#endif
    if (own.isEmpty()) {
        char *resolved = ::realpath(argv0, nullptr);
        own = resolved ? QByteArray(resolved) : QByteArray(argv0);
        std::free(resolved);
    }
    const qsizetype slash = own.lastIndexOf('/');
    return slash > 0 ? own.left(slash) : (slash == 0 ? QByteArrayLiteral("/") : QByteArrayLiteral("."));
}

} // namespace

int startWindowProgram(char **argv)
{
    const QByteArray folder = ownFolder(argv[0]);
    // Beside it in the build folder, in its own folder when installed.
    const QByteArray candidates[] = {folder + '/' + WindowProgram,
                                     folder + '/' + LIRABEL_WINDOW_FOLDER + '/' + WindowProgram};
    int error = ENOENT;
    for (const QByteArray &program : candidates) {
        ::execv(program.constData(), argv);
        if (errno != ENOENT || error == ENOENT)
            error = errno;
    }
    const QByteArray message = QStringLiteral("lirabel: Das Fenster kann nicht starten: %1 (%2)\n")
                                   .arg(QDir::cleanPath(QFile::decodeName(candidates[1])), systemReason(error))
                                   .toLocal8Bit();
    std::fputs(message.constData(), stderr);
    return 1;
}

} // namespace Lirabel
