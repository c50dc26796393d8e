// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "core/platform.h"
#include "fs/outputfile.h"

#include <map>
#include <memory>

namespace Lirabel {

// Text files written atomically: a file appears under its name only when it
// has been closed complete, so a failure never leaves a partial file or harms
// the one that stood there before (outputfile.h; a device is written into).
// UTF-8 without byte-order mark, CR LF. A failure names the path and, on the
// next line, the reason in the program's own German (systemreason.h).
//
// The lines are gathered here and written in large blocks, each written until
// it is all on disk: a full disk first shows as a short write and only the
// next write tells why, and that reason is what the failure reports.
class QtTextFiles : public TextFileService
{
public:
    QtTextFiles();
    ~QtTextFiles() override;

    int freeFile() override;
    void openForOutput(int fileNumber, const QString &path) override;
    void writeLine(int fileNumber, const QString &text) override;
    void closeAll() override;
    void discardAll() override;

private:
    struct OpenFile
    {
        std::unique_ptr<OutputFile> file;
        QString path;
        QByteArray pending;
    };
    OpenFile &open(int fileNumber);
    static void writePending(OpenFile &open);

    std::map<int, OpenFile> mOpen;
};

} // namespace Lirabel
