// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/m3ulist.h"

#include "core/bytenames.h"
#include "core/entryformat.h"
#include "fs/drives.h"
#include "lists/listsink.h"

#include <QDir>
#include <QFile>

#include <climits>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace Lirabel {

QString playableFilesPattern()
{
    static const QString pattern = [] {
        QStringList patterns;
        for (const char *extension : {"mp3", "flac", "ogg", "oga", "opus", "m4a", "aac", "wav", "wma", "aiff", "ape",
                                      "mka", "mp4",  "m4v", "mkv", "webm", "avi", "mov", "wmv", "mpg", "mpeg"})
            patterns.append(QStringLiteral("*.") + QLatin1String(extension));
        return patterns.join(QLatin1Char(';'));
    }();
    return pattern;
}

namespace {

// The path as the kernel resolves it, links and ".." included; empty when it
// cannot be resolved.
QByteArray resolved(const QByteArray &path)
{
    char *real = ::realpath(path.constData(), nullptr);
    if (!real)
        return {};
    QByteArray result(real);
    std::free(real);
    return result;
}

// The folder a player resolves the playlist's paths against: the one the file
// is written to. Standard output redirected into a file is that file; a pipe,
// a terminal or a device has no folder, so the working directory stands in.
QByteArray playlistFolder(const std::optional<QByteArray> &output)
{
    struct stat status
    {
    };
    if (output) {
        if (::stat(output->constData(), &status) != 0 || S_ISREG(status.st_mode)) {
            const qsizetype slash = output->lastIndexOf('/');
            return slash < 0 ? QByteArrayLiteral(".") : output->left(std::max<qsizetype>(slash, 1));
        }
    } else if (::fstat(STDOUT_FILENO, &status) == 0 && S_ISREG(status.st_mode)) {
        const QByteArray file = resolved("/proc/self/fd/1");
        if (file.startsWith('/'))
            return file.left(std::max<qsizetype>(file.lastIndexOf('/'), 1));
    }
    return QByteArrayLiteral(".");
}

// How to get from the folder to the listed one, ending in "/" unless it is
// the same: "../Musik/". Both resolved, as the player's file system will.
// Where either cannot be resolved, the listed folder's absolute path.
QByteArray pathFrom(const QByteArray &from, const QByteArray &listed, const QByteArray &absoluteListed)
{
    const QByteArray start = resolved(from), goal = resolved(listed);
    if (start.isEmpty() || goal.isEmpty())
        return absoluteListed + '/';
    const QList<QByteArray> a = start == "/" ? QList<QByteArray>() : start.mid(1).split('/');
    const QList<QByteArray> b = goal == "/" ? QList<QByteArray>() : goal.mid(1).split('/');
    qsizetype same = 0;
    while (same < a.size() && same < b.size() && a.at(same) == b.at(same))
        ++same;
    QByteArray path;
    for (qsizetype i = same; i < a.size(); ++i)
        path.append("../");
    for (qsizetype i = same; i < b.size(); ++i)
        path.append(b.at(i)).append('/');
    return path;
}

} // namespace

M3uList::M3uList(const ListRequest &request, ListSink &sink)
    : mRequest(request)
    , mSink(sink)
{
    mSink.write(QByteArrayLiteral("#EXTM3U\n"));
}

void M3uList::folder(const ListedFolder &folder)
{
    // Each ORDNER has its own way there from the playlist.
    if (!mRoot || *mRoot != folder.root) {
        mRoot = folder.root;
        mAbsoluteFolder =
            folder.root.startsWith('/') ? folder.root : QFile::encodeName(QDir::currentPath()) + '/' + folder.root;
        mPrefix = pathFrom(playlistFolder(mRequest.output), folder.root, mAbsoluteFolder);
    }
    QByteArray prefix = mPrefix;
    for (const QString &part : folder.relativePath)
        prefix.append(nameBytes(part)).append('/');
    QByteArray lines;
    for (const ListedFile &file : folder.files) {
        const AudioTags &tags = *file.tags;
        QString shown;
        if (!tags.artist.isEmpty() && !tags.title.isEmpty())
            shown = tags.artist + QStringLiteral(" - ") + tags.title;
        else if (!tags.title.isEmpty())
            shown = tags.title;
        else {
            shown = file.shown.toString();
            if (mRequest.stripExtensions)
                shown = withoutExtension(shown);
        }
        lines.append("#EXTINF:").append(QByteArray::number(tags.seconds)).append(',');
        lines.append(printableName(shown).toUtf8()).append('\n');
        const QByteArray path = prefix + nameBytes(file.name.toString());
        if (path.contains('\n') || path.contains('\r')) {
            QByteArray below;
            for (const QString &part : folder.relativePath)
                below.append(nameBytes(part)).append('/');
            lines.append("file://").append(
                (mAbsoluteFolder + '/' + below + nameBytes(file.name.toString())).toPercentEncoding("/"));
        } else {
            // Players read a line that begins with "#" as a comment and drop
            // leading blanks.
            if (path.startsWith('#') || path.startsWith(' ') || path.startsWith('\t'))
                lines.append("./");
            lines.append(path);
        }
        lines.append('\n');
    }
    mSink.write(lines);
}

void M3uList::finish()
{
    mSink.finish();
}

} // namespace Lirabel
