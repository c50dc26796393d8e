// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/listrequest.h"
#include "lists/listwriter.h"

#include <QByteArray>

#include <vector>

namespace Lirabel {

class ListSink;

// The lists for programs, UTF-8 JSON written as the walk goes, so memory
// stays that of a folder however large the tree.
//
// As a Document (json): one object with the format's version, the program's
// version, the time of the list, the call's options (optionen, enough to
// make the same list again), each folder with its path and its files, what
// was left out and why, and the totals. As Lines (jsonl): one object a line
// for each file, with its folder, and nothing else.
//
// A file's keys are the column ids of --spalten, its values as the column's
// kind says: text as a string, numbers, sizes in bytes and durations in
// seconds as numbers, times as local ISO 8601 with offset, null where not
// known. A name or path whose shown form is not the name itself (bytes that
// are not UTF-8, control characters) has a key "bytes" beside it with its
// exact bytes in base64, so a script can open every listed file.
class JsonList : public ListWriter
{
public:
    enum class Shape { Document, Lines };

    // absoluteFolders: the ORDNER made absolute, by their bytes, in order.
    JsonList(const ListRequest &request, const std::vector<QByteArray> &absoluteFolders, Shape shape, ListSink &sink);
    void folder(const ListedFolder &folder) override;
    void leftOut(const LeftOutEntry &entry) override;
    void beginFolder(const QByteArray &absoluteFolder) override;
    void finish() override;

    // The value of "formatversion"; it grows when a key changes its meaning
    // or goes, not when one is added.
    static constexpr int FormatVersion = 1;

private:
    [[nodiscard]] QByteArray folderBytes(const QStringList &relativePath) const;
    void appendValue(QByteArray &out, ColumnKind kind, const ColumnValue &value);
    void writeHead();

    const ListRequest &mRequest;
    const std::vector<QByteArray> mRoots; // every ORDNER
    QByteArray mTop;                      // the ORDNER now listed
    const Shape mShape;
    ListSink &mSink;
    std::vector<QByteArray> mKeys; // "\"name\":" for each column
    std::vector<qint64> mSums;     // of the columns of sizes and durations
    qsizetype mNameColumn = -1;    // where "bytes" follows; -1: before the first column
    qint64 mFolders = 0;
    qint64 mFiles = 0;
    QByteArray mRows;                     // the rows not yet written
    std::vector<QByteArray> mFolderCells; // of the columns that are the same for all files of a folder
    QByteArray mLeftOut;                  // the entries of "ausgelassen", written at the end
    QString mRoom;                        // for a cell's text made for it
    qint64 mLastTime = -1;                // files of a folder often share their time
    QByteArray mLastTimeText;
};

} // namespace Lirabel
