// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// `lirabel --liste --vergleichen ALT ORDNER`: a list saved before (sha256 or
// JSON, savedlist.h) against ORDNER now, listed again with the options the
// saved list was written with (listcommand.h), compared (listcomparison.h)
// and written in the chosen format: text one line each ("+ " new, "- "
// missing, "~ " changed, "> " renamed, then the path), the table formats with
// the columns aenderung and vorher.

#include "lists/listcommand.h"

namespace Lirabel {

// The exit status, as diff's: 0 nothing differs, 1 something differs, 2
// trouble (the saved list or a folder now could not be read, a file did not
// answer, the result could not be written).
[[nodiscard]] int runCompareCommand(const ListRequest &request, ListReport &report);

} // namespace Lirabel
