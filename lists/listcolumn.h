// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The columns of a table list (--spalten), each once: its name on the command
// line, its German heading, what kind of value it holds and how that value
// comes from a listed file. Every format writes its headings and cells from
// this table and keeps no list of columns of its own, so a new column is one
// row of the table and the function that gives its value.

#include "lists/listwriter.h"

#include <QString>
#include <QStringView>

#include <span>

namespace Lirabel {

// What a column's values are, so each format can write them as its readers
// expect them: text as it is, a plain number, a size in bytes, a point in time
// (seconds since the epoch) or a duration in seconds.
enum class ColumnKind { Text, Number, Bytes, Time, Duration };

// What the list must find out for a column beyond the files' names.
enum class ColumnNeeds { Names, SizesAndTimes, Tags, AbsolutePath, Drive };

// One cell, raw: the text of a text column, the number of any other.
struct ColumnValue
{
    QStringView text;
    qint64 number = 0;
    bool known = true; // false where the file does not tell: the cell stays empty
};

// What a cell's value is taken from.
struct ColumnInput
{
    const ListedFolder &folder;
    const ListedFile &file;
    bool stripExtensions; // --ohne-endungen
    QString &room;        // holds a text made for the cell until the next cell is asked for
};

struct ListColumn
{
    QStringView name;    // as --spalten names it: "groesse"
    QStringView heading; // as the header row and the table's head give it: "Größe"
    ColumnKind kind;
    ColumnNeeds needs;
    bool sameInFolder; // one value for all files of a folder, which a format may write once
    ColumnValue (*value)(const ColumnInput &input);
};

// Every column, in the order the help and the messages name them.
[[nodiscard]] std::span<const ListColumn> listColumns();

// The column of that name; nothing for any other text.
[[nodiscard]] const ListColumn *columnNamed(QStringView name);

// The value as plain text: empty where it is not known, a number in digits, a
// time as local "JJJJ-MM-TT hh:mm:ss", a duration as "h:mm:ss".
[[nodiscard]] QString plainText(ColumnKind kind, const ColumnValue &value);

// True for a column of numbers, which tables align to the right.
[[nodiscard]] inline bool isNumeric(ColumnKind kind)
{
    return kind == ColumnKind::Number || kind == ColumnKind::Bytes || kind == ColumnKind::Duration;
}

} // namespace Lirabel
