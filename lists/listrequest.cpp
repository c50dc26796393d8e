// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/listrequest.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

namespace Lirabel {

namespace {

constexpr std::array<std::pair<const char16_t *, ListColumn>, 12> ColumnNames{{
    {u"name", ListColumn::Name},
    {u"ordner", ListColumn::Folder},
    {u"pfad", ListColumn::Path},
    {u"groesse", ListColumn::Size},
    {u"datum", ListColumn::Modified},
    {u"interpret", ListColumn::Artist},
    {u"titel", ListColumn::Title},
    {u"album", ListColumn::Album},
    {u"titelnr", ListColumn::Track},
    {u"jahr", ListColumn::Year},
    {u"genre", ListColumn::Genre},
    {u"dauer", ListColumn::Duration},
}};

} // namespace

std::vector<ListColumn> ListRequest::defaultColumns()
{
    return {ListColumn::Name, ListColumn::Folder, ListColumn::Size, ListColumn::Modified};
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

std::optional<std::vector<ListColumn>> columnsNamed(QStringView list, QString *unknown, QString *twice)
{
    std::vector<ListColumn> columns;
    for (const QStringView part : list.split(u',')) {
        const QStringView name = part.trimmed();
        const auto *found = std::find_if(ColumnNames.cbegin(), ColumnNames.cend(),
                                         [name](const auto &column) { return name == column.first; });
        if (found == ColumnNames.cend()) {
            if (unknown)
                *unknown = name.toString();
            return std::nullopt;
        }
        if (std::find(columns.cbegin(), columns.cend(), found->second) != columns.cend()) {
            if (twice)
                *twice = name.toString();
            return std::nullopt;
        }
        columns.push_back(found->second);
    }
    if (columns.empty())
        return std::nullopt;
    return columns;
}

QString columnNamesText()
{
    QStringList names;
    for (const auto &column : ColumnNames)
        names.append(QString::fromUtf16(column.first));
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" und ") + last;
}

bool needsTags(ListColumn column)
{
    return column == ListColumn::Artist || column == ListColumn::Title || column == ListColumn::Album
        || column == ListColumn::Track || column == ListColumn::Year || column == ListColumn::Genre
        || column == ListColumn::Duration;
}

QString columnHeading(ListColumn column)
{
    switch (column) {
    case ListColumn::Name:
        return QStringLiteral("Name");
    case ListColumn::Folder:
        return QStringLiteral("Ordner");
    case ListColumn::Path:
        return QStringLiteral("Pfad");
    case ListColumn::Size:
        return QStringLiteral("Größe");
    case ListColumn::Modified:
        return QStringLiteral("Geändert");
    case ListColumn::Artist:
        return QStringLiteral("Interpret");
    case ListColumn::Title:
        return QStringLiteral("Titel");
    case ListColumn::Album:
        return QStringLiteral("Album");
    case ListColumn::Track:
        return QStringLiteral("Titelnr.");
    case ListColumn::Year:
        return QStringLiteral("Jahr");
    case ListColumn::Genre:
        return QStringLiteral("Genre");
    case ListColumn::Duration:
        return QStringLiteral("Dauer");
    }
    return {};
}

} // namespace Lirabel
