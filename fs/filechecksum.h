// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The SHA-256 checksums of files, for the command line's lists.
//
// libcrypto computes them (its EVP interface uses the processor's SHA
// instructions where it has them). Each file is read on a shared worker
// (handover.h) under its folder's mount, several files at once so both cores
// hash. The deadline holds for each read of at most 1 MiB, not for the whole
// file: a big file on a slow disk takes as long as it takes, but a read that
// does not answer within FileSystemDeadline counts the file as not
// answering; its worker is left behind, and the files still to read on that
// mount fail at once.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace Lirabel {

struct FileChecksum
{
    std::array<unsigned char, 32> digest{};
    bool known = false;   // false when the file could not be read
    bool answered = true; // false when a read did not answer in time

    // As sha256sum prints it: 64 lowercase hex digits; empty when not known.
    [[nodiscard]] QByteArray hex() const;
};

// The digest of 64 hex digits (either case); nothing known for any other text.
[[nodiscard]] FileChecksum checksumFromHex(QByteArrayView hex);

// The checksum of a file without content, which says nothing about which file it was.
[[nodiscard]] bool isEmptyFileChecksum(const FileChecksum &checksum);

// The checksums of the files named (as nameFromBytes gives them) in the folder
// open as descriptor, on the mount named, in the same order.
[[nodiscard]] std::vector<FileChecksum> readChecksums(int folderDescriptor, const QString &mount,
                                                      const QStringList &names);

} // namespace Lirabel
