// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <thread>

class QApplication;

namespace Lirabel {

// Qt's own texts in German whatever the locale, and the interface font the
// window layouts were measured for.
void setUpApplication(QApplication &app);

// The two set-ups the main window's first picture waits for that share
// nothing, each some milliseconds: the font database (fontconfig reads its
// configuration and describes every font) on a thread of its own, and the
// icon theme the folder list's icons come from (Qt reads the theme's index)
// on the calling thread meanwhile. Once the icons are there, it returns the
// font thread, which is joined as it goes; the first widget that needs a
// font waits for the database under Qt's own lock. Nothing the window shows
// changes, only when it is read.
[[nodiscard]] std::jthread readFontsBesideIcons();

} // namespace Lirabel
