// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The folder a path names when a user hands the program a path, on its
// command line or by dropping it on the window: a folder stands for itself,
// anything else for the folder that holds it.

#include <QByteArray>
#include <QString>

#include <optional>

namespace Lirabel {

// The path is taken by its bytes, as the system gives them, and may be
// relative to the working directory. The result is absolute, with links
// resolved, so the drive that holds it is the one it lies on. Nothing when
// the path names nothing, or when the folder's own path holds bytes that are
// not UTF-8 and so cannot be written as text: a file of such a name still
// opens its folder.
[[nodiscard]] std::optional<QString> folderToOpen(const QByteArray &localPath);

} // namespace Lirabel
