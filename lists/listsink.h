// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "fs/outputfile.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace Lirabel {

// Where a list's bytes go: standard output, or a file by the save's rules
// (outputfile.h): a regular file written whole or not at all, a device, FIFO
// or terminal written into. Bytes are gathered into large blocks. A failed
// write raises LirabelError with the file and the reason in German.
class ListSink
{
public:
    // Standard output when path is empty. Nothing is opened before the first
    // block is written, so a list that fails early leaves no file behind.
    explicit ListSink(std::optional<QByteArray> path);
    // Into memory, for the clipboard.
    explicit ListSink(QByteArray &memory);
    ~ListSink();
    ListSink(const ListSink &) = delete;
    ListSink &operator=(const ListSink &) = delete;

    void write(const QByteArray &bytes);
    void write(const char *bytes, qsizetype size);
    // Everything written; the file appears under its name.
    void finish();

private:
    void flush();
    void open();
    [[noreturn]] void fail();

    std::optional<QByteArray> mPath;
    QByteArray *mMemory = nullptr;
    std::unique_ptr<OutputFile> mFile;
    QByteArray mPending;
};

} // namespace Lirabel
