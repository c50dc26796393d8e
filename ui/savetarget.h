// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>

namespace Lirabel {

class SaveSettingsDialog;

// "&Weiter" of the save settings dialog: asks for the file name and writes the listing.
void saveListing(SaveSettingsDialog &dialog);

// The name the listing is written under: the chosen name, with ".txt"
// appended unless it already ends in exactly ".txt" or ".TXT".
[[nodiscard]] QString withTextExtension(const QString &fileName);

// The same rule for any extension (".csv", ".m3u", ...), written in small
// letters: appended unless the name ends in it in small or capital letters.
[[nodiscard]] QString withExtension(const QString &fileName, const QString &extension);

} // namespace Lirabel
