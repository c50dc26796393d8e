// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "output/lists/listrequest.h"
#include "output/lists/listwriter.h"

namespace Lirabel {

class ListSink;

// An extended playlist: "#EXTM3U", then for each file "#EXTINF:" with its
// seconds and "Interpret - Titel" (-1 and its name where the tags do not
// say), then its path relative to the listed folder by its bytes, so a
// player finds it. A name that holds a line break cannot stand on one
// line: it is written as a file URL instead.
class M3uList : public ListWriter
{
public:
    M3uList(const ListRequest &request, ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void finish() override;

private:
    const ListRequest &mRequest;
    ListSink &mSink;
    QByteArray mAbsoluteFolder; // for the file URLs
};

} // namespace Lirabel
