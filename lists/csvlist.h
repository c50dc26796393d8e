// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listrequest.h"
#include "lists/listwriter.h"

namespace Lirabel {

class ListSink;

// A table as spreadsheets open it in Germany: UTF-8 with byte-order mark,
// ";" between fields (or the separator asked for), CR LF, a header row,
// fields quoted where they hold the separator, a quote or a line break. A text that begins like a formula gets a
// leading apostrophe, so no spreadsheet runs a file name.
class CsvList : public ListWriter
{
public:
    CsvList(const ListRequest &request, ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void finish() override;

private:
    const ListRequest &mRequest;
    ListSink &mSink;
    qsizetype mNumber = 0;
    QByteArray mRows;                     // the rows not yet written
    std::vector<QByteArray> mFolderCells; // of the columns that are the same for all files of a folder
    QString mRoom;                        // for a cell's text made for it
    LocalTimeTexts mTimes;
};

} // namespace Lirabel
