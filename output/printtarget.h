// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

namespace Lirabel {

class PrintOptionen;

// "&Weiter" of the print settings dialog: font, printer, then the listing.
void printListing(PrintOptionen &dialog);

} // namespace Lirabel
