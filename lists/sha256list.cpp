// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/sha256list.h"

#include "core/bytenames.h"
#include "lists/listsink.h"

namespace Lirabel {

QByteArray sha256Line(QByteArrayView hex, QByteArrayView path)
{
    QByteArray line;
    line.reserve(hex.size() + path.size() + 4);
    const bool escaped = path.contains('\\') || path.contains('\n') || path.contains('\r');
    if (escaped)
        line.append('\\');
    line.append(hex).append("  ");
    if (!escaped)
        return line.append(path).append('\n');
    for (const char c : path) {
        if (c == '\\')
            line.append("\\\\");
        else if (c == '\n')
            line.append("\\n");
        else if (c == '\r')
            line.append("\\r");
        else
            line.append(c);
    }
    return line.append('\n');
}

Sha256List::Sha256List(ListSink &sink)
    : mSink(sink)
{
}

void Sha256List::folder(const ListedFolder &folder)
{
    QByteArray prefix;
    for (const QString &part : folder.relativePath)
        prefix.append(nameBytes(part)).append('/');
    mLines.resize(0);
    for (const ListedFile &file : folder.files) {
        if (!file.checksum || !file.checksum->known)
            continue;
        mLines.append(sha256Line(file.checksum->hex(), prefix + nameBytes(file.name.toString())));
    }
    mSink.write(mLines);
}

void Sha256List::finish()
{
    mSink.finish();
}

} // namespace Lirabel
