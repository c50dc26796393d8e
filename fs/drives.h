// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Which drive a path or a drive text names. A drive text is the mount point,
// then " [label]" where the volume has one; a path belongs to the volume whose
// mount point is its longest leading run of whole folder names. The drives
// themselves come from the kernel's mount table, read here as text, so that
// listing them touches no mounted file system.

#include "core/platform.h"

#include <QByteArray>

#include <functional>
#include <optional>

namespace Lirabel {

// True when path is folder itself or lies below it.
[[nodiscard]] bool isSameOrBelow(const QString &path, const QString &folder);

// The volume whose drive text is exactly the text, else the one that holds the
// text read as a path; nothing when neither is found.
[[nodiscard]] std::optional<Volume> volumeFor(const QList<Volume> &volumes, const QString &pathOrDriveText);

// The volume whose drive text is exactly the text, or whose mount point it is;
// a text naming no listed drive is never read as a path. Nothing when not found.
[[nodiscard]] std::optional<Volume> volumeNamed(const QList<Volume> &volumes, const QString &driveText);

// One line of the kernel's mount table (/proc/self/mountinfo).
struct MountEntry
{
    int id = 0; // a mount made anew gets a new one
    QString mountPoint;
    QByteArray type;   // as "ext4" or "fuse.sshfs"
    QByteArray source; // what is mounted, as "/dev/sdb1"
    QByteArray root;   // the folder of the file system mounted there, "/" for all of it
};

// The table's lines in the kernel's order; a line that is not understood is left out.
[[nodiscard]] QList<MountEntry> parseMountTable(const QByteArray &table);

// A mount a person browses: no kernel pseudo file system, nothing below /proc, /sys and /dev.
[[nodiscard]] bool isBrowsable(const MountEntry &mount);

// The drives of a mount table: the root, always and first, then each
// browsable mount point once, alphabetically. labelOf names a source's label.
[[nodiscard]] QList<Volume> drivesOf(const QList<MountEntry> &mounts,
                                     const std::function<QString(const QByteArray &source)> &labelOf);

// The kernel's mount table of this process.
inline constexpr char MountTablePath[] = "/proc/self/mountinfo";

// The mount table's text; empty where it cannot be read.
[[nodiscard]] QByteArray readMountTable();

// Labels by device, as udev links them: /dev/disk/by-label/URLAUB -> ../../sdb1.
[[nodiscard]] std::function<QString(const QByteArray &source)> deviceLabels();

// The drives as the window's drive list shows them, from the mount table and
// the labels, without asking any mounted file system.
[[nodiscard]] QList<Volume> mountedDrives();

} // namespace Lirabel
