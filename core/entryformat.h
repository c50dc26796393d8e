// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace Lirabel {

// Puts "001.) " (at least three digits, index 1 to 9999) in front of entry.
void NumberEntry(QString &entry, int index);

// Cuts the last extension off entry when at least two characters stand in
// front of its last dot. Positions count characters, not UTF-16 units.
void StripExtension(QString &entry);

// The blank-line spacing written in text: blanks around, an optional sign,
// digits with at most one decimal separator ("," or "."). Rounded half to
// even on the decimal text; a negative number gives 0. Nothing when the text
// is no number or its rounded value does not fit a signed 32-bit integer.
[[nodiscard]] std::optional<qint32> SpacingFromText(QStringView text);

// Set SpacingInterval from the txt_zeile text of the print or save settings
// dialog. Raise LirabelError and leave SpacingInterval alone when it is no number.
void ReadPrintSpacing(const QString &zeileText);
void ReadSaveSpacing(const QString &zeileText);

} // namespace Lirabel
