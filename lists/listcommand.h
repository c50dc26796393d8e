// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Lists without the window: `lirabel --liste`.
//
// Each ORDNER in turn, one that is or lies in an earlier one left out
// (listroots.h), and with --unterordner each folder below it, depth first, is
// read one at a time (folderwalk.h); its files are matched with the window's
// pattern, put in natural order under the names a person reads, given their
// tags where a column or the playlist asks (audiotags.h), and handed to the
// format's ListWriter, which writes to a ListSink: standard output or a file
// written whole or not at all. The text format is the window's listing run
// itself (textlist.h); the table formats take each column's heading and
// values from the one column table (listcolumn.h). Messages go to a ListReport, standard error unless
// the caller gives its own (the save dialog's message boxes), in German.

#include "lists/listrequest.h"
#include "lists/listroots.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include <functional>
#include <memory>

namespace Lirabel {

class ListSink;
class ListWriter;

// Where the command's messages go.
class ListReport
{
public:
    virtual ~ListReport() = default;
    // A folder or file left out of a list that is written all the same.
    virtual void leftOut(const QString &message) = 0;
    // Why nothing was written: the folder could not be read, a text list
    // would hold too many entries, or the file could not be written.
    virtual void notWritten(const QString &message) = 0;
    // A remark on the call that changes nothing of the list's worth: an
    // ORDNER left out as it is listed already.
    virtual void note(const QString &message) { Q_UNUSED(message) }
};

// Each message as a line "lirabel: ..." on standard error.
class StandardErrorReport : public ListReport
{
public:
    void leftOut(const QString &message) override;
    void notWritten(const QString &message) override;
    void note(const QString &message) override;
};

// A list held in memory, for the clipboard: its bytes and, for csv, the
// same table as an HTML table, for word processors.
struct ListInMemory
{
    QByteArray list;
    QByteArray htmlTable;
    bool written = false; // false when nothing could be listed
};

// Writes the list; the exit status: 0 done, 1 when a folder or file could not
// be read or the list not written, or a text list would hold too many entries.
[[nodiscard]] int runListCommand(const ListRequest &request, ListReport &report);
[[nodiscard]] int runListCommand(const ListRequest &request);
[[nodiscard]] int runListCommand(const ListRequest &request, ListReport &report, ListInMemory &memory);

// Whether the list reads the files themselves (tags, checksums), on threads
// of their own beside its walk.
[[nodiscard]] bool readsFileContents(const ListRequest &request);

// The folder made absolute by the working directory, "." and empty steps
// left out; links are not resolved and ".." stays, as a link may lead there.
[[nodiscard]] QByteArray absoluteFolder(const QByteArray &folder);

// Makes the writer of a list on paper (pdf, a printed list), which lives in a
// layer above the lists as it needs the drawing libraries; shownFolders are
// the ORDNER listed, as a person reads them. It may raise
// LirabelError, whose message is then the one told.
using PaperWriterMaker = std::function<std::unique_ptr<ListWriter>(const ListRequest &request,
                                                                   const QStringList &shownFolders, ListSink &sink)>;
// The writer of the request's format, writing to sink; shownFolders names
// the ORDNER as a person reads them.
[[nodiscard]] std::unique_ptr<ListWriter> listWriterFor(const ListRequest &request, const std::vector<ListRoot> &roots,
                                                        const QString &shownFolders, ListSink &sink,
                                                        const PaperWriterMaker &paperWriter = {});

// The walk of runListCommand over the request's first ORDNER, each folder
// with listed files handed to writer, which is not finished here. failed is
// set where a folder or file could not be read, and folderLeftOut told of
// each folder left out. False when the folder itself could not be read.
[[nodiscard]] bool walkList(const ListRequest &request, ListReport &report, ListWriter &writer, bool &failed,
                            const std::function<void(const QStringList &relativePath)> &folderLeftOut = {});

// The same, where pdf and printed lists are drawn by paperWriter.
[[nodiscard]] int runListCommand(const ListRequest &request, ListReport &report, const PaperWriterMaker &paperWriter);

} // namespace Lirabel
