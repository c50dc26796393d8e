// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listrequest.h"
#include "lists/listwriter.h"

#include <optional>

namespace Lirabel {

// What a player plays, by extension (case ignored): audio and video files,
// never a playlist. The pattern a playlist lists where no filter was chosen.
[[nodiscard]] QString playableFilesPattern();

class ListSink;

// An extended playlist: "#EXTM3U", then for each file "#EXTINF:" with its
// seconds and "Interpret - Titel" (-1 and its name where the tags do not
// say), then its path by its bytes relative to the folder the playlist is
// written to, so a player finds it; "./" before a path that a player would
// read as a comment or trim. A name that holds a line break cannot stand on
// one line: it is written as a file URL instead.
class M3uList : public ListWriter
{
public:
    M3uList(const ListRequest &request, ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void finish() override;

private:
    const ListRequest &mRequest;
    ListSink &mSink;
    std::optional<QByteArray> mRoot; // the ORDNER of the folders now written
    QByteArray mAbsoluteFolder;      // of that ORDNER, for the file URLs
    QByteArray mPrefix;              // from the playlist's folder to that ORDNER
};

} // namespace Lirabel
