// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// A saved list against the folder now: which files are new, which are
// missing, which changed and which were renamed. Files are matched by their
// path's bytes, so names that are not UTF-8 stay apart as they do on disk.

#include "fs/filechecksum.h"
#include "lists/listwriter.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <memory>
#include <vector>

namespace Lirabel {

// The paths of a list's files, kept in a few large blocks rather than in
// an allocation each: a list may hold millions.
class PathStore
{
public:
    // first followed by second, kept as long as the store.
    QByteArrayView keep(QByteArrayView first, QByteArrayView second = {});

private:
    std::vector<std::unique_ptr<char[]>> mBlocks;
    char *mFree = nullptr;
    size_t mLeft = 0;
};

// The folders and name of a relative path by its bytes, each as nameFromBytes gives it.
[[nodiscard]] QStringList pathParts(QByteArrayView path);

// A file of a list, saved or made now.
struct ComparedFile
{
    QByteArrayView path;  // relative to the listed folder, by its bytes: "musik/a.mp3"; in a PathStore
    qint64 size = -1;     // -1 when the list does not tell
    qint64 modified = -1; // seconds since the epoch; -1 when the list does not tell
    FileChecksum checksum;
};

// What the saved list lets be compared.
struct ComparedBy
{
    bool sizes = false;
    bool times = false;
    bool checksums = false;
};

struct Difference
{
    ChangeKind kind;
    const ComparedFile *file;             // as it is now; a missing file as it was
    const ComparedFile *before = nullptr; // a renamed file as it was
};

// The differences, in the order a list gives their paths: a folder's files
// in natural order before its subfolders. A file changed where a property
// both lists know differs. A file is renamed only when exactly one missing
// and one new file hold its checksum and that is not the empty file's. A file
// or folder in unread (paths by their bytes, without a final "/"), and what
// lies below it, was not looked at in one of the lists: none of it is new
// or missing.
[[nodiscard]] std::vector<Difference> compareFiles(const std::vector<ComparedFile> &saved,
                                                   const std::vector<ComparedFile> &now, ComparedBy by,
                                                   const std::vector<QByteArray> &unread = {});

} // namespace Lirabel
