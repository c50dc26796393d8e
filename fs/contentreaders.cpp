// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/contentreaders.h"

#include "fs/programfolder.h"

#include <QDir>
#include <QFile>
#include <QLibrary>

namespace Lirabel {

namespace {

constexpr char ModuleName[] = "lirabel-inhalte.so";

struct Loaded
{
    const ContentReaders *readers = nullptr;
    QString why;
};

Loaded load()
{
    const QString folder = QFile::decodeName(programFolder());
    // Beside the program in the build folder and beside the window program
    // when installed, which is in a folder of its own.
    const QString candidates[] = {folder + QLatin1Char('/') + QLatin1String(ModuleName),
                                  folder + QLatin1String("/" LIRABEL_MODULE_FOLDER "/") + QLatin1String(ModuleName)};
    Loaded loaded;
    for (const QString &candidate : candidates) {
        if (!QFile::exists(candidate))
            continue;
        QLibrary module(candidate);
        using Entry = const ContentReaders *(*)();
        if (const auto entry = reinterpret_cast<Entry>(module.resolve("lirabelContentReaders"))) {
            loaded.readers = entry();
            return loaded;
        }
        loaded.why = module.errorString();
    }
    if (loaded.why.isEmpty())
        loaded.why = QStringLiteral("%1 fehlt").arg(QDir::cleanPath(candidates[1]));
    return loaded;
}

} // namespace

const ContentReaders *contentReaders(QString *why)
{
    static const Loaded loaded = load();
    if (!loaded.readers && why)
        *why = loaded.why;
    return loaded.readers;
}

} // namespace Lirabel
