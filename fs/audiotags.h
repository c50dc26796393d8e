// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// What the tags of a music file say, for the command line's lists.
//
// TagLib reads them; each file's read is handed over to the shared workers
// (handover.h) under its folder's mount, and a file that does not answer
// within the deadline of a folder read counts as unreadable: its worker is
// left behind, and the files still to read on that mount fail at once.

#include <QString>
#include <QStringList>

#include <vector>

namespace Lirabel {

struct AudioTags
{
    QString artist;
    QString title;
    QString album;
    QString genre;
    unsigned track = 0;   // 0 when not known
    unsigned year = 0;    // 0 when not known
    int seconds = -1;     // playing time; -1 when not known
    bool answered = true; // false when the file did not answer in time
};

// The tags of the files named (as nameFromBytes gives them) in the folder
// open as descriptor, on the mount named, in the same order. A file without
// tags, or that is no music, has empty texts and -1 seconds.
[[nodiscard]] std::vector<AudioTags> readAudioTags(int folderDescriptor, const QString &mount,
                                                   const QStringList &names);

} // namespace Lirabel
