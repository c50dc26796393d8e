// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// One pass over an open folder: the one per-folder reader of the window's
// folder read and of the lists' walk, so both list the same names.
//
// Gives the visible entries, names that do not start with "." (with hidden,
// every entry but "." and ".."), as bytes, by
// the kind the directory entry gives: regular files and folders as they are;
// sockets, FIFOs and device nodes not at all. Links and entries of unknown
// type are asked afterwards, as links.h says: a link to a file is a file, a
// link to a folder a folder marked as linked, a broken link nothing.

#include "fs/links.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <limits>
#include <memory>

namespace Lirabel {

struct FolderEntry
{
    EntryKind kind = EntryKind::Other;
    const char *name = nullptr;
    bool linked = false; // reached through a link
    qint64 size = -1;    // bytes, with details; -1 where not asked for or not known
    qint64 modified = 0; // seconds since the epoch, with details
};

struct EntriesRead
{
    bool complete = false; // false when the folder could not be read to its end
    size_t links = 0;      // links and entries of unknown type asked
    // Of a folder that can be read but not entered, which lets nothing be
    // asked of its entries: files given without size and time (with details),
    // and links and entries of unknown type left out.
    size_t withoutDetails = 0;
    size_t leftOut = 0;
};

// Room for a folder's entries as the system hands them over: large, as few
// calls read a large folder, and on the heap, as a reader's stack is small.
// A reader of many folders keeps one for all of them.
class EntryBlock
{
public:
    static constexpr size_t Size = 65536;
    [[nodiscard]] char *data() { return mData.get(); }

private:
    std::unique_ptr<char[]> mData{new char[Size]};
};

// Reads the folder open as folderFd, which lies at path as the mounts see
// it; take gets each file and folder. With details, each file's size and time
// (one more call per file; shared by two threads from shareFrom files on,
// filedetails.h). With hidden, hidden entries too. answered, where given, is
// called at each answer of the system, for a waiter that watches a deadline.
// block, where given, is the room to read into; else the call has its own.
EntriesRead readEntries(int folderFd, const QString &path, bool details,
                        const std::function<void(const FolderEntry &entry)> &take, bool hidden = false,
                        size_t shareFrom = std::numeric_limits<size_t>::max(),
                        const std::function<void()> &answered = {}, EntryBlock *block = nullptr);

} // namespace Lirabel
