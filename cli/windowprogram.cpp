// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "cli/windowprogram.h"

#include "core/systemreason.h"
#include "fs/programfolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>

#include <unistd.h>

namespace Lirabel {

namespace {

constexpr char WindowProgram[] = "lirabel-fenster";

} // namespace

int startWindowProgram(char **argv)
{
    const QByteArray folder = programFolder(argv[0]);
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
