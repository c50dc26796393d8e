// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

namespace Lirabel {

class PrintSettingsDialog;

// "&Weiter" of the print settings dialog: font, printer, then the listing.
void printListing(PrintSettingsDialog &dialog);

} // namespace Lirabel
