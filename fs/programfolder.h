// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QByteArray>

namespace Lirabel {

// The folder of the running program, with its links resolved: from the
// system where it tells, else from argv0 where given; "." where neither does.
[[nodiscard]] QByteArray programFolder(const char *argv0 = nullptr);

} // namespace Lirabel
