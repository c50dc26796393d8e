// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/markdownlist.h"

#include "lists/listsink.h"

namespace Lirabel {

namespace {

bool isAsciiPunctuation(char16_t c)
{
    return (c >= u'!' && c <= u'/') || (c >= u':' && c <= u'@') || (c >= u'[' && c <= u'`') || (c >= u'{' && c <= u'~');
}

} // namespace

QString MarkdownList::escaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 4 + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        // A table cell and a heading drop the blanks at their ends; as a
        // character reference a blank stays.
        if (c == u' ' && (i == 0 || i + 1 == text.size()))
            out.append(QLatin1String("&#32;"));
        else if (c < 0x20 || c == 0x7f)
            out.append(QLatin1Char(' '));
        else if (isAsciiPunctuation(c))
            out.append(QLatin1Char('\\')).append(QChar(c));
        else
            out.append(QChar(c));
    }
    return out;
}

MarkdownList::MarkdownList(const ListRequest &request, const QString &shownFolder, ListSink &sink)
    : mRequest(request)
    , mSink(sink)
    , mShownFolder(shownFolder)
{
    QString names = QStringLiteral("|");
    QString rule = QStringLiteral("|");
    if (mRequest.numberEntries) {
        names += QStringLiteral(" Nr\\. |");
        rule += QStringLiteral(" ---: |");
    }
    for (const ListColumn *column : mRequest.columns) {
        names += QLatin1Char(' ') + escaped(column->heading) + QStringLiteral(" |");
        rule += isNumeric(column->kind) ? QStringLiteral(" ---: |") : QStringLiteral(" --- |");
    }
    mHead = names + QLatin1Char('\n') + rule + QLatin1Char('\n');
}

void MarkdownList::folder(const ListedFolder &folder)
{
    QString text = QStringLiteral("## ") + escaped(shownPathBelow(folder.shownRoot, folder.relativePath))
        + QStringLiteral("\n\n") + mHead;
    for (const ListedFile &file : folder.files) {
        ++mNumber;
        text += QLatin1Char('|');
        if (mRequest.numberEntries)
            text += QLatin1Char(' ') + QString::number(mNumber) + QStringLiteral(" |");
        for (const ListColumn *column : mRequest.columns) {
            const ColumnValue value = column->value({folder, file, mRequest.stripExtensions, mRoom});
            const QString cell = plainText(column->kind, value);
            text += QLatin1Char(' ') + (column->kind == ColumnKind::Text ? escaped(cell) : cell) + QStringLiteral(" |");
        }
        text += QLatin1Char('\n');
    }
    text += QLatin1Char('\n');
    mSink.write(text.toUtf8());
}

void MarkdownList::finish()
{
    mSink.finish();
}

} // namespace Lirabel
