// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listwriter.h"

#include <QByteArray>
#include <QByteArrayView>

namespace Lirabel {

class ListSink;

// A checksum list that `sha256sum -c` checks from within the listed folder:
// for each file its SHA-256 in lowercase hex, two blanks and its path
// relative to the folder by its bytes, lines ended by LF. A path holding a
// backslash, a line feed or a carriage return is escaped as sha256sum
// escapes it ("\\", "\n", "\r") and its line begins with a backslash. A file
// whose checksum is not known is left out (the list command names it).
class Sha256List : public ListWriter
{
public:
    explicit Sha256List(ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void finish() override;

private:
    ListSink &mSink;
    QByteArray mLines;
};

// The line for a file at path (bytes, relative), LF included.
[[nodiscard]] QByteArray sha256Line(QByteArrayView hex, QByteArrayView path);

} // namespace Lirabel
