// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QPageSize>

namespace Lirabel {

// The paper of the locale (LC_PAPER, as the C library gives it: Letter in
// en_US, A4 in de_DE); A4 where the locale does not say.
[[nodiscard]] QPageSize localePaperSize();

} // namespace Lirabel
