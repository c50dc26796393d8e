// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/htmllist.h"

#include "lists/listsink.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

namespace Lirabel {

namespace {

// Sans-serif from the reader's system; long names break anywhere rather than
// widen the table past the page.
constexpr char Style[] = "<style>\n"
                         "@page { size: A4; margin: 15mm; }\n"
                         "body { font-family: sans-serif; font-size: 10pt; margin: 1em; }\n"
                         "h1 { font-size: 13pt; }\n"
                         "table { border-collapse: collapse; width: 100%; }\n"
                         "th, td { border-bottom: 1px solid #ccc; padding: 2px 6px; text-align: left;"
                         " vertical-align: top; overflow-wrap: anywhere; }\n"
                         "td.zahl, th.zahl { text-align: right; white-space: nowrap; }\n"
                         "thead { display: table-header-group; }\n"
                         "tr { break-inside: avoid; }\n"
                         "tbody th { background: #eee; }\n"
                         "</style>\n";

QString cell(const QString &text, bool number)
{
    return (number ? QStringLiteral("<td class=\"zahl\">") : QStringLiteral("<td>")) + text.toHtmlEscaped()
        + QStringLiteral("</td>");
}

} // namespace

HtmlList::HtmlList(const ListRequest &request, const QString &shownFolder, ListSink &sink)
    : mRequest(request)
    , mSink(sink)
    , mShownFolder(shownFolder)
{
    const QString when = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString title = QStringLiteral("Dateiliste %1, %2").arg(mShownFolder, when).toHtmlEscaped();
    QString page = QStringLiteral("<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n<title>")
        + title + QStringLiteral("</title>\n") + QLatin1String(Style) + QStringLiteral("</head>\n<body>\n<h1>") + title
        + QStringLiteral("</h1>\n<table>\n<thead><tr>");
    if (mRequest.numberEntries)
        page += QStringLiteral("<th class=\"zahl\">Nr.</th>");
    // Sizes are written with the digits grouped, so their heading names the unit.
    for (const ListColumn *column : mRequest.columns)
        page += (isNumeric(column->kind) ? QStringLiteral("<th class=\"zahl\">") : QStringLiteral("<th>"))
            + column->heading.toString() + (column->kind == ColumnKind::Bytes ? QStringLiteral(" (Bytes)") : QString())
            + QStringLiteral("</th>");
    page += QStringLiteral("</tr></thead>\n");
    mSink.write(page.toUtf8());
}

void HtmlList::folder(const ListedFolder &folder)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QString rows = QStringLiteral("<tbody>\n");
    if (mRequest.subfolders || mRequest.severalFolders()) {
        const qsizetype span = qsizetype(mRequest.columns.size()) + (mRequest.numberEntries ? 1 : 0);
        rows += QStringLiteral("<tr><th colspan=\"%1\">").arg(span)
            + (folder.relativePath.isEmpty() ? folder.shownRoot : folder.shownFolder + QLatin1Char('/')).toHtmlEscaped()
            + QStringLiteral("</th></tr>\n");
    }
    for (const ListedFile &file : folder.files) {
        ++mNumber;
        mTotalSize += std::max<qint64>(file.size, 0);
        mTotalSeconds += std::max(file.tags->seconds, 0);
        rows += QStringLiteral("<tr>");
        if (mRequest.numberEntries)
            rows += cell(QString::number(mNumber), true);
        for (const ListColumn *column : mRequest.columns) {
            const ColumnValue value = column->value({folder, file, mRequest.stripExtensions, mRoom});
            rows += cell(column->kind == ColumnKind::Bytes && value.known ? german.toString(value.number)
                                                                          : plainText(column->kind, value),
                         isNumeric(column->kind));
        }
        rows += QStringLiteral("</tr>\n");
    }
    rows += QStringLiteral("</tbody>\n");
    mSink.write(rows.toUtf8());
}

void HtmlList::finish()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QString summary =
        QStringLiteral("%1 %2, zusammen %3 Bytes")
            .arg(german.toString(mNumber), mNumber == 1 ? QStringLiteral("Datei") : QStringLiteral("Dateien"),
                 german.toString(mTotalSize));
    if (std::any_of(mRequest.columns.cbegin(), mRequest.columns.cend(),
                    [](const ListColumn *column) { return column->kind == ColumnKind::Duration; }))
        summary += QStringLiteral(", Spieldauer ") + durationText(mTotalSeconds);
    mSink.write((QStringLiteral("</table>\n<p>") + summary.toHtmlEscaped() + QStringLiteral("</p>\n</body>\n</html>\n"))
                    .toUtf8());
    mSink.finish();
}

} // namespace Lirabel
