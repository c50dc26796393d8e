// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>

namespace Lirabel {

// The program's own German words for what the system reports in errno: the
// usual failures of reading and writing files in a short phrase ("existiert
// nicht", "Datenträger voll"); a rare one as its number and symbolic name,
// never the C library's English text.
[[nodiscard]] QString systemReason(int error);

} // namespace Lirabel
