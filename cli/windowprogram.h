// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The window lives in a program of its own, lirabel-fenster, which links the
// window system's libraries (and draws the lists on paper, which need them); `lirabel` itself links only Qt Core, so
// that the help, the version and the lists start without loading them. The window program lies beside `lirabel` in the
// build folder and in WindowFolder (relative to `lirabel`'s folder) when installed.

namespace Lirabel {

// Replaces this process by the window program with the same arguments. Only
// returns when that cannot be done: after saying why on standard error, with
// the exit status to end with.
[[nodiscard]] int startWindowProgram(char **argv);

} // namespace Lirabel
