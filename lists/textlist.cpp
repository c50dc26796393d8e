// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/textlist.h"

#include "core/entryformat.h"
#include "lists/listrequest.h"
#include "lists/listsink.h"

#include <limits>

namespace Lirabel {

namespace {

// The run's lines as the window's text file holds them: UTF-8, CR LF (LF
// on standard output). A
// heading goes in front of the entry it belongs to; the run writes one line
// per entry, so the lines counted here say which entry a line is.
class HeadedLines : public LineTarget
{
public:
    HeadedLines(ListSink &sink, const std::map<qsizetype, QString> &headings, bool crLf)
        : mSink(sink)
        , mHeadings(headings)
        , mLineEnd(crLf ? QByteArrayView("\r\n") : QByteArrayView("\n"))
    {
    }

    void writeLine(const QString &text) override
    {
        const auto heading = mHeadings.find(mEntriesWritten++);
        if (heading != mHeadings.end()) {
            // One blank line before a heading, also where the spacing has just
            // written one; none at the very start.
            if (mWroteAny && !mLastBlank)
                write(QString());
            write(heading->second);
        }
        write(text);
    }
    void writeBlankLine() override { write(QString()); }
    void finish() override {}

private:
    void write(const QString &text)
    {
        mSink.write(text.toUtf8());
        mSink.write(mLineEnd.data(), mLineEnd.size());
        mWroteAny = true;
        mLastBlank = text.isEmpty();
    }

    ListSink &mSink;
    const std::map<qsizetype, QString> &mHeadings;
    QByteArrayView mLineEnd;
    qsizetype mEntriesWritten = 0;
    bool mWroteAny = false;
    bool mLastBlank = false;
};

} // namespace

TextList::TextList(const ListRequest &request, ListSink &sink)
    : mRequest(request)
    , mSink(sink)
{
}

void TextList::folder(const ListedFolder &folder)
{
    // With several ORDNER each starts a section of its own, headed by its path.
    if (!folder.relativePath.isEmpty() || mRequest.severalFolders())
        mHeadings[mEntries.size()] =
            folder.shownFolder + (folder.shownFolder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/"));
    for (const ListedFile &file : folder.files)
        mEntries.append(file.shown.toString());
}

void TextList::finish()
{
    RunSettings settings;
    settings.stripExtensions = mRequest.stripExtensions;
    settings.numberEntries = mRequest.numberEntries;
    settings.entryLimit = std::numeric_limits<qsizetype>::max();
    settings.blankLines = mRequest.spacing.has_value();
    const QString spacing = mRequest.spacing.value_or(QString());
    settings.readSpacing = [spacing](RunState &run) { readSaveSpacing(run, spacing); };
    HeadedLines lines(mSink, mHeadings, mRequest.crLfLines());
    RunState run;
    runListing(run, settings, *this, lines);
    mSink.finish();
}

} // namespace Lirabel
