#pragma once

// File names as the system gives them: bytes. Most are UTF-8, but names from
// old archives, Windows shares and copied sticks are often Latin-1 or
// Windows-1252 ("Lieder f\xfcr Mutter"). Such a name is kept as its bytes for
// every file-system call, and only read as text where a person sees it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace Lirabel {

// The name as a person reads it: valid UTF-8 as it stands, and each byte that
// is not part of valid UTF-8 as its Windows-1252 character; the five bytes
// Windows-1252 leaves unassigned read "?". Names that differ in their bytes
// may read alike only where such a byte and its UTF-8 twin meet.
[[nodiscard]] QString readableName(QByteArrayView bytes);

// True when every byte is part of valid UTF-8, so the name's text and bytes
// convert both ways without loss.
[[nodiscard]] bool isUtf8Name(QByteArrayView bytes);

} // namespace Lirabel
