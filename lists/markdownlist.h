// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listrequest.h"
#include "lists/listwriter.h"

namespace Lirabel {

class ListSink;

// Markdown for a wiki, a README or a chat: CommonMark with GitHub's tables.
// Each folder a heading, its path, and a table of the chosen columns. In a
// name or any other text, every ASCII punctuation character gets a backslash
// and a control character becomes a blank, so each name renders as itself
// and no "|" or line break ends a cell.
class MarkdownList : public ListWriter
{
public:
    MarkdownList(const ListRequest &request, const QString &shownFolder, ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void finish() override;

    // The text as Markdown renders it back: "a\_b\.txt" for "a_b.txt".
    [[nodiscard]] static QString escaped(QStringView text);

private:
    const ListRequest &mRequest;
    ListSink &mSink;
    const QString mShownFolder;
    QString mHead; // the table's head, the same for every folder
    qsizetype mNumber = 0;
    QString mRoom; // for a cell's text made for it
};

} // namespace Lirabel
