// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listwriter.h"

#include "core/listingrun.h"

#include <map>

namespace Lirabel {

class ListSink;
struct ListRequest;

// The window's listing: the listing run over every entry, so the lines are
// those the window saves. With subfolders each folder but the listed one
// starts with its path as a heading line after one blank line. The command
// line takes any number of entries; numbers take the digits they need.
class TextList
    : public ListWriter
    , private EntrySource
{
public:
    TextList(const ListRequest &request, ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void finish() override;

private:
    [[nodiscard]] qsizetype count() const override { return mEntries.size(); }
    [[nodiscard]] QString entry(qsizetype position) const override { return mEntries.at(position); }

    const ListRequest &mRequest;
    ListSink &mSink;
    QStringList mEntries;
    std::map<qsizetype, QString> mHeadings; // before the entry at that 0-based position
};

} // namespace Lirabel
