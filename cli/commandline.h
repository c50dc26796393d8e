// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The command line: `lirabel [ORDNER]`, `lirabel --liste [OPTIONEN] ORDNER`,
// with --help and --version. It is read before the application's window
// system starts, so that help, version, lists and a wrong command line need
// no display. Qt's own options (-style, -platform, -reverse, ...) are left to
// Qt.

#include "lists/listrequest.h"

#include <QByteArray>

#include <optional>

namespace Lirabel {

struct CommandLine
{
    // Set when the program ends at once with this code: after the help or the
    // version (0), or after a wrong command line (2).
    std::optional<int> exitCode;
    // The ORDNER argument by its bytes, as the system passed them.
    std::optional<QByteArray> folder;
    // Set for --liste: the list to write instead of opening the window.
    std::optional<ListRequest> list;
};

// Writes the help and the version to standard output, what is wrong with the
// command line to standard error, in German.
[[nodiscard]] CommandLine readCommandLine(int &argc, char **argv);

} // namespace Lirabel
