// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QIcon>

namespace Lirabel {

// The folder list's symbols, an open folder for the path down to the shown
// folder and a closed one for its subfolders, as the Windows folder list
// draws them: drawn at whatever size and scale the view asks for, without
// looking through the desktop's icon theme (whose index costs the window a
// tenth of its start-up where no theme has folder icons).
[[nodiscard]] QIcon folderIcon(bool open);

} // namespace Lirabel
