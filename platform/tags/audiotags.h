// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// What the tags of a music file say, for the command line's lists.
//
// TagLib reads them; each file's read runs on a worker thread, two at a time
// on two cores, and a file that does not answer within the deadline of a
// folder read counts as unreadable: its worker is left behind and another
// one takes the files still to read.

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
// open as descriptor, in the same order. A file without tags, or that is no
// music, has empty texts and -1 seconds.
[[nodiscard]] std::vector<AudioTags> readAudioTags(int folderDescriptor, const QStringList &names);

} // namespace Lirabel
