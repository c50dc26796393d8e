// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/savedlist.h"

#include "lists/savedjsonlist.h"

#include <QJsonDocument>

#include <cstring>

namespace Lirabel {

namespace {

// "HEX  PATH" (or "HEX *PATH", as sha256sum -b writes), a leading backslash
// where the path is escaped.
std::optional<SavedList> readSha256List(const QByteArray &bytes, QString &wrong)
{
    SavedList list;
    list.by.checksums = true;
    qsizetype number = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = QByteArrayView(bytes).sliced(at, end - at);
        at = end + 1;
        ++number;
        if (line.endsWith('\r'))
            line.chop(1); // a list that passed through a Windows editor
        if (line.isEmpty())
            continue;
        const bool escaped = line.startsWith('\\');
        if (escaped)
            line = line.sliced(1);
        const FileChecksum checksum = line.size() > 66 ? checksumFromHex(line.first(64)) : FileChecksum();
        std::optional<QByteArray> path;
        if (checksum.known && line.at(64) == ' ' && (line.at(65) == ' ' || line.at(65) == '*'))
            path = escaped ? unescapedPath(line.sliced(66)) : line.sliced(66).toByteArray();
        if (!path || path->isEmpty() || path->startsWith('/')) {
            wrong = QStringLiteral("Zeile %1 ist keine Zeile einer sha256-Liste.").arg(number);
            return std::nullopt;
        }
        if (path->contains('/'))
            list.options.subfolders = true;
        list.files.push_back({list.paths.keep(*path), -1, -1, checksum});
    }
    return list;
}

} // namespace

size_t lineCount(QByteArrayView bytes)
{
    size_t lines = 0;
    for (const char *at = bytes.data(), *end = at + bytes.size(); at < end; ++lines) {
        at = static_cast<const char *>(std::memchr(at, '\n', size_t(end - at)));
        if (!at)
            break;
        ++at;
    }
    return lines;
}

std::optional<QByteArray> unescapedPath(QByteArrayView escaped)
{
    QByteArray path;
    path.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const char c = escaped.at(i);
        if (c != '\\') {
            path.append(c);
            continue;
        }
        if (++i == escaped.size())
            return std::nullopt;
        switch (escaped.at(i)) {
        case '\\':
            path.append('\\');
            break;
        case 'n':
            path.append('\n');
            break;
        case 'r':
            path.append('\r');
            break;
        default:
            return std::nullopt;
        }
    }
    return path;
}

std::optional<SavedList> readSavedList(const QByteArray &bytes, QString &wrong, bool optionsOnly)
{
    const QByteArray start = bytes.left(64).trimmed();
    if (start.startsWith('{') || start.startsWith('[')) {
        const qsizetype firstLineEnd = bytes.indexOf('\n');
        const bool manyLines = firstLineEnd >= 0 && !QByteArrayView(bytes).sliced(firstLineEnd).trimmed().isEmpty();
        if (manyLines && QJsonDocument::fromJson(bytes.left(firstLineEnd)).isObject()) {
            wrong = QStringLiteral("Eine jsonl-Liste lässt sich nicht vergleichen; bitte die Liste mit --format "
                                   "json oder sha256 schreiben.");
            return std::nullopt;
        }
        return readJsonList(bytes, wrong, optionsOnly);
    }
    return readSha256List(bytes, wrong);
}

} // namespace Lirabel
