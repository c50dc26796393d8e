// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listwriter.h"

namespace Lirabel {

class ListSink;
struct ListRequest;

// The table alone as HTML, as the clipboard offers it beside csv: a header
// row and one row a file, the cells as the csv has them but never quoted or
// guarded against formulas, as a word processor or spreadsheet pastes cells
// and runs nothing. No style, no script, no section rows.
class HtmlTableList : public ListWriter
{
public:
    HtmlTableList(const ListRequest &request, ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void finish() override;

private:
    const ListRequest &mRequest;
    ListSink &mSink;
    qsizetype mNumber = 0;
    QString mRoom; // for a cell's text made for it
};

} // namespace Lirabel
