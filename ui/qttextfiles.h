// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "core/platform.h"

namespace Lirabel {

// Text files written atomically: a file appears under its name only when it
// has been closed complete, so a failure never leaves a partial file or harms
// the one that stood there before (outputfile.h; a device is written into).
// UTF-8 without byte-order mark, CR LF. A failure names the path and, on the
// next line, the reason in the program's own German (systemreason.h).
//
// The lines are gathered in the writer and written in large blocks, each
// written until it is all on disk: a full disk first shows as a short write
// and only the next write tells why, and that reason is what the failure
// reports.
class QtTextFiles : public TextFileService
{
public:
    [[nodiscard]] std::unique_ptr<TextFileWriter> openForOutput(const QString &path) override;
};

} // namespace Lirabel
