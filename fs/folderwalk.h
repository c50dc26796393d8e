// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// A folder and, on request, its subfolders, read one folder at a time for
// the command line's lists.
//
// Each folder is opened relative to its parent's open descriptor, so no path
// is ever handed whole to the system and no path length is too long. Hidden
// entries are left out unless asked for, a linked folder is not followed (a link to a file is
// a file, as in the file list), and a folder that is its own ancestor (a bind
// mount) is not entered again. Links are asked as the window asks them
// (links.h), so both list the same names. Readers, handed over as any call
// that may hang (handover.h), read the folders in the order they are handed
// out, a few ahead of the visitor: one, or two for a tree. Each folder must
// answer within FileSystemDeadline (deadlinecall.h), counted from its last
// answer, so a large folder that answers call after call is read to its
// end, however long it takes. One that cannot be read
// or does not answer is reported and left out with what lies below it, its
// reader is left behind with its mount stuck, and a new one takes its
// place: the other folders on that mount then do not answer at once. Only
// the folders read ahead (a bounded number of files, or one folder per
// reader), the one being handed out and the names of the subfolders still
// to visit are held, so memory grows with the largest folders, not with the
// tree.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <any>
#include <functional>
#include <vector>

namespace Lirabel {

// A file of a walked folder: where its name lies in the folder's names.
struct WalkedFile
{
    qsizetype at = 0;
    qsizetype length = 0;
    qint64 size = -1;    // bytes; -1 when not asked for or not known
    qint64 modified = 0; // seconds since the epoch, when the size was asked for
};

struct WalkedFolder
{
    // The names of the folders from the top down to this one; empty for the top folder.
    QStringList relativePath;
    // The files' names one after the other, each as nameFromBytes gives it:
    // one block for the folder, not one per name.
    QString names;
    std::vector<WalkedFile> files; // in the order the file system gives them
    // The folder's open descriptor while the visitor runs, for reading its
    // files; -1 unless the walk keeps folders open.
    int descriptor = -1;
    QString mount; // the mount point of the mount it lies on
    // Of a folder that can be read but not entered, which lets nothing be
    // asked of its entries: files given without size and time, and links and
    // entries of unknown type left out.
    size_t withoutDetails = 0;
    size_t leftOut = 0;
    std::any readAhead; // what WalkSettings::partRead made of its parts, for prepare
    std::any prepared;  // what WalkSettings::prepare made of it, for the visitor

    [[nodiscard]] QStringView name(const WalkedFile &file) const
    {
        return QStringView(names).sliced(file.at, file.length);
    }
};

struct WalkSettings
{
    bool subfolders = false;
    bool sizesAndTimes = false; // one more system call per file
    int maxDepth = -1;          // levels below the top folder; -1: all
    bool oneFileSystem = false; // no folder on another file system than the top folder's
    bool keepOpen = false;      // each folder open for its visit, to read its files
    bool hidden = false;        // hidden files listed and hidden folders entered (names starting with ".")
    // From this many files in a folder on, its sizes and times are asked by
    // two threads; below it, starting the second costs more than it saves.
    size_t shareFrom = 1024;
    // The subfolders of one folder, in the order to visit them; called on the reader thread.
    std::function<void(QStringList &names)> sortFolders;
    // Work on each folder read that need not wait for its visit (filtering,
    // sorting), called on a reader thread as soon as it is read, for several
    // folders at once. It may run on after the walk has ended, on a reader
    // left behind: it must hold what it uses.
    std::function<void(WalkedFolder &folder)> prepare;
    // Of a large folder, each part of partFiles files as soon as it is read,
    // on the reader thread, which reads on once it returns: the part's work
    // (sorting) can begin beside the reading of the rest. The part is the
    // files from `from` on; names and files are as WalkedFolder's and valid
    // only during the call. What it makes of the parts it keeps in
    // readAhead, the folder's own, which prepare then finds in
    // WalkedFolder::readAhead with the files after the last part. Like
    // prepare, it may run on a reader left behind.
    std::function<void(std::any &readAhead, const QString &names, const std::vector<WalkedFile> &files, size_t from)>
        partRead;
    size_t partFiles = 8192;
    // Told, on a reader thread, how many bytes a folder's entries take (its
    // size) as soon as it is open, before they are read: work that a large
    // folder will need can begin beside its reading. Like prepare, it may run
    // on a reader left behind.
    std::function<void(qint64 entryBytes)> opened;
};

enum class WalkProblem { Unreadable, NoAnswer };

// A folder left out, and why.
struct WalkFailure
{
    QStringList relativePath; // as in WalkedFolder
    WalkProblem problem = WalkProblem::Unreadable;
    int error = 0; // of an unreadable folder, errno where the system said why; 0 where it did not
};

// Calls visit for the top folder and, with subfolders, depth first for each
// folder below it, a folder's subfolders in the order sortFolders gives.
// failed is told of each folder left out. False when the top folder itself
// could not be read.
bool walkFolders(const QByteArray &top, const WalkSettings &settings,
                 const std::function<void(WalkedFolder &folder)> &visit,
                 const std::function<void(const WalkFailure &failure)> &failed);

} // namespace Lirabel
