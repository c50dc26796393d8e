// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/savedlist.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
        list.files.push_back({std::move(*path), -1, -1, checksum});
    }
    return list;
}

// A path or name as the JSON list writes it: its exact bytes where it has
// them, its text where that is the name itself.
QByteArray bytesOf(const QJsonObject &object, QStringView key)
{
    const QJsonValue bytes = object.value(QLatin1String("bytes"));
    if (bytes.isString())
        return QByteArray::fromBase64(bytes.toString().toLatin1());
    return object.value(key).toString().toUtf8();
}

// The path below top, by its bytes; nothing where it does not lie there.
std::optional<QByteArray> relativeTo(const QByteArray &top, const QByteArray &path)
{
    if (path == top)
        return QByteArray();
    const QByteArray prefix = top.endsWith('/') ? top : top + '/';
    if (!path.startsWith(prefix))
        return std::nullopt;
    return path.mid(prefix.size());
}

std::optional<SavedList> readJsonList(const QByteArray &bytes, QString &wrong)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject root = document.object();
    const QJsonObject options = root.value(QLatin1String("optionen")).toObject();
    if (error.error != QJsonParseError::NoError || root.value(QLatin1String("programm")) != QLatin1String("lirabel")
        || options.isEmpty()) {
        wrong = QStringLiteral("Sie ist keine JSON-Liste von lirabel mit ihren „optionen“.");
        return std::nullopt;
    }
    const QJsonArray folders = options.value(QLatin1String("ordner")).toArray();
    if (folders.size() != 1) {
        wrong = QStringLiteral("Nur die Liste eines einzigen Ordners lässt sich vergleichen.");
        return std::nullopt;
    }
    QStringList columns;
    for (const QJsonValue &column : options.value(QLatin1String("spalten")).toArray())
        columns.append(column.toString());
    if (columns.contains(QLatin1String("aenderung"))) {
        wrong = QStringLiteral("Sie ist das Ergebnis eines Vergleichs.");
        return std::nullopt;
    }
    if (!columns.contains(QLatin1String("name"))) {
        wrong = QStringLiteral("Sie hat keine Spalte name.");
        return std::nullopt;
    }

    SavedList list;
    ListRequest &then = list.options;
    then.pattern = options.value(QLatin1String("filter")).toString(then.pattern);
    then.patternChosen = true;
    for (const QJsonValue &pattern : options.value(QLatin1String("ohne")).toArray())
        then.excluded.append(pattern.toString());
    then.subfolders = options.value(QLatin1String("unterordner")).toBool();
    then.depth = options.value(QLatin1String("tiefe")).toInt(-1);
    then.oneFileSystem = options.value(QLatin1String("ein-dateisystem")).toBool();
    then.hidden = options.value(QLatin1String("versteckte")).toBool();
    list.by = {columns.contains(QLatin1String("groesse")), columns.contains(QLatin1String("datum")),
               columns.contains(QLatin1String("pruefsumme"))};

    const QByteArray top = bytesOf(folders.first().toObject(), u"pfad");
    const auto below = [&top, &wrong](const QJsonObject &object) {
        std::optional<QByteArray> path = relativeTo(top, bytesOf(object, u"pfad"));
        if (!path)
            wrong = QStringLiteral("Der Ordner %1 liegt nicht im Ordner der Liste.")
                        .arg(object.value(QLatin1String("pfad")).toString());
        return path;
    };
    for (const QJsonValue &value : root.value(QLatin1String("verzeichnisse")).toArray()) {
        const QJsonObject folder = value.toObject();
        std::optional<QByteArray> prefix = below(folder);
        if (!prefix)
            return std::nullopt;
        if (!prefix->isEmpty())
            prefix->append('/');
        for (const QJsonValue &entry : folder.value(QLatin1String("dateien")).toArray()) {
            const QJsonObject file = entry.toObject();
            ComparedFile compared{*prefix + bytesOf(file, u"name"), -1, -1, {}};
            const QJsonValue size = file.value(QLatin1String("groesse"));
            if (size.isDouble())
                compared.size = size.toInteger(-1);
            const QJsonValue time = file.value(QLatin1String("datum"));
            if (time.isString()) {
                const QDateTime when = QDateTime::fromString(time.toString(), Qt::ISODate);
                if (when.isValid())
                    compared.modified = when.toSecsSinceEpoch();
            }
            compared.checksum = checksumFromHex(file.value(QLatin1String("pruefsumme")).toString().toLatin1());
            list.files.push_back(std::move(compared));
        }
    }
    for (const QJsonValue &value : root.value(QLatin1String("ausgelassen")).toArray()) {
        // A folder that could be read but not entered has its files in the list.
        if (value.toObject().value(QLatin1String("grund")).toString().startsWith(QLatin1String("Ordner lesbar")))
            continue;
        if (const std::optional<QByteArray> path = below(value.toObject()))
            list.leftOut.push_back(*path);
    }
    return list;
}

} // namespace

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

std::optional<SavedList> readSavedList(const QByteArray &bytes, QString &wrong)
{
    const QByteArray start = bytes.left(64).trimmed();
    if (start.startsWith('{') || start.startsWith('[')) {
        const qsizetype firstLineEnd = bytes.indexOf('\n');
        const bool manyLines = firstLineEnd >= 0 && !bytes.mid(firstLineEnd).trimmed().isEmpty();
        if (manyLines && QJsonDocument::fromJson(bytes.left(firstLineEnd)).isObject()) {
            wrong = QStringLiteral("Eine jsonl-Liste lässt sich nicht vergleichen; bitte die Liste mit --format "
                                   "json oder sha256 schreiben.");
            return std::nullopt;
        }
        return readJsonList(bytes, wrong);
    }
    return readSha256List(bytes, wrong);
}

} // namespace Lirabel
