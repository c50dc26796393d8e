// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QByteArray>
#include <QString>

namespace Lirabel {

// A file the program writes, by the rules of a save:
// - a regular file, or a new one, is written whole or not at all: the bytes
//   go to a new file beside it, which takes the name only when it is
//   complete and on disk. A file that stands there keeps its permissions
//   through the replacement; one that may not be written is refused. Through
//   a link the file it points to is replaced and the link stays.
// - what is no regular file (a device such as /dev/null, a FIFO, a terminal)
//   is written into directly and never replaced: replacing /dev/null with a
//   file would break the system.
// Every step reports the system's errno, and reason() says it in German;
// nothing is thrown. Unless committed, the destructor removes the new file.
class OutputFile
{
public:
    // A FIFO opens once something reads from it, as a shell's redirection
    // does; a window's thread must not wait for that and is refused at once
    // (waitForReader false) where nothing reads yet.
    explicit OutputFile(QByteArray path, bool waitForReader = true);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    [[nodiscard]] bool open();
    // All the bytes, or false.
    [[nodiscard]] bool write(const char *data, qsizetype size);
    // The file under its name, complete.
    [[nodiscard]] bool commit();
    // Nothing written under the name; a directly written device has what it got.
    void cancel();

    [[nodiscard]] int error() const { return mError; }
    // Why the last step failed, in words that fit a file that was to be
    // made: "kein Schreibrecht", "Ordner nicht vorhanden", or "In diesem
    // Ordner kann keine Datei angelegt werden" where the folder is there but
    // takes no file (/proc); otherwise systemReason().
    [[nodiscard]] QString reason() const;
    [[nodiscard]] const QByteArray &path() const { return mPath; }

private:
    bool fail(int error);

    QByteArray mPath;
    bool mWaitForReader;
    QByteArray mTarget;    // the regular file replaced: mPath, or where its link points
    QByteArray mTemporary; // the new file beside it; empty when written directly
    int mDescriptor = -1;
    int mError = 0;
    bool mOpening = false; // the error is open()'s
};

} // namespace Lirabel
