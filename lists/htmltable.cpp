// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/htmltable.h"

#include "lists/listrequest.h"
#include "lists/listsink.h"

namespace Lirabel {

HtmlTableList::HtmlTableList(const ListRequest &request, ListSink &sink)
    : mRequest(request)
    , mSink(sink)
{
    QString head = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>\n<table>\n<tr>");
    if (mRequest.numberEntries)
        head += QStringLiteral("<th>Nr.</th>");
    for (const ListColumn *column : mRequest.columns)
        head += QStringLiteral("<th>") + column->heading.toString() + QStringLiteral("</th>");
    mSink.write((head + QStringLiteral("</tr>\n")).toUtf8());
}

void HtmlTableList::folder(const ListedFolder &folder)
{
    QString rows;
    for (const ListedFile &file : folder.files) {
        rows += QStringLiteral("<tr>");
        if (mRequest.numberEntries)
            rows += QStringLiteral("<td>%1</td>").arg(++mNumber);
        for (const ListColumn *column : mRequest.columns)
            rows += QStringLiteral("<td>")
                + plainText(column->kind, column->value({folder, file, mRequest.stripExtensions, mRoom}))
                      .toHtmlEscaped()
                + QStringLiteral("</td>");
        rows += QStringLiteral("</tr>\n");
    }
    mSink.write(rows.toUtf8());
}

void HtmlTableList::finish()
{
    mSink.write(QByteArrayLiteral("</table>\n</body></html>\n"));
    mSink.finish();
}

} // namespace Lirabel
