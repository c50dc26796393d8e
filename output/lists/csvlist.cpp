// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "output/lists/csvlist.h"

#include "listing/entryformat.h"
#include "output/lists/listsink.h"

#include <algorithm>

namespace Lirabel {

namespace {

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
    for (const ListedFile &file : folder.files) {
        mRow.resize(0); // keeps its room for the next row
        ++mNumber;
        if (mRequest.numberEntries)
            mRow.append(QByteArray::number(mNumber)).append(separator);
        bool first = true;
        for (const ListColumn column : mRequest.columns) {
            if (!first)
                mRow.append(separator);
            first = false;
            switch (column) {
            case ListColumn::Name:
                if (mRequest.stripExtensions) {
                    QString name = file.shown.toString();
                    StripExtension(name);
                    appendField(mRow, name, true, separator);
                } else {
                    appendField(mRow, file.shown, true, separator);
                }
                break;
            case ListColumn::Folder:
                mRow.append(folderField);
                break;
            case ListColumn::Path:
                appendField(mRow, shownFilePath(folder, file), true, separator);
                break;
            case ListColumn::Size:
                if (file.size >= 0)
                    mRow.append(QByteArray::number(file.size));
                break;
            case ListColumn::Modified:
                mRow.append(shownTime(file));
                break;
            case ListColumn::Artist:
                appendField(mRow, file.tags->artist, true, separator);
                break;
            case ListColumn::Title:
                appendField(mRow, file.tags->title, true, separator);
                break;
            case ListColumn::Album:
                appendField(mRow, file.tags->album, true, separator);
                break;
            case ListColumn::Track:
                mRow.append(tagNumber(file.tags->track).toLatin1());
                break;
            case ListColumn::Year:
                mRow.append(tagNumber(file.tags->year).toLatin1());
                break;
            case ListColumn::Genre:
                appendField(mRow, file.tags->genre, true, separator);
                break;
            case ListColumn::Duration:
                mRow.append(durationText(file.tags->seconds).toLatin1());
                break;
            }
        }
        mRow.append("\r\n");
        mSink.write(mRow);
    }
}

void CsvList::finish()
{
    mSink.finish();
}

} // namespace Lirabel
