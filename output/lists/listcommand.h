// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Lists without the window: `lirabel --liste`.
//
// The folder (and with --unterordner each folder below it, depth first) is
// read one at a time (folderwalk.h); its files are matched with the window's
// pattern, put in natural order under the names a person reads, given their
// tags where a column or the playlist asks (audiotags.h), and handed to the
// format's ListWriter, which writes to a ListSink: standard output or a file
// written whole or not at all. The text format is the window's listing run
// itself (textlist.h). Messages go to standard error, in German.

#include "output/lists/listrequest.h"

namespace Lirabel {

// Writes the list; the exit status: 0 done, 1 when a folder or file could not
// be read or the list not written, or a text list would hold too many entries.
[[nodiscard]] int runListCommand(const ListRequest &request);

} // namespace Lirabel
