// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The size and time of each file of a folder, one call per file: the one
// cost of a list with those columns that grows with the files, and so, for a
// large folder, shared with a second thread.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <functional>
#include <limits>
#include <vector>

namespace Lirabel {

// Never shared: one thread asks every file.
inline constexpr size_t NeverShared = std::numeric_limits<size_t>::max();

struct FileDetail
{
    enum class Answer { File, NotAFile, Denied, Failed };
    Answer answer = Answer::Failed;
    qint64 size = -1;
    qint64 modified = 0; // seconds since the epoch
};

// Asks each of the names (each ended by '\0' in one block, starting at the
// offsets) below the folder open as folderFd, which lies at path. From
// shareFrom names on, a thread handed over for the folder's mount takes
// batches of them beside the caller's. answered is called on the caller's
// thread after each batch of answers, so its waiter sees the folder answer. Should
// the thread handed over stop answering for the file system's deadline, it
// is left behind, its mount stuck, and false returned. Without a thread to
// be had, the caller asks them all.
[[nodiscard]] bool fileDetails(int folderFd, const QString &path, const QByteArray &names,
                               const std::vector<qsizetype> &offsets, size_t shareFrom,
                               const std::function<void()> &answered, std::vector<FileDetail> &details);

} // namespace Lirabel
