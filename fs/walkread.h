// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// One folder as the lists' walk reads it (folderwalk.h), on a reader thread.

#include "fs/folderentries.h"
#include "fs/folderwalk.h"

#include <QByteArray>

#include <any>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace Lirabel {

// An open descriptor that closes itself, also on a reader left behind at the deadline.
class Descriptor
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd);
    Descriptor(Descriptor &&other) noexcept
        : mFd(std::exchange(other.mFd, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(mFd, other.mFd);
        return *this;
    }
    ~Descriptor();
    [[nodiscard]] int get() const { return mFd; }

private:
    int mFd = -1;
};

// The files' names lie in one block, as text, so the reader allocates once
// per folder rather than once per name.
struct FolderRead
{
    Descriptor folder;
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<WalkedFile> files;
    QString names;                   // each as nameFromBytes gives it
    std::any readAhead;              // see WalkSettings::partRead
    std::vector<QByteArray> folders; // not linked ones: a linked folder is not entered
    size_t withoutDetails = 0;
    size_t leftOut = 0;
};

// Reads the folder name below parent (-1: the working directory), which
// stays open while the call runs; path is where it lies, as the mounts see
// it. The top folder may be a link to a folder, the others not. Nothing when
// it cannot be opened or read to its end; error then says why it could not be
// opened (errno), or is 0 where it opened but its reading failed. Details,
// hidden files and the sharing of the details are as the settings say, which
// are told of the folder once it is open; answered is called at each answer
// of the system. The entries are read into block.
[[nodiscard]] std::optional<FolderRead> readFolder(int parent, const QByteArray &name, const QString &path, bool top,
                                                   const WalkSettings &settings, const std::function<void()> &answered,
                                                   EntryBlock &block, int &error);

// Each level of the walk holds its folder open; deep trees need more than the usual 1024.
void allowManyOpenFolders();

} // namespace Lirabel
