// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace Lirabel {

struct RunState;

// The prefix of the entry at index (1 to 9999): at least three digits, then
// ".) ", as in "001.) ".
[[nodiscard]] QString numberPrefix(int index);

// The entry with its number in front: "001.) lied.mp3".
[[nodiscard]] QString numberedEntry(const QString &entry, int index);

// The position of the entry's last dot, counted in characters from 1 (an
// emoji is one character, though two UTF-16 units); 0 when there is no dot.
[[nodiscard]] int lastDotPosition(QStringView entry);

// The entry without its last extension when at least two characters stand in
// front of its last dot; otherwise the entry as it is.
[[nodiscard]] QString withoutExtension(const QString &entry);

// The blank-line spacing written in text: blanks around, an optional sign,
// digits with at most one decimal separator ("," or "."). Rounded half to
// even on the decimal text; a negative number gives 0. Nothing when the text
// is no number or its rounded value does not fit a signed 32-bit integer.
[[nodiscard]] std::optional<qint32> spacingFromText(QStringView text);

// Set the run's spacingInterval from the spacing box (txt_zeile) of the print
// or save settings dialog. Raise LirabelError and leave it alone when its text
// is no number.
void readPrintSpacing(RunState &run, const QString &spacingText);
void readSaveSpacing(RunState &run, const QString &spacingText);

} // namespace Lirabel
