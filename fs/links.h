// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The entries of a folder that only a further call can tell: links, and
// entries of unknown type. The window's folder read and the lists' walk ask
// them here alike, so both list the same names.
//
// Each is asked on the shared workers (handover.h) under the mount its
// target lies on, never its folder's: a link into a mount that does not
// answer holds up only itself, and its folder still answers. One link gets
// LinkWait, all of a folder's links together AllLinksWait, so that the folder
// keeps within the file-system deadline; one that does not answer in time
// counts as broken.

#include <QByteArray>
#include <QString>

#include <chrono>
#include <vector>

namespace Lirabel {

inline constexpr std::chrono::milliseconds LinkWait{250};
inline constexpr std::chrono::milliseconds AllLinksWait{1200};

enum class EntryKind { File, Folder, Other };

struct LinkTarget
{
    EntryKind kind = EntryKind::Other; // Other also for a broken link and one that did not answer
    bool isLink = true;                // false for an entry of unknown type that is no link
    bool denied = false;               // the folder lets nothing be asked of it
    qint64 size = -1;
    qint64 modified = 0; // seconds since the epoch
};

// What each name in the folder open as dirFd (whose path is folder) is, a
// link followed; in the same order.
[[nodiscard]] std::vector<LinkTarget> linkTargets(int dirFd, const QString &folder,
                                                  const std::vector<QByteArray> &names);

} // namespace Lirabel
