// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/savedjsonlist.h"

#include "lists/jsonstream.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Lirabel {

namespace {

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

// Seconds since the epoch of "JJJJ-MM-TTThh:mm:ss+hh:mm" (or "Z"), as the
// JSON list writes its times; -1 for any other text. By the calendar's
// arithmetic: QDateTime's own parser costs a large list seconds.
qint64 secondsOfIsoTime(QStringView text)
{
    const auto number = [&text](qsizetype at, qsizetype digits) {
        int value = 0;
        for (qsizetype i = at; i < at + digits; ++i) {
            if (i >= text.size() || !text[i].isDigit())
                return -1;
            value = value * 10 + text[i].digitValue();
        }
        return value;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    if (text.size() < 20 || year < 0 || month < 1 || month > 12 || day < 1 || hour < 0 || minute < 0 || second < 0)
        return QDateTime::fromString(text.toString(), Qt::ISODate).toSecsSinceEpoch();
    int offset = 0;
    if (text[19] != u'Z') {
        const int offsetHours = number(20, 2), offsetMinutes = number(23, 2);
        if (text.size() != 25 || offsetHours < 0 || offsetMinutes < 0 || (text[19] != u'+' && text[19] != u'-'))
            return -1;
        offset = (offsetHours * 60 + offsetMinutes) * 60 * (text[19] == u'-' ? -1 : 1);
    }
    // Days since 1970-01-01 of the proleptic Gregorian calendar.
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const qint64 days = qint64(era) * 146097 + dayOfEra - 719468;
    return days * 86400 + hour * 3600 + minute * 60 + second - offset;
}

// A folder of the list as it streams by: its path, and where its files lie
// in the list, each under its name alone until the path is known below top.
struct StreamedFolder
{
    QByteArray path;
    QString shownPath;
    size_t first = 0;
    size_t end = 0;
    bool whole = false; // its files' paths made whole as they were read
};

bool readFile(JsonStream &json, ComparedFile &file, PathStore &paths, const QByteArray &prefix, QByteArray &lastTime,
              qint64 &lastSeconds)
{
    QByteArrayView name, text;
    QByteArray room, bytes;
    const bool read = json.object([&](QByteArrayView key) {
        if (key == "name")
            return json.string(name, room);
        if (key == "bytes") {
            const bool good = json.string(text, bytes);
            bytes = QByteArray::fromBase64(text.toByteArray());
            return good;
        }
        if (key == "groesse")
            return json.whole(file.size);
        if (json.literal("null"))
            return true;
        if (key == "datum") {
            QByteArray timeRoom;
            if (!json.string(text, timeRoom))
                return false;
            // Files of a folder often share their time.
            if (text != lastTime) {
                lastTime = text.toByteArray();
                lastSeconds = secondsOfIsoTime(QString::fromLatin1(lastTime));
            }
            file.modified = lastSeconds;
            return true;
        }
        if (key == "pruefsumme") {
            QByteArray hexRoom;
            const bool good = json.string(text, hexRoom);
            file.checksum = checksumFromHex(text);
            return good;
        }
        return json.skip();
    });
    const QByteArrayView own = bytes.isEmpty() ? name : QByteArrayView(bytes);
    file.path = paths.keep(prefix, own);
    return read;
}

} // namespace

std::optional<SavedList> readJsonList(const QByteArray &bytes, QString &wrong, bool optionsOnly)
{
    SavedList list;
    if (!optionsOnly)
        list.files.reserve(lineCount(bytes)); // lirabel writes a line for each file
    JsonStream json(bytes);
    QByteArray program;
    QByteArrayView optionsText, leftOutText;
    std::vector<StreamedFolder> folders;
    std::optional<QByteArray> top;
    QByteArray lastTime;
    qint64 lastSeconds = -1;
    const bool read = json.object([&](QByteArrayView key) {
        if (key == "programm")
            return json.string(program);
        if (key == "optionen") {
            optionsText = json.rawValue();
            const QJsonArray tops =
                QJsonDocument::fromJson(optionsText.toByteArray()).object().value(QLatin1String("ordner")).toArray();
            if (tops.size() == 1)
                top = bytesOf(tops.first().toObject(), u"pfad");
            return !optionsText.isEmpty();
        }
        if (key == "ausgelassen")
            return !(leftOutText = json.rawValue()).isEmpty();
        if (key != "verzeichnisse")
            return json.skip();
        if (optionsOnly && !optionsText.isEmpty()) {
            list.complete = false;
            return false; // the files later, while the folder is listed
        }
        return json.array([&] {
            StreamedFolder folder;
            folder.first = list.files.size();
            QByteArray path, pathBytes;
            const bool good = json.object([&](QByteArrayView member) {
                if (member == "pfad")
                    return json.string(path);
                if (member == "bytes") {
                    const bool base64 = json.string(pathBytes);
                    pathBytes = QByteArray::fromBase64(pathBytes);
                    return base64;
                }
                if (member != "dateien")
                    return json.skip();
                // Where the list's folder is known already, as lirabel
                // writes it, each path is made whole at once.
                QByteArray prefix;
                if (top) {
                    const std::optional<QByteArray> below = relativeTo(*top, pathBytes.isEmpty() ? path : pathBytes);
                    if (below && !below->isEmpty())
                        prefix = *below + '/';
                    folder.whole = below.has_value();
                }
                return json.array([&] {
                    list.files.emplace_back();
                    return readFile(json, list.files.back(), list.paths, prefix, lastTime, lastSeconds);
                });
            });
            folder.path = pathBytes.isEmpty() ? path : pathBytes;
            folder.shownPath = QString::fromUtf8(path);
            folder.end = list.files.size();
            folders.push_back(std::move(folder));
            return good;
        });
    });
    const QJsonObject options = QJsonDocument::fromJson(optionsText.toByteArray()).object();
    if ((list.complete && (!read || !json.atEnd())) || program != "lirabel" || options.isEmpty()) {
        wrong = QStringLiteral("Sie ist keine JSON-Liste von lirabel mit ihren „optionen“.");
        return std::nullopt;
    }
    const QJsonArray tops = options.value(QLatin1String("ordner")).toArray();
    if (tops.size() != 1) {
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

    top = bytesOf(tops.first().toObject(), u"pfad");
    for (const StreamedFolder &folder : folders) {
        std::optional<QByteArray> prefix = relativeTo(*top, folder.path);
        if (!prefix) {
            wrong = QStringLiteral("Der Ordner %1 liegt nicht im Ordner der Liste.").arg(folder.shownPath);
            return std::nullopt;
        }
        if (prefix->isEmpty() || folder.whole)
            continue;
        prefix->append('/');
        for (size_t i = folder.first; i < folder.end; ++i)
            list.files[i].path = list.paths.keep(*prefix, list.files[i].path);
    }
    for (const QJsonValue &value : QJsonDocument::fromJson(leftOutText.toByteArray()).array()) {
        // A folder that could be read but not entered has its files in the list.
        const QJsonObject entry = value.toObject();
        if (entry.value(QLatin1String("grund")).toString().startsWith(QLatin1String("Ordner lesbar")))
            continue;
        if (const std::optional<QByteArray> path = relativeTo(*top, bytesOf(entry, u"pfad")))
            list.leftOut.push_back(*path);
    }
    return list;
}

} // namespace Lirabel
