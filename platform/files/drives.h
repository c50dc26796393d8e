#pragma once

// Which drive a path or a drive text names. A drive text is the mount point,
// then " [label]" where the volume has one; a path belongs to the volume whose
// mount point is its longest leading run of whole folder names.

#include "platform/platform.h"

#include <optional>

namespace Lirabel {

// True when path is folder itself or lies below it.
[[nodiscard]] bool isSameOrBelow(const QString &path, const QString &folder);

// The volume whose drive text is exactly the text, else the one that holds the
// text read as a path; nothing when neither is found.
[[nodiscard]] std::optional<Volume> volumeFor(const QList<Volume> &volumes, const QString &pathOrDriveText);

// Control characters (U+0000 to U+001F, U+007F) as "?", so a name is one line.
[[nodiscard]] QString printableName(const QString &name);

} // namespace Lirabel
