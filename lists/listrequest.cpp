// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/listrequest.h"

#include <QList>
#include <QStringList>

#include <algorithm>

namespace Lirabel {

std::vector<const ListColumn *> ListRequest::defaultColumns()
{
    return *columnsNamed(u"name,ordner,groesse,datum");
}

QString formatName(ListFormat format)
{
    switch (format) {
    case ListFormat::Text:
        return QStringLiteral("text");
    case ListFormat::Csv:
        return QStringLiteral("csv");
    case ListFormat::Html:
        return QStringLiteral("html");
    case ListFormat::M3u:
        return QStringLiteral("m3u");
    case ListFormat::Json:
        return QStringLiteral("json");
    case ListFormat::Jsonl:
        return QStringLiteral("jsonl");
    case ListFormat::Markdown:
        return QStringLiteral("md");
    case ListFormat::Sha256:
        return QStringLiteral("sha256");
    case ListFormat::Pdf:
        return QStringLiteral("pdf");
    }
    return {};
}

std::optional<ListFormat> formatNamed(QStringView name)
{
    for (const ListFormat format : ListFormats) {
        if (name == formatName(format))
            return format;
    }
    return std::nullopt;
}

QString spokenList(QStringList names)
{
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" und ") + last;
}

std::optional<std::vector<const ListColumn *>> columnsNamed(QStringView list, QString *unknown, QString *twice)
{
    std::vector<const ListColumn *> columns;
    for (const QStringView part : list.split(u',')) {
        const QStringView name = part.trimmed();
        const ListColumn *found = columnNamed(name);
        if (!found || found->needs == ColumnNeeds::Comparison) {
            if (unknown)
                *unknown = name.toString();
            return std::nullopt;
        }
        if (std::find(columns.cbegin(), columns.cend(), found) != columns.cend()) {
            if (twice)
                *twice = name.toString();
            return std::nullopt;
        }
        columns.push_back(found);
    }
    if (columns.empty())
        return std::nullopt;
    return columns;
}

QString columnNamesText()
{
    QStringList names;
    for (const ListColumn &column : listColumns()) {
        if (column.needs != ColumnNeeds::Comparison)
            names.append(column.name.toString());
    }
    return spokenList(names);
}

QString formatNamesText()
{
    QStringList names;
    for (const ListFormat format : ListFormats)
        names.append(formatName(format));
    return spokenList(names);
}

} // namespace Lirabel
