// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// File names as the system gives them: bytes. Most are UTF-8, but names from
// old archives, Windows shares and copied sticks are often Latin-1 or
// Windows-1252 ("Lieder f\xfcr Mutter"). Qt reads such bytes as U+FFFD, and
// the name is lost: the folder no longer opens, and "f\xfc.mp3" and
// "f\xe4.mp3" become the same text.
//
// So the program holds a name as a QString that keeps its bytes: valid UTF-8
// decoded as it stands, and each other byte as a lone surrogate U+DC80 to
// U+DCFF, which no valid UTF-8 gives. Every file-system call takes the bytes
// back (nameBytes), and only where a person reads the name is such a byte
// shown as its Windows-1252 character (readableName).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace Lirabel {

// The name of these bytes, without loss.
[[nodiscard]] QString nameFromBytes(QByteArrayView bytes);

// The bytes of a name made by nameFromBytes, or of any text (as UTF-8).
[[nodiscard]] QByteArray nameBytes(QStringView name);

// The name as a person reads it: each byte that is not part of valid UTF-8 as
// its Windows-1252 character ("f\xfc" reads "fü", "\x96" reads "–"); the five
// bytes Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) read "?".
[[nodiscard]] QString readableName(const QString &name);

// True when the name holds a byte that is not part of valid UTF-8.
[[nodiscard]] bool holdsForeignBytes(QStringView name);

// The name as it is shown, printed, saved and sorted, in the window and in
// the lists alike: read as readableName says, and control characters (U+0000
// to U+001F, U+007F) as "?", so a name is one line.
[[nodiscard]] QString printableName(const QString &name);

// True when the name is shown as it is: no foreign byte, no control
// character. Most names are; the check is cheaper than printableName.
[[nodiscard]] bool isShownAsItIs(QStringView name);

} // namespace Lirabel
