// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// One pass over a folder for the directory and file lists, by the reader
// the lists' walk reads with too (folderentries.h).
//
// Lists the visible entries: names that do not start with ".". Files are
// regular files and symbolic links to regular files; folders are directories
// and links to directories. Sockets, FIFOs, device nodes and broken links are
// neither. The entry type comes from the directory entry itself; only links
// and entries of unknown type cost a further system call.
//
// The last folder read is remembered, with both kinds of names, while its
// modification and change times stay as they were: reading it again then
// costs one stat. Only where those times are sure to show every change: on
// local file systems, for a folder without links, whose last change is older
// than the file system's clock can blur.

#include <QString>
#include <QStringList>

#include <optional>

namespace Lirabel {

struct FolderEntries
{
    QStringList files; // in the order the file system gives them, or the window's (keepFilesInOrder)
    QStringList folders;
};

// What a caller keeps of the scan. Names of the other kind are not even
// decoded: the directory list of a folder of a hundred thousand files would
// otherwise build a hundred thousand strings only to drop them.
enum class ScanFor { FilesAndFolders, Files, Folders };

// Nothing when the folder cannot be opened or read to its end.
[[nodiscard]] std::optional<FolderEntries> scanFolder(const QString &path, ScanFor wanted = ScanFor::FilesAndFolders);

// The window keeps the files of a scan in an order of its own. Where that
// scan is the one remembered, the remembered read keeps the window's list
// instead of its own, so a large folder's names are held once; the next scan
// of the unchanged folder then gives that list. scanned is the list the scan
// gave, ordered the same names in the window's order.
void keepFilesInOrder(const QString &path, const QStringList &scanned, const QStringList &ordered);

// The folder exists and its entries can be listed. No deadline: call it
// where a hung call cannot freeze the window.
[[nodiscard]] bool isListableFolder(const QString &path);

// Something exists at the path (a link is followed). No deadline either.
[[nodiscard]] bool pathExists(const QString &path);

} // namespace Lirabel
