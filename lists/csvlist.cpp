// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/csvlist.h"

#include "core/entryformat.h"
#include "lists/listsink.h"

#include <algorithm>
#include <cstring>

namespace Lirabel {

namespace {

constexpr size_t PrefetchRows = 8;

// Appends bytes without QByteArray::append's general insert, which costs
// more than the few bytes of a field.
void appendBytes(QByteArray &row, QByteArrayView bytes)
{
    const qsizetype at = row.size();
    row.resize(at + bytes.size());
    std::memcpy(row.data() + at, bytes.data(), size_t(bytes.size()));
}

void appendField(QByteArray &row, QStringView value, bool text, char separator)
{
    // Most fields are ASCII that needs no quotes: their UTF-16 units are their bytes.
    const bool plain = std::all_of(value.cbegin(), value.cend(), [separator](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x80 && u != char16_t(separator) && u != u'"' && u != u'\n' && u != u'\r';
    });
    if (plain) {
        if (text && !value.isEmpty() && QByteArrayView("=+-@").contains(char(value.front().unicode())))
            row.append('\'');
        const qsizetype at = row.size();
        row.resize(at + value.size());
        std::transform(value.cbegin(), value.cend(), row.data() + at, [](QChar c) { return char(c.unicode()); });
        return;
    }
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

} // namespace

CsvList::CsvList(const ListRequest &request, ListSink &sink)
    : mRequest(request)
    , mSink(sink)
{
    QByteArray row("\xef\xbb\xbf");
    QStringList names;
    if (mRequest.numberEntries)
        names.append(QStringLiteral("Nr."));
    for (const ListColumn column : mRequest.columns)
        names.append(columnHeading(column));
    row.append(names.join(QLatin1Char(mRequest.separator)).toUtf8()).append("\r\n");
    mSink.write(row);
}

void CsvList::folder(const ListedFolder &folder)
{
    QByteArray folderField;
    const char separator = mRequest.separator;
    appendField(folderField, folder.relativePath.isEmpty() ? QStringLiteral(".") : shownPath(folder.relativePath), true,
                separator);
    // Rows are written in blocks, not one by one.
    constexpr qsizetype Block = 64 * 1024;
    mRows.resize(0); // keeps its room
    const std::vector<ListedFile> &files = folder.files;
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
        if (mRequest.numberEntries)
            mRows.append(QByteArray::number(mNumber)).append(separator);
        bool first = true;
        for (const ListColumn column : mRequest.columns) {
            if (!first)
                mRows.append(separator);
            first = false;
            switch (column) {
            case ListColumn::Name:
                if (mRequest.stripExtensions) {
                    QString name = file.shown.toString();
                    name = withoutExtension(name);
                    appendField(mRows, name, true, separator);
                } else {
                    appendField(mRows, file.shown, true, separator);
                }
                break;
            case ListColumn::Folder:
                appendBytes(mRows, folderField);
                break;
            case ListColumn::Path:
                appendField(mRows, shownFilePath(folder, file), true, separator);
                break;
            case ListColumn::Size:
                if (file.size >= 0)
                    mRows.append(QByteArray::number(file.size));
                break;
            case ListColumn::Modified:
                mRows.append(shownTime(file));
                break;
            case ListColumn::Artist:
                appendField(mRows, file.tags->artist, true, separator);
                break;
            case ListColumn::Title:
                appendField(mRows, file.tags->title, true, separator);
                break;
            case ListColumn::Album:
                appendField(mRows, file.tags->album, true, separator);
                break;
            case ListColumn::Track:
                mRows.append(tagNumber(file.tags->track).toLatin1());
                break;
            case ListColumn::Year:
                mRows.append(tagNumber(file.tags->year).toLatin1());
                break;
            case ListColumn::Genre:
                appendField(mRows, file.tags->genre, true, separator);
                break;
            case ListColumn::Duration:
                mRows.append(durationText(file.tags->seconds).toLatin1());
                break;
            }
        }
        appendBytes(mRows, "\r\n");
    }
    mSink.write(mRows);
}

void CsvList::finish()
{
    mSink.finish();
}

} // namespace Lirabel
