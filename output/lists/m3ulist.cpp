// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "output/lists/m3ulist.h"

#include "listing/entryformat.h"
#include "output/lists/listsink.h"
#include "platform/files/bytenames.h"
#include "platform/files/drives.h"

#include <QDir>
#include <QFile>

namespace Lirabel {

M3uList::M3uList(const ListRequest &request, ListSink &sink)
    : mRequest(request)
    , mSink(sink)
    , mAbsoluteFolder(request.folder.startsWith('/') ? request.folder
                                                     : QFile::encodeName(QDir::currentPath()) + '/' + request.folder)
{
    mSink.write(QByteArrayLiteral("#EXTM3U\n"));
}

void M3uList::folder(const ListedFolder &folder)
{
    QByteArray prefix;
    for (const QString &part : folder.relativePath)
        prefix.append(nameBytes(part)).append('/');
    QByteArray lines;
    for (const ListedFile &file : folder.files) {
        const AudioTags &tags = file.tags;
        QString shown;
        if (!tags.artist.isEmpty() && !tags.title.isEmpty())
            shown = tags.artist + QStringLiteral(" - ") + tags.title;
        else if (!tags.title.isEmpty())
            shown = tags.title;
        else {
            shown = file.shown;
            if (mRequest.stripExtensions)
                StripExtension(shown);
        }
        lines.append("#EXTINF:").append(QByteArray::number(tags.seconds)).append(',');
        lines.append(printableName(shown).toUtf8()).append('\n');
        const QByteArray path = prefix + nameBytes(file.name);
        if (path.contains('\n') || path.contains('\r'))
            lines.append("file://").append((mAbsoluteFolder + '/' + path).toPercentEncoding("/"));
        else
            lines.append(path);
        lines.append('\n');
    }
    mSink.write(lines);
}

void M3uList::finish()
{
    mSink.finish();
}

} // namespace Lirabel
