// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/htmllist.h"

#include "core/bytenames.h"
#include "lists/htmlpage.h"
#include "lists/listsink.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

namespace Lirabel {

namespace {

constexpr char PartStart[] = "<script type=\"application/json\" class=\"list-part\">[";
constexpr char PartEnd[] = "]</script>\n";

// The column's kind as the page's script reads it.
QString kindName(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Text:
        return QStringLiteral("text");
    case ColumnKind::Number:
        return QStringLiteral("zahl");
    case ColumnKind::Bytes:
        return QStringLiteral("bytes");
    case ColumnKind::Time:
        return QStringLiteral("zeit");
    case ColumnKind::Duration:
        return QStringLiteral("dauer");
    }
    return {};
}

void appendJsonValue(QString &json, ColumnKind kind, const ColumnValue &value)
{
    if (kind == ColumnKind::Text)
        appendJsonText(json, value.text);
    else if (value.known)
        json.append(QString::number(value.number));
    else
        json.append(QLatin1String("null"));
}

QString cell(const QString &text, bool number)
{
    return (number ? QStringLiteral("<td class=\"number\">") : QStringLiteral("<td>")) + text.toHtmlEscaped()
        + QStringLiteral("</td>");
}

} // namespace

HtmlList::HtmlList(const ListRequest &request, const QString &shownFolder, ListSink &sink)
    : mRequest(request)
    , mSink(sink)
    , mShownFolder(shownFolder)
    , mOrders(request.columns.size())
{
    const QString when = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    QByteArray page = htmlPageStart(QStringLiteral("Dateiliste %1, %2").arg(mShownFolder, when));

    QString data = QStringLiteral("<script type=\"application/json\" id=\"list-head\">{\"folder\":");
    appendJsonText(data, mShownFolder);
    data += QStringLiteral(",\"numbers\":%1,\"subfolders\":%2,\"columns\":[")
                .arg(mRequest.numberEntries ? "true" : "false",
                     mRequest.subfolders || mRequest.severalFolders() ? "true" : "false");
    QString head = QStringLiteral("<thead><tr>");
    if (mRequest.numberEntries)
        head += QStringLiteral("<th class=\"number\">Nr.</th>");
    for (const ListColumn *column : mRequest.columns) {
        if (column != mRequest.columns.front())
            data += QLatin1Char(',');
        data += QStringLiteral("{\"id\":");
        appendJsonText(data, column->name);
        data += QStringLiteral(",\"heading\":");
        appendJsonText(data, column->heading);
        data += QStringLiteral(",\"kind\":\"%1\",\"perFolder\":%2}")
                    .arg(kindName(column->kind), column->sameInFolder ? "true" : "false");
        // Sizes are written with the digits grouped, so their heading names the unit.
        head += (isNumeric(column->kind) ? QStringLiteral("<th class=\"number\">") : QStringLiteral("<th>"))
            + column->heading.toString() + (column->kind == ColumnKind::Bytes ? QStringLiteral(" (Bytes)") : QString())
            + QStringLiteral("</th>");
    }
    data += QStringLiteral("]}</script>\n");
    mTable = (head + QStringLiteral("</tr></thead>\n")).toUtf8();
    // The script comes before the data, so it shows the first rows while the
    // browser still reads the rest.
    mSink.write(page + data.toUtf8() + htmlPageScript() + PartStart);
}

void HtmlList::folder(const ListedFolder &folder)
{
    // [[path names], files, bytes, [a value per folder column], [a value per file column, file by file]]
    // With several ORDNER, each is a folder of the tree's top, as it was given.
    QString json = mPartBytes == 0 ? QStringLiteral("[[") : QStringLiteral(",\n[[");
    if (mRequest.severalFolders())
        appendJsonText(json, folder.shownRoot);
    for (qsizetype i = 0; i < folder.relativePath.size(); ++i) {
        if (i > 0 || mRequest.severalFolders())
            json += QLatin1Char(',');
        appendJsonText(json, printableName(folder.relativePath[i]));
    }
    qint64 bytes = 0;
    for (const ListedFile &file : folder.files)
        bytes += std::max<qint64>(file.size, 0);
    json += QStringLiteral("],%1,%2,[").arg(qsizetype(folder.files.size())).arg(bytes);
    bool first = true;
    for (size_t c = 0; c < mRequest.columns.size(); ++c) {
        const ListColumn &column = *mRequest.columns[c];
        if (!column.sameInFolder || folder.files.empty())
            continue;
        const ColumnValue value = column.value({folder, folder.files.front(), mRequest.stripExtensions, mRoom});
        json += first ? QString() : QStringLiteral(",");
        first = false;
        appendJsonValue(json, column.kind, value);
        if (column.kind == ColumnKind::Text)
            mOrders[c].append(value.text);
    }
    json += QStringLiteral("],[");
    first = true;
    for (const ListedFile &file : folder.files) {
        for (size_t c = 0; c < mRequest.columns.size(); ++c) {
            const ListColumn &column = *mRequest.columns[c];
            if (column.sameInFolder)
                continue;
            const ColumnValue value = column.value({folder, file, mRequest.stripExtensions, mRoom});
            if (!first)
                json += QLatin1Char(',');
            first = false;
            appendJsonValue(json, column.kind, value);
            if (column.kind == ColumnKind::Text)
                mOrders[c].append(value.text);
        }
    }
    json += QStringLiteral("]]");
    const QByteArray bytes8 = json.toUtf8();
    mSink.write(bytes8);
    // The data comes in parts that grow from small to a megabyte: the first
    // is read at once, the others without holding up the page for long.
    mPartBytes += bytes8.size();
    if (mPartBytes >= mPartLimit) {
        mSink.write(QByteArray(PartEnd) + PartStart);
        mPartBytes = 0;
        mPartLimit = std::min<qsizetype>(mPartLimit * 4, 1 << 20);
    }

    if (mNumber + qsizetype(folder.files.size()) <= TableLimit)
        addTableRows(folder);
    else
        mTable.clear();
    mNumber += qsizetype(folder.files.size());
    mTotalSize += bytes;
    for (const ListedFile &file : folder.files)
        mTotalSeconds += std::max(file.tags->seconds, 0);
}

void HtmlList::addTableRows(const ListedFolder &folder)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QString rows = QStringLiteral("<tbody>\n");
    if (mRequest.subfolders || mRequest.severalFolders()) {
        const qsizetype span = qsizetype(mRequest.columns.size()) + (mRequest.numberEntries ? 1 : 0);
        rows += QStringLiteral("<tr><th colspan=\"%1\">").arg(span)
            + (folder.relativePath.isEmpty() ? folder.shownRoot : folder.shownFolder + QLatin1Char('/')).toHtmlEscaped()
            + QStringLiteral("</th></tr>\n");
    }
    qsizetype number = mNumber;
    for (const ListedFile &file : folder.files) {
        rows += QStringLiteral("<tr>");
        if (mRequest.numberEntries)
            rows += cell(QString::number(++number), true);
        for (const ListColumn *column : mRequest.columns) {
            const ColumnValue value = column->value({folder, file, mRequest.stripExtensions, mRoom});
            rows += cell(column->kind == ColumnKind::Bytes && value.known ? german.toString(value.number)
                                                                          : plainText(column->kind, value),
                         isNumeric(column->kind));
        }
        rows += QStringLiteral("</tr>\n");
    }
    rows += QStringLiteral("</tbody>\n");
    mTable += rows.toUtf8();
}

void HtmlList::finish()
{
    // The natural order of each text column, by which the page sorts it.
    QByteArray orders = QByteArray(PartEnd) + "<script type=\"application/json\" id=\"list-order\">[";
    for (size_t c = 0; c < mOrders.size(); ++c) {
        if (c > 0)
            orders += ',';
        if (mRequest.columns[c]->kind != ColumnKind::Text) {
            orders += "null";
            continue;
        }
        orders += '[';
        const std::vector<quint32> order = mOrders[c].takeNaturalOrder();
        for (size_t k = 0; k < order.size(); ++k) {
            if (k > 0)
                orders += ',';
            orders += QByteArray::number(order[k]);
            if (orders.size() > (1 << 20)) {
                mSink.write(orders);
                orders.clear();
            }
        }
        orders += ']';
    }
    orders += "]</script>\n";
    mSink.write(orders);

    const QLocale german(QLocale::German, QLocale::Germany);
    QString summary =
        QStringLiteral("%1 %2, zusammen %3 Bytes")
            .arg(german.toString(mNumber), mNumber == 1 ? QStringLiteral("Datei") : QStringLiteral("Dateien"),
                 german.toString(mTotalSize));
    if (std::any_of(mRequest.columns.cbegin(), mRequest.columns.cend(),
                    [](const ListColumn *column) { return column->kind == ColumnKind::Duration; }))
        summary += QStringLiteral(", Spieldauer ") + durationText(mTotalSeconds);

    QByteArray end = "<noscript>\n<p>Suche, Sortierung und Ordnerbaum dieser Seite brauchen JavaScript.";
    if (mNumber <= TableLimit)
        end += "</p>\n<table>\n" + mTable + "</table>\n";
    else
        end += " Ohne JavaScript zeigt sie Listen bis " + german.toString(TableLimit).toUtf8()
            + " Dateien als Tabelle.</p>\n";
    end += "</noscript>\n<p id=\"summary\">" + summary.toHtmlEscaped().toUtf8() + "</p>\n</body>\n</html>\n";
    mSink.write(end);
    mSink.finish();
}

} // namespace Lirabel
