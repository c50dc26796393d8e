// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listcolumn.h"

#include <QString>

namespace Lirabel {

// A cell as a German reader expects it on paper: sizes with the digits
// grouped ("1.234.567") or, readable, in decimal units ("1,2 MB"), times as
// "08.12.2026 14:03", durations as "h:mm:ss", other numbers plain (a year
// stays "2024"); empty where the value is not known.
[[nodiscard]] QString paperCellText(ColumnKind kind, const ColumnValue &value, bool readableSizes);

// A size as paperCellText writes it.
[[nodiscard]] QString paperSizeText(qint64 bytes, bool readableSizes);

// A count with the digits grouped: "2.500".
[[nodiscard]] QString germanNumber(qint64 number);

} // namespace Lirabel
