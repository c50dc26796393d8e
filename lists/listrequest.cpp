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

std::optional<ListFormat> formatNamed(QStringView name)
{
    if (name == u"text")
        return ListFormat::Text;
    if (name == u"csv")
        return ListFormat::Csv;
    if (name == u"html")
        return ListFormat::Html;
    if (name == u"m3u")
        return ListFormat::M3u;
    return std::nullopt;
}

std::optional<std::vector<const ListColumn *>> columnsNamed(QStringView list, QString *unknown, QString *twice)
{
    std::vector<const ListColumn *> columns;
    for (const QStringView part : list.split(u',')) {
        const QStringView name = part.trimmed();
        const ListColumn *found = columnNamed(name);
        if (!found) {
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
    for (const ListColumn &column : listColumns())
        names.append(column.name.toString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" und ") + last;
}

} // namespace Lirabel
