// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Colours in the notation the window layouts use: with the high bit set the
// value is an index into the system colour table (COLOR_ numbering), mapped
// onto the role of the current palette that plays the same part, so that the
// text on it stays readable in light and dark colour schemes alike; otherwise
// it is a plain colour, red in the low byte, then green, then blue.

#include <QColor>
#include <QPalette>

namespace Lirabel {

inline constexpr quint32 SystemColourFlag = 0x80000000u;
inline constexpr quint32 SystemColourInactiveBorder = SystemColourFlag | 11u; // COLOR_INACTIVEBORDER
inline constexpr quint32 SystemColourCaptionText = SystemColourFlag | 9u;     // COLOR_CAPTIONTEXT

// The colour in one colour group of the palette (active, inactive window,
// disabled control). Indices without a counterpart give the base colour.
[[nodiscard]] QColor systemColour(quint32 value, const QPalette &palette,
                                  QPalette::ColorGroup group = QPalette::Active);
// The same against the application's palette.
[[nodiscard]] QColor systemColour(quint32 value, QPalette::ColorGroup group = QPalette::Active);

} // namespace Lirabel
