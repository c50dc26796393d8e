// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// `lirabel --liste --zwischenablage` on X11: the X clipboard holds no data,
// only the name of the program that answers for it; so the program that set
// it keeps running in the background and answers each paste, until another
// program takes the clipboard. The list is written first, with its messages
// on the caller's standard error; the call returns with the list's exit
// status once the clipboard is taken. On Wayland, and without a desktop, as
// `lirabel` does (cli/clipboardlist.h).

#include "lists/listrequest.h"

namespace Lirabel {

[[nodiscard]] int holdListInClipboard(const ListRequest &request, int &argc, char **argv);

} // namespace Lirabel
