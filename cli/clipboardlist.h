// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// `lirabel --liste --zwischenablage`: the list on the desktop's clipboard,
// where it stays after the call has returned. A Wayland compositor gives the
// selection only to a client with the keyboard's focus, which a program
// started from a file manager's menu has not: there wl-copy (wl-clipboard),
// made for this, takes the text and offers it. On X11 the window program
// holds the list itself, in the background, as plain text and, for csv, as
// a table too (app/clipboardholder.h), until another program takes the
// clipboard.

#include "lists/listrequest.h"

#include <QByteArray>

namespace Lirabel {

enum class ClipboardSession { None, Wayland, X11 };

// Wayland where WAYLAND_DISPLAY names a display and wl-copy is installed,
// else X11 where DISPLAY names one (also XWayland), else none.
[[nodiscard]] ClipboardSession clipboardSession();

// Says on standard error why there is no clipboard; the exit status, 1.
[[nodiscard]] int noClipboard();

// The list as the clipboard's plain text: a csv without its byte-order mark.
[[nodiscard]] QByteArray clipboardText(const QByteArray &list, ListFormat format);

// Writes the list to the Wayland clipboard through wl-copy; the exit status
// as for any list, 1 also when wl-copy fails.
[[nodiscard]] int copyListWithWlCopy(const ListRequest &request);

} // namespace Lirabel
