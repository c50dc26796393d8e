// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "core/fewbytes.h"
#include "fs/audiotags.h"
#include "fs/filechecksum.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <ctime>
#include <vector>

namespace Lirabel {

// What files have when their tags were not asked for.
extern const AudioTags NoAudioTags;

// What a comparison with a saved list found for a file.
enum class ChangeKind { Added, Removed, Changed, Renamed };
struct ListedChange
{
    ChangeKind kind = ChangeKind::Added;
    QString before; // of a renamed file: its path in the saved list, as a person reads it
};

// One listed file: matched, in natural order, with what its columns need.
// Its texts lie in its folder's texts.
struct ListedFile
{
    QStringView name;  // by its bytes (bytenames.h)
    QStringView shown; // as a person reads it, control characters as "?"
    qint64 size = -1;
    qint64 modified = 0; // seconds since the epoch
    const AudioTags *tags = &NoAudioTags;
    const FileChecksum *checksum = nullptr; // where a column or the format asks for it
    const ListedChange *change = nullptr;   // in a comparison with a saved list
};

struct ListedFolder
{
    QStringList relativePath; // folder names below the listed folder; empty for it
    QString shownFolder;      // the relative path as a person reads it; "." for the listed folder, or with
                              // several ORDNER its path as given joined with the relative path
    QString shownAbsolute;    // the folder's absolute path as a person reads it, for the path column
    std::vector<ListedFile> files;
    // What the files' texts and tags point into: a few blocks for the
    // folder, not some for every file.
    QString names;
    QString shownNames; // of the names not shown as they are
    std::vector<AudioTags> tags;
    std::vector<FileChecksum> checksums;
    std::vector<ListedChange> changes;
    QByteArray root;   // the ORDNER it lies in, as the system passed it
    QString shownRoot; // that ORDNER as a person reads it
    QString drive;     // its drive as the window's drive list shows it, where the drive column asks
};

// A folder, or a file in it, left out of the list, and why.
struct LeftOutEntry
{
    const QStringList &relativePath; // of the folder, as in ListedFolder
    QStringView file;                // the file's name by its bytes (bytenames.h); empty for the folder
    const QString &message;          // as the user is told: "Verzeichnis nicht lesbar: …"
};

// One format of the list. It is handed the folders with listed files in the
// order they are listed, and writes them to its ListSink.
class ListWriter
{
public:
    virtual ~ListWriter() = default;
    virtual void folder(const ListedFolder &folder) = 0;
    // What was left out, for the formats that record it in the list itself.
    virtual void leftOut(const LeftOutEntry &entry) { Q_UNUSED(entry) }
    // The next ORDNER's walk begins: the folders and what is left out after
    // this lie in it. absoluteFolder is that ORDNER made absolute, by its bytes.
    virtual void beginFolder(const QByteArray &absoluteFolder) { Q_UNUSED(absoluteFolder) }
    // The end of the list; the sink is finished here.
    virtual void finish() = 0;
};

// Appends a few bytes to a row, without QByteArray::append's general insert
// and the C library's copy (fewbytes.h).
inline void appendFewBytes(QByteArray &out, QByteArrayView bytes)
{
    const qsizetype at = out.size();
    out.resize(at + bytes.size());
    copyFewBytes(out.data() + at, bytes.data(), size_t(bytes.size()));
}

// Asks for the memory at address to be brought near the processor, for a
// loop that reads in an order of its own: a few steps early, it hides the
// wait for memory.
inline void prefetchMemory(const void *address)
{
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    Q_UNUSED(address)
#endif
}

// The relative path as a person reads it: "musik/alt"; "" for the listed folder.
[[nodiscard]] QString shownPath(const QStringList &relativePath);

// The folder the relative path leads to from folder, both as a person reads
// them: "/home/a/musik/alt"; folder itself for an empty path.
[[nodiscard]] QString shownPathBelow(const QString &folder, const QStringList &relativePath);

// "h:mm:ss"; empty for an unknown time (-1).
[[nodiscard]] QString durationText(qint64 seconds);

// The file's full path as a person reads it, for the path column.
[[nodiscard]] QString shownFilePath(const ListedFolder &folder, const ListedFile &file);

// The time, in seconds since the epoch, in local time; false where it cannot
// be converted. The time zone is read once per program (TZ, else the
// system's), not at every file, as the C library's and Qt's conversions do.
[[nodiscard]] bool toLocalTime(qint64 seconds, struct tm &local);

// The time, in seconds since the epoch, as local "JJJJ-MM-TT hh:mm:ss";
// empty where it cannot be converted.
[[nodiscard]] QByteArray localTimeText(qint64 seconds);

// The local time text of the time asked last, given again for the next file
// of the same time, as the files of a folder often share it to the second.
class LocalTimeTexts
{
public:
    [[nodiscard]] const QByteArray &text(qint64 seconds);

private:
    qint64 mSeconds = 0;
    QByteArray mText;
};

} // namespace Lirabel
