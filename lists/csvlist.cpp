// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/csvlist.h"

#include "lists/listsink.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace Lirabel {

namespace {

constexpr size_t PrefetchRows = 8;

// A number's digits, without a string of their own for each cell.
void appendNumber(QByteArray &row, qint64 number)
{
    char digits[24];
    const char *end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    appendFewBytes(row, QByteArrayView(digits, end - digits));
}

void appendField(QByteArray &row, QStringView value, bool text, char separator)
{
    // Most fields are ASCII that needs no quotes: their UTF-16 units are
    // their bytes, written while they are checked.
    const qsizetype at = row.size();
    const bool guarded = text && !value.isEmpty() && QByteArrayView("=+-@").contains(char(value.front().unicode()));
    row.resize(at + qsizetype(guarded) + value.size());
    char *out = row.data() + at;
    if (guarded)
        *out++ = '\'';
    bool plain = true;
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        plain &= u < 0x80 && u != char16_t(separator) && u != u'"' && u != u'\n' && u != u'\r';
        *out++ = char(u);
    }
    if (plain)
        return;
    row.resize(at);
    QByteArray bytes = value.toUtf8();
    if (text && !bytes.isEmpty() && QByteArrayView("=+-@").contains(bytes.front()))
        bytes.prepend('\'');
    if (bytes.contains(separator) || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r')) {
        bytes.replace("\"", "\"\"");
        row.append('"').append(bytes).append('"');
    } else {
        row.append(bytes);
    }
}

// The cell as spreadsheets read it: text quoted where it must be, numbers
// and times as they are.
void appendCell(QByteArray &row, ColumnKind kind, const ColumnValue &value, char separator, LocalTimeTexts &times)
{
    if (!value.known)
        return;
    switch (kind) {
    case ColumnKind::Text:
        appendField(row, value.text, true, separator);
        return;
    case ColumnKind::Number:
    case ColumnKind::Bytes:
        appendNumber(row, value.number);
        return;
    case ColumnKind::Time:
        appendFewBytes(row, times.text(value.number));
        return;
    case ColumnKind::Duration:
        row.append(durationText(value.number).toLatin1());
        return;
    }
}

} // namespace

CsvList::CsvList(const ListRequest &request, ListSink &sink)
    : mRequest(request)
    , mSink(sink)
{
    QByteArray row("\xef\xbb\xbf");
    QStringList names;
    if (mRequest.numberEntries)
        names.append(QStringLiteral("Nr."));
    for (const ListColumn *column : mRequest.columns)
        names.append(column->heading.toString());
    row.append(names.join(QLatin1Char(mRequest.separator)).toUtf8()).append("\r\n");
    mSink.write(row);
}

void CsvList::folder(const ListedFolder &folder)
{
    const char separator = mRequest.separator;
    const std::vector<const ListColumn *> &columns = mRequest.columns;
    const std::vector<ListedFile> &files = folder.files;
    // A cell that is the same for the whole folder is made once.
    mFolderCells.resize(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
        mFolderCells[c].resize(0);
        if (columns[c]->sameInFolder && !files.empty())
            appendCell(mFolderCells[c], columns[c]->kind,
                       columns[c]->value({folder, files.front(), mRequest.stripExtensions, mRoom}), separator, mTimes);
    }
    // Rows are written in blocks, not one by one.
    constexpr qsizetype Block = 64 * 1024;
    mRows.resize(0); // keeps its room
    for (size_t i = 0; i < files.size(); ++i) {
        const ListedFile &file = files[i];
        // The names lie in the folder's order, the rows in sorted order:
        // asking for a name's memory a few rows early hides the wait for it.
        if (i + PrefetchRows < files.size())
            prefetchMemory(files[i + PrefetchRows].shown.data());
        if (mRows.size() >= Block) {
            mSink.write(mRows);
            mRows.resize(0);
        }
        ++mNumber;
        if (mRequest.numberEntries) {
            appendNumber(mRows, mNumber);
            appendFewBytes(mRows, QByteArrayView(&separator, 1));
        }
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c > 0)
                appendFewBytes(mRows, QByteArrayView(&separator, 1));
            const ListColumn &column = *columns[c];
            if (column.sameInFolder)
                appendFewBytes(mRows, mFolderCells[c]);
            else
                appendCell(mRows, column.kind, column.value({folder, file, mRequest.stripExtensions, mRoom}), separator,
                           mTimes);
        }
        appendFewBytes(mRows, "\r\n");
    }
    mSink.write(mRows);
}

void CsvList::finish()
{
    mSink.finish();
}

} // namespace Lirabel
