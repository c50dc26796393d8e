// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/jsonlist.h"

#include "core/bytenames.h"
#include "lists/jsontext.h"
#include "lists/listsink.h"

#include <ctime>

namespace Lirabel {

namespace {

constexpr qsizetype Block = 64 * 1024;

bool isSummed(ColumnKind kind)
{
    return kind == ColumnKind::Bytes || kind == ColumnKind::Duration;
}

// "\"pfad\":\"…\"", and its bytes beside it where the path is not shown as it is.
void appendPathMembers(QByteArray &out, const QByteArray &bytes)
{
    const QString path = nameFromBytes(bytes);
    out.append("\"pfad\":");
    if (isShownAsItIs(path)) {
        appendJsonString(out, path);
        return;
    }
    appendJsonString(out, printableName(path));
    out.append(",\"bytes\":");
    appendJsonBytes(out, bytes);
}

void appendBool(QByteArray &out, const char *key, bool value)
{
    out.append(",\"").append(key).append("\":").append(value ? "true" : "false");
}

void appendStrings(QByteArray &out, const QStringList &texts)
{
    out.append('[');
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            out.append(',');
        appendJsonString(out, texts[i]);
    }
    out.append(']');
}

const char *orderName(ListOrder order)
{
    switch (order) {
    case ListOrder::Size:
        return "groesse";
    case ListOrder::Modified:
        return "datum";
    case ListOrder::Name:
        break;
    }
    return "name";
}

} // namespace

JsonList::JsonList(const ListRequest &request, const std::vector<QByteArray> &absoluteFolders, Shape shape,
                   ListSink &sink)
    : mRequest(request)
    , mRoots(absoluteFolders)
    , mTop(absoluteFolders.empty() ? QByteArray() : absoluteFolders.front())
    , mShape(shape)
    , mSink(sink)
{
    for (size_t c = 0; c < mRequest.columns.size(); ++c) {
        const ListColumn &column = *mRequest.columns[c];
        QByteArray key;
        appendJsonString(key, column.name);
        mKeys.push_back(key + ':');
        if (column.name == u"name")
            mNameColumn = qsizetype(c);
    }
    mSums.assign(mRequest.columns.size(), 0);
    if (mShape == Shape::Document)
        writeHead();
}

// Everything before the folders: what the list is, when it was made, and
// the call, with each option under its long name, so the same list can be
// asked for again from it.
void JsonList::writeHead()
{
    QByteArray head("{\"formatversion\":");
    appendJsonNumber(head, FormatVersion);
    head.append(",\"programm\":\"lirabel\",\"version\":\"" LIRABEL_VERSION "\",\"zeit\":\"")
        .append(isoTimeText(std::time(nullptr)))
        .append("\",\n\"optionen\":{\"ordner\":[");
    for (size_t i = 0; i < mRoots.size(); ++i) {
        head.append(i > 0 ? ",{" : "{");
        appendPathMembers(head, mRoots[i]);
        head.append('}');
    }
    head.append("],\"format\":");
    appendJsonString(head, formatName(mRequest.format));
    head.append(",\"filter\":");
    appendJsonString(head, mRequest.pattern);
    head.append(",\"ohne\":");
    appendStrings(head, mRequest.excluded);
    appendBool(head, "unterordner", mRequest.subfolders);
    head.append(",\"tiefe\":");
    if (mRequest.depth < 0)
        head.append("null");
    else
        appendJsonNumber(head, mRequest.depth);
    appendBool(head, "ein-dateisystem", mRequest.oneFileSystem);
    appendBool(head, "versteckte", mRequest.hidden);
    head.append(",\"sortierung\":\"").append(orderName(mRequest.order)).append('"');
    appendBool(head, "umgekehrt", mRequest.reverse);
    head.append(",\"spalten\":[");
    for (size_t c = 0; c < mRequest.columns.size(); ++c)
        head.append(c > 0 ? "," : "").append(mKeys[c].chopped(1));
    head.append("]},\n\"verzeichnisse\":[");
    mSink.write(head);
}

QByteArray JsonList::folderBytes(const QStringList &relativePath) const
{
    QByteArray bytes = mTop;
    for (const QString &name : relativePath) {
        if (!bytes.endsWith('/'))
            bytes.append('/');
        bytes.append(nameBytes(name));
    }
    return bytes;
}

void JsonList::appendValue(QByteArray &out, ColumnKind kind, const ColumnValue &value)
{
    if (!value.known) {
        out.append("null");
        return;
    }
    switch (kind) {
    case ColumnKind::Text:
        appendJsonString(out, value.text);
        return;
    case ColumnKind::Number:
    case ColumnKind::Bytes:
    case ColumnKind::Duration:
        appendJsonNumber(out, value.number);
        return;
    case ColumnKind::Time:
        if (value.number != mLastTime) {
            mLastTime = value.number;
            mLastTimeText = isoTimeText(value.number);
        }
        if (mLastTimeText.isEmpty()) {
            out.append("null");
        } else {
            appendFewBytes(out, "\"");
            appendFewBytes(out, mLastTimeText);
            appendFewBytes(out, "\"");
        }
        return;
    }
}

void JsonList::folder(const ListedFolder &folder)
{
    const std::vector<const ListColumn *> &columns = mRequest.columns;
    const std::vector<ListedFile> &files = folder.files;
    QByteArray path;
    appendPathMembers(path, folderBytes(folder.relativePath));
    // A cell that is the same for the whole folder is made once.
    mFolderCells.resize(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
        mFolderCells[c].resize(0);
        if (columns[c]->sameInFolder && !isSummed(columns[c]->kind) && !files.empty())
            appendValue(mFolderCells[c], columns[c]->kind, columns[c]->value({folder, files.front(), false, mRoom}));
    }
    const bool lines = mShape == Shape::Lines;
    mRows.resize(0); // keeps its room
    if (!lines) {
        mRows.append(mFolders > 0 ? ",\n{" : "\n{").append(path).append(",\"dateien\":[");
        path = {};
    } else {
        path = "{\"verzeichnis\":{" + path + "},";
    }
    ++mFolders;
    for (size_t i = 0; i < files.size(); ++i) {
        const ListedFile &file = files[i];
        if (i + 8 < files.size())
            prefetchMemory(files[i + 8].shown.data());
        if (mRows.size() >= Block) {
            mSink.write(mRows);
            mRows.resize(0);
        }
        ++mFiles;
        if (lines)
            appendFewBytes(mRows, path);
        else
            appendFewBytes(mRows, i > 0 ? QByteArrayView(",\n{") : QByteArrayView("\n{"));
        // The exact bytes, where the name shown is not the name itself.
        const bool ownBytes = file.shown.data() != file.name.data() && file.shown != file.name;
        const auto appendBytes = [&] {
            mRows.append("\"bytes\":");
            appendJsonBytes(mRows, nameBytes(file.name.toString()));
        };
        if (ownBytes && mNameColumn < 0) {
            appendBytes();
            mRows.append(',');
        }
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c > 0)
                appendFewBytes(mRows, ",");
            appendFewBytes(mRows, mKeys[c]);
            const ListColumn &column = *columns[c];
            if (column.sameInFolder && !isSummed(column.kind)) {
                appendFewBytes(mRows, mFolderCells[c]);
            } else {
                const ColumnValue value = column.value({folder, file, false, mRoom});
                appendValue(mRows, column.kind, value);
                if (isSummed(column.kind) && value.known)
                    mSums[c] += value.number;
            }
            if (ownBytes && qsizetype(c) == mNameColumn) {
                mRows.append(',');
                appendBytes();
            }
        }
        appendFewBytes(mRows, lines ? QByteArrayView("}\n") : QByteArrayView("}"));
    }
    if (!lines)
        mRows.append("]}");
    mSink.write(mRows);
}

void JsonList::beginFolder(const QByteArray &absoluteFolder)
{
    mTop = absoluteFolder;
}

void JsonList::leftOut(const LeftOutEntry &entry)
{
    if (mShape == Shape::Lines)
        return; // standard error has it
    QByteArray path = folderBytes(entry.relativePath);
    if (!entry.file.isEmpty())
        path.append('/').append(nameBytes(entry.file.toString()));
    mLeftOut.append(mLeftOut.isEmpty() ? "\n{" : ",\n{");
    appendPathMembers(mLeftOut, path);
    mLeftOut.append(",\"grund\":");
    appendJsonString(mLeftOut, entry.message);
    mLeftOut.append('}');
}

void JsonList::finish()
{
    if (mShape == Shape::Document) {
        QByteArray tail("],\n\"ausgelassen\":[");
        tail.append(mLeftOut).append("],\n\"summen\":{\"verzeichnisse\":");
        appendJsonNumber(tail, mFolders);
        tail.append(",\"dateien\":");
        appendJsonNumber(tail, mFiles);
        for (size_t c = 0; c < mRequest.columns.size(); ++c) {
            if (!isSummed(mRequest.columns[c]->kind))
                continue;
            tail.append(',').append(mKeys[c]);
            appendJsonNumber(tail, mSums[c]);
        }
        tail.append("}}\n");
        mSink.write(tail);
    }
    mSink.finish();
}

} // namespace Lirabel
