// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listrequest.h"
#include "lists/listwriter.h"
#include "lists/textorder.h"

#include <QByteArray>

#include <vector>

namespace Lirabel {

class ListSink;

// One page with nothing from outside, that finds, sorts and shows a million
// files: the list is data (JSON in script elements that are not run), the
// page's own script shows only the rows in view, a folder tree and a search.
// The data is written folder by folder as the walk hands them over, in parts
// the script reads while the browser reads on: each folder's path once, then
// per file one value per column, sizes and times as numbers. At the end come the natural order of every text column,
// which the script sorts by, and, for lists of at most TableLimit files, the plain table for a browser without script:
// its rows are kept until the list grows past the limit, so the writer never holds more than that many rows.
class HtmlList : public ListWriter
{
public:
    static constexpr qsizetype TableLimit = 10000;

    HtmlList(const ListRequest &request, const QString &shownFolder, ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void finish() override;

private:
    void addTableRows(const ListedFolder &folder);

    const ListRequest &mRequest;
    ListSink &mSink;
    QString mShownFolder;
    qsizetype mNumber = 0;
    qint64 mTotalSize = 0;
    qint64 mTotalSeconds = 0;
    qsizetype mPartBytes = 0;       // of the data part being written
    qsizetype mPartLimit = 1 << 14; // where it ends
    std::vector<TextOrder> mOrders; // one per column; used by the text columns
    QByteArray mTable;              // the rows for a browser without script, while there are few
    QString mRoom;                  // for a cell's text made for it
};

} // namespace Lirabel
