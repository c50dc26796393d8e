// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listrequest.h"
#include "lists/listwriter.h"

namespace Lirabel {

class ListSink;

// One page with nothing from outside: title and heading name the folder and
// the time of the listing, one table (a section per folder), and a last line
// with the count, the total size and, with the duration column, the total
// playing time. Long texts wrap, so the table prints on A4 without cut columns.
class HtmlList : public ListWriter
{
public:
    HtmlList(const ListRequest &request, const QString &shownFolder, ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void finish() override;

private:
    const ListRequest &mRequest;
    ListSink &mSink;
    QString mShownFolder;
    qsizetype mNumber = 0;
    qint64 mTotalSize = 0;
    qint64 mTotalSeconds = 0;
    QString mRoom; // for a cell's text made for it
};

} // namespace Lirabel
