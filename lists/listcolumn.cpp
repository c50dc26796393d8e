// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/listcolumn.h"

#include "core/entryformat.h"

#include <algorithm>
#include <iterator>

namespace Lirabel {

namespace {

ColumnValue text(const QString &text)
{
    return {text};
}

// A number from the tags, where 0 stands for "not known".
ColumnValue tagNumber(unsigned number)
{
    return {{}, qint64(number), number != 0};
}

constexpr ListColumn Columns[] = {
    {u"name", u"Name", ColumnKind::Text, ColumnNeeds::Names, false,
     [](const ColumnInput &in) {
         if (!in.stripExtensions)
             return ColumnValue{in.file.shown};
         in.room = withoutExtension(in.file.shown.toString());
         return text(in.room);
     }},
    {u"ordner", u"Ordner", ColumnKind::Text, ColumnNeeds::Names, true,
     [](const ColumnInput &in) { return text(in.folder.shownFolder); }},
    {u"pfad", u"Pfad", ColumnKind::Text, ColumnNeeds::AbsolutePath, false,
     [](const ColumnInput &in) {
         in.room = shownFilePath(in.folder, in.file);
         return text(in.room);
     }},
    {u"laufwerk", u"Laufwerk", ColumnKind::Text, ColumnNeeds::Drive, true,
     [](const ColumnInput &in) { return text(in.folder.drive); }},
    {u"groesse", u"Größe", ColumnKind::Bytes, ColumnNeeds::SizesAndTimes, false,
     [](const ColumnInput &in) {
         return ColumnValue{{}, in.file.size, in.file.size >= 0};
     }},
    // A file without a size, in a folder that cannot be entered, has no time either.
    {u"datum", u"Geändert", ColumnKind::Time, ColumnNeeds::SizesAndTimes, false,
     [](const ColumnInput &in) {
         return ColumnValue{{}, in.file.modified, in.file.size >= 0};
     }},
    {u"interpret", u"Interpret", ColumnKind::Text, ColumnNeeds::Tags, false,
     [](const ColumnInput &in) { return text(in.file.tags->artist); }},
    {u"titel", u"Titel", ColumnKind::Text, ColumnNeeds::Tags, false,
     [](const ColumnInput &in) { return text(in.file.tags->title); }},
    {u"album", u"Album", ColumnKind::Text, ColumnNeeds::Tags, false,
     [](const ColumnInput &in) { return text(in.file.tags->album); }},
    {u"titelnr", u"Titelnr.", ColumnKind::Number, ColumnNeeds::Tags, false,
     [](const ColumnInput &in) { return tagNumber(in.file.tags->track); }},
    {u"jahr", u"Jahr", ColumnKind::Number, ColumnNeeds::Tags, false,
     [](const ColumnInput &in) { return tagNumber(in.file.tags->year); }},
    {u"genre", u"Genre", ColumnKind::Text, ColumnNeeds::Tags, false,
     [](const ColumnInput &in) { return text(in.file.tags->genre); }},
    {u"dauer", u"Dauer", ColumnKind::Duration, ColumnNeeds::Tags, false,
     [](const ColumnInput &in) {
         return ColumnValue{{}, in.file.tags->seconds, in.file.tags->seconds >= 0};
     }},
};

} // namespace

std::span<const ListColumn> listColumns()
{
    return Columns;
}

const ListColumn *columnNamed(QStringView name)
{
    const auto *found = std::find_if(std::cbegin(Columns), std::cend(Columns),
                                     [name](const ListColumn &column) { return column.name == name; });
    return found == std::cend(Columns) ? nullptr : found;
}

QString plainText(ColumnKind kind, const ColumnValue &value)
{
    if (!value.known)
        return {};
    switch (kind) {
    case ColumnKind::Text:
        return value.text.toString();
    case ColumnKind::Number:
    case ColumnKind::Bytes:
        return QString::number(value.number);
    case ColumnKind::Time:
        return QString::fromLatin1(localTimeText(value.number));
    case ColumnKind::Duration:
        return durationText(value.number);
    }
    return {};
}

} // namespace Lirabel
