// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>

namespace Lirabel {

class SaveOptionen;

// "&Weiter" of the save settings dialog: asks for the file name and writes the listing.
void saveListing(SaveOptionen &dialog);

// The name the listing is written under: the chosen name, with ".txt"
// appended unless it already ends in exactly ".txt" or ".TXT".
[[nodiscard]] QString withTextExtension(const QString &fileName);

} // namespace Lirabel
