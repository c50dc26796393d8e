// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/listcommand.h"

#include "core/bytenames.h"
#include "core/lirabelerror.h"
#include "core/naturalkey.h"
#include "core/naturalorder.h"
#include "core/systemreason.h"
#include "core/wildcard.h"
#include "fs/contentreaders.h"
#include "fs/drives.h"
#include "fs/folderwalk.h"
#include "lists/comparecommand.h"
#include "lists/csvlist.h"
#include "lists/excludednames.h"
#include "lists/folderpreparation.h"
#include "lists/htmllist.h"
#include "lists/htmltable.h"
#include "lists/jsonlist.h"
#include "lists/listroots.h"
#include "lists/listsink.h"
#include "lists/listwriters.h"
#include "lists/m3ulist.h"
#include "lists/markdownlist.h"
#include "lists/sha256list.h"
#include "lists/textlist.h"

#include <algorithm>
#include <any>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include <unistd.h>

namespace Lirabel {

namespace {

// One line each: a message box's line breaks become spaces.
void say(const QString &text)
{
    QString line = QStringLiteral("lirabel: %1\n").arg(text);
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.back() = QLatin1Char('\n');
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// The ORDNER made absolute, for the lists that record them: in the order given.
std::vector<QByteArray> absoluteFolders(const std::vector<ListRoot> &roots);

} // namespace

std::unique_ptr<ListWriter> listWriterFor(const ListRequest &request, const std::vector<ListRoot> &roots,
                                          const QString &shownFolders, ListSink &sink,
                                          const PaperWriterMaker &paperWriter)
{
    QStringList shownRoots;
    for (const ListRoot &root : roots)
        shownRoots.append(root.shown);
    switch (request.format) {
    case ListFormat::Text:
        return std::make_unique<TextList>(request, sink);
    case ListFormat::Csv:
        return std::make_unique<CsvList>(request, sink);
    case ListFormat::Html:
        return std::make_unique<HtmlList>(request, shownFolders, sink);
    case ListFormat::M3u:
        return std::make_unique<M3uList>(request, sink);
    case ListFormat::Json:
        return std::make_unique<JsonList>(request, absoluteFolders(roots), JsonList::Shape::Document, sink);
    case ListFormat::Jsonl:
        return std::make_unique<JsonList>(request, absoluteFolders(roots), JsonList::Shape::Lines, sink);
    case ListFormat::Markdown:
        return std::make_unique<MarkdownList>(request, shownFolders, sink);
    case ListFormat::Sha256:
        return std::make_unique<Sha256List>(sink);
    case ListFormat::Pdf:
        if (paperWriter)
            return paperWriter(request, shownRoots, sink);
        throw LirabelError(QStringLiteral("Das Format pdf schreibt nur das Programm mit Fenster (lirabel-fenster)."));
    }
    return nullptr;
}

namespace {

// True when a column of the list needs that.
bool columnsNeed(const ListRequest &request, ColumnNeeds needs)
{
    return request.format != ListFormat::Text && request.format != ListFormat::M3u
        && request.format != ListFormat::Sha256
        && std::any_of(request.columns.cbegin(), request.columns.cend(),
                       [needs](const ListColumn *column) { return column->needs == needs; });
}

} // namespace

QByteArray absoluteFolder(const QByteArray &folder)
{
    QByteArray whole = folder;
    if (!folder.startsWith('/')) {
        char *current = ::getcwd(nullptr, 0);
        whole = QByteArray(current ? current : "") + '/' + folder;
        std::free(current);
    }
    QByteArray clean;
    for (const QByteArray &part : whole.split('/')) {
        if (!part.isEmpty() && part != ".")
            clean.append('/').append(part);
    }
    return clean.isEmpty() ? QByteArrayLiteral("/") : clean;
}

namespace {

std::vector<QByteArray> absoluteFolders(const std::vector<ListRoot> &roots)
{
    std::vector<QByteArray> folders;
    for (const ListRoot &root : roots)
        folders.push_back(absoluteFolder(root.folder));
    return folders;
}

} // namespace

void StandardErrorReport::leftOut(const QString &message)
{
    say(message);
}

void StandardErrorReport::notWritten(const QString &message)
{
    say(message);
}

void StandardErrorReport::note(const QString &message)
{
    say(message);
}

int runListCommand(const ListRequest &request)
{
    StandardErrorReport report;
    return runListCommand(request, report);
}

namespace {

// What the walks of one list's ORDNER share.
struct ListRun
{
    const ListRequest &request;
    ListReport &report;
    ListWriter &writer;
    bool tags = false;
    bool sizes = false;
    bool paths = false;
    bool checksums = false;
    std::optional<QList<Volume>> drives; // read once, where the drive column asks
    ExcludedNames excluded;
    WildcardMatcher matcher;
    bool failed = false;
    QStringList rootsNotRead; // with several ORDNER: why, for each one that could not be read
    std::function<void(const QStringList &relativePath)> folderLeftOut;
    // The sort keys' weights take a few milliseconds to read: a tree needs
    // them for its many short lists, a large folder to sort its names, and
    // both have them read beside the reading of their folders.
    std::shared_ptr<NaturalKeyWeightsReading> weights = std::make_shared<NaturalKeyWeightsReading>();
};

bool readsTags(const ListRequest &request)
{
    return request.format == ListFormat::M3u || columnsNeed(request, ColumnNeeds::Tags);
}

bool readsChecksums(const ListRequest &request)
{
    return request.format == ListFormat::Sha256 || columnsNeed(request, ColumnNeeds::Checksums);
}

// Tags and checksums are read by a module of their own; a list that needs
// it and cannot load it lists nothing rather than files without them.
bool contentReadersMissing(const ListRequest &request, ListReport &report)
{
    QString why;
    if (!(readsTags(request) || readsChecksums(request)) || contentReaders(&why))
        return false;
    report.notWritten(QStringLiteral("Musikangaben und Prüfsummen sind nicht zu lesen: %1").arg(why));
    return true;
}

// What the list reads beyond the names, for its format and columns.
void decideReads(ListRun &run)
{
    const ListRequest &request = run.request;
    run.tags = readsTags(request);
    run.sizes = request.format == ListFormat::Html || request.format == ListFormat::Pdf
        || request.order != ListOrder::Name || columnsNeed(request, ColumnNeeds::SizesAndTimes);
    run.paths = columnsNeed(request, ColumnNeeds::AbsolutePath);
    run.checksums = readsChecksums(request);
    if (columnsNeed(request, ColumnNeeds::Drive))
        run.drives = mountedDrives();
}

// The drive that holds the folder, as the drive list shows it.
QString driveOf(const QList<Volume> &drives, const QByteArray &realRoot, const QStringList &relativePath)
{
    QStringList path{nameFromBytes(realRoot)};
    path.append(relativePath);
    const std::optional<Volume> volume = volumeFor(drives, path.join(QLatin1Char('/')));
    return volume ? printableName(volume->driveText()) : QString();
}

// Lists one ORDNER; false when it cannot be read, so nothing of it is listed.
bool listRoot(ListRun &run, const ListRoot &root)
{
    const ListRequest &request = run.request;
    ListReport &report = run.report;
    const auto shownFolderPath = [&root](const QStringList &relativePath) {
        return shownPathBelow(root.shown, relativePath);
    };
    const QByteArray realRoot = root.real.isEmpty() ? absoluteFolder(root.folder) : root.real;
    const ExcludedNames &excluded = run.excluded;
    const bool sizes = run.sizes;

    WalkSettings settings;
    settings.subfolders = request.subfolders;
    settings.maxDepth = request.depth;
    settings.oneFileSystem = request.oneFileSystem;
    settings.sizesAndTimes = sizes;
    settings.keepOpen = run.tags || run.checksums;
    settings.hidden = request.hidden;
    // A folder left out by --ohne is not entered; the others in the
    // window's order.
    settings.sortFolders = [excluded](QStringList &names) {
        if (!excluded.isEmpty())
            names.removeIf([&excluded](const QString &name) { return excluded.matches(name); });
        sortNaturalAsShown(names);
    };
    FolderPreparation preparation{run.matcher, excluded,      run.paths,
                                  {},          request.order, request.reverse,
                                  root.folder, root.shown,    request.severalFolders()};
    if (run.paths)
        preparation.shownAbsolute = printableName(nameFromBytes(absoluteFolder(root.folder)));
    const auto prepared = std::make_shared<const FolderPreparation>(std::move(preparation));
    settings.prepare = [prepared](WalkedFolder &walked) {
        if (std::optional<ListedFolder> listed = listedFolder(walked, *prepared))
            walked.prepared = std::move(*listed);
    };
    settings.partRead = [prepared](std::any &readAhead, const QString &names, const std::vector<WalkedFile> &files,
                                   size_t from) { prepareReadAhead(readAhead, names, files, from, prepared); };
    // Entries of 64 KiB hold a few thousand names, which are sorted by keys.
    settings.opened = [weights = run.weights](qint64 entryBytes) {
        if (entryBytes >= (qint64(1) << 16))
            weights->start();
    };

    // Told to the user, and kept in the lists that record it.
    const auto leave = [&report, &run](const QStringList &relativePath, QStringView file, const QString &message) {
        report.leftOut(message);
        run.writer.leftOut({relativePath, file, message});
    };
    run.writer.beginFolder(absoluteFolder(root.folder));
    const auto visit = [&](WalkedFolder &walked) {
        if (excluded.holdsAny(walked.relativePath) || isListedBefore(root, walked.relativePath))
            return;
        if (walked.leftOut > 0 || (sizes && walked.withoutDetails > 0)) {
            run.failed = true;
            leave(walked.relativePath, {},
                  QStringLiteral("Ordner lesbar, aber nicht zu betreten: %1 (%2 Dateien ohne Größe und Datum, "
                                 "%3 Verknüpfungen oder Einträge unbekannter Art ausgelassen)")
                      .arg(shownFolderPath(walked.relativePath))
                      .arg(walked.withoutDetails)
                      .arg(walked.leftOut));
        }
        auto *listed = std::any_cast<ListedFolder>(&walked.prepared);
        if (!listed)
            return;        // no file matched
        QStringList names; // for the readers of the files' contents
        if (run.tags || run.checksums) {
            names.reserve(qsizetype(listed->files.size()));
            for (const ListedFile &file : listed->files)
                names.append(file.name.toString());
        }
        if (run.tags) {
            listed->tags = readAudioTags(walked.descriptor, walked.mount, names);
            for (size_t i = 0; i < listed->tags.size(); ++i) {
                if (!listed->tags[i].answered) {
                    run.failed = true;
                    leave(walked.relativePath, listed->files[i].name,
                          QStringLiteral("Datei antwortet nicht: %1/%2")
                              .arg(shownFolderPath(walked.relativePath), listed->files[i].shown));
                }
                listed->files[i].tags = &listed->tags[i];
            }
        }
        if (run.checksums) {
            listed->checksums = readChecksums(walked.descriptor, walked.mount, names);
            for (size_t i = 0; i < listed->checksums.size(); ++i) {
                const FileChecksum &sum = listed->checksums[i];
                if (!sum.known) {
                    run.failed = true;
                    leave(walked.relativePath, listed->files[i].name,
                          (sum.answered ? QStringLiteral("Datei nicht lesbar: %1/%2")
                                        : QStringLiteral("Datei antwortet nicht: %1/%2"))
                              .arg(shownFolderPath(walked.relativePath), listed->files[i].shown));
                }
                listed->files[i].checksum = &sum;
            }
        }
        if (run.drives)
            listed->drive = driveOf(*run.drives, realRoot, walked.relativePath);
        run.writer.folder(*listed);
    };
    const auto notRead = [&](const WalkFailure &failure) {
        const QStringList &relativePath = failure.relativePath;
        if (excluded.holdsAny(relativePath) || isListedBefore(root, relativePath))
            return;
        run.failed = true;
        if (run.folderLeftOut)
            run.folderLeftOut(relativePath);
        QString message = failure.problem == WalkProblem::NoAnswer
            ? QStringLiteral("Verzeichnis antwortet nicht: %1").arg(shownFolderPath(relativePath))
            : QStringLiteral("Verzeichnis nicht lesbar: %1").arg(shownFolderPath(relativePath))
                + (failure.error == 0 ? QString() : QStringLiteral(" (%1)").arg(systemReason(failure.error)));
        // The walk ends where ORDNER itself cannot be read. Alone, nothing is
        // written; among several, the others are listed.
        if (!relativePath.isEmpty()) {
            leave(relativePath, {}, message);
        } else if (request.severalFolders()) {
            run.rootsNotRead.append(message); // told once the others are read: left out, or nothing written
            run.writer.leftOut({relativePath, {}, message});
        } else {
            report.notWritten(message);
        }
    };
    return walkFolders(root.folder, settings, visit, notRead);
}

// The list into memory or to the request's output; the exit status.
int runList(const ListRequest &request, ListReport &report, ListInMemory *memory, const PaperWriterMaker &paperWriter)
{
    // Where the walk of one ORDNER goes, so another one inside it is not listed twice.
    const EnteredBelow entered = [&request, excluded = ExcludedNames(request.excluded)](const QStringList &names,
                                                                                        bool sameDevice) {
        return request.subfolders && (request.depth < 0 || names.size() <= request.depth)
            && (sameDevice || !request.oneFileSystem) && !excluded.holdsAny(names)
            && (request.hidden || std::none_of(names.cbegin(), names.cend(), [](const QString &name) {
                    return name.startsWith(QLatin1Char('.'));
                }));
    };
    const std::vector<ListRoot> roots =
        listRoots(request.folders, entered, [&report](const QString &note) { report.note(note); });

    if (contentReadersMissing(request, report))
        return 1;
    try {
        std::optional<ListSink> sink;
        if (memory)
            sink.emplace(memory->list);
        else
            sink.emplace(request.output);
        QStringList shownRoots;
        for (const ListRoot &root : roots)
            shownRoots.append(root.shown);
        std::unique_ptr<ListWriter> writer = listWriterFor(request, roots, spokenList(shownRoots), *sink, paperWriter);
        // For the clipboard a table goes there as HTML too, for word processors.
        std::optional<ListSink> tableSink;
        if (memory && request.format == ListFormat::Csv) {
            tableSink.emplace(memory->htmlTable);
            writer =
                std::make_unique<ListWriters>(std::move(writer), std::make_unique<HtmlTableList>(request, *tableSink));
        }
        ListRun run{request,
                    report,
                    *writer,
                    {},
                    {},
                    {},
                    {},
                    {},
                    ExcludedNames(request.excluded),
                    WildcardMatcher(request.pattern),
                    false,
                    {},
                    {}};
        decideReads(run);
        if (request.subfolders)
            run.weights->start();

        bool anyRead = false;
        for (const ListRoot &root : roots)
            anyRead = listRoot(run, root) || anyRead;
        if (!anyRead) {
            for (const QString &message : std::as_const(run.rootsNotRead))
                report.notWritten(message);
            return 1; // nothing listed, nothing written
        }
        for (const QString &message : std::as_const(run.rootsNotRead))
            report.leftOut(message);
        writer->finish();
        if (memory)
            memory->written = true;
        return run.failed ? 1 : 0;
    } catch (const LirabelError &error) {
        // A printed list has no file: its error says what failed.
        report.notWritten(request.paper.printer
                              ? error.message()
                              : QStringLiteral("Datei kann nicht gespeichert werden !\n%1").arg(error.message()));
        return 1;
    }
}

} // namespace

int runListCommand(const ListRequest &request, ListReport &report)
{
    if (request.compareWith)
        return runCompareCommand(request, report);
    return runList(request, report, nullptr, {});
}

int runListCommand(const ListRequest &request, ListReport &report, ListInMemory &memory)
{
    return runList(request, report, &memory, {});
}

int runListCommand(const ListRequest &request, ListReport &report, const PaperWriterMaker &paperWriter)
{
    return runList(request, report, nullptr, paperWriter);
}

bool walkList(const ListRequest &request, ListReport &report, ListWriter &writer, bool &failed,
              const std::function<void(const QStringList &relativePath)> &folderLeftOut)
{
    if (contentReadersMissing(request, report))
        return false;
    const std::vector<ListRoot> roots = listRoots(
        {request.folders.front()}, [](const QStringList &, bool) { return false; },
        [&report](const QString &note) { report.note(note); });
    ListRun run{request,
                report,
                writer,
                {},
                {},
                {},
                {},
                {},
                ExcludedNames(request.excluded),
                WildcardMatcher(request.pattern),
                false,
                {},
                folderLeftOut};
    decideReads(run);
    if (request.subfolders)
        run.weights->start();
    const bool read = !roots.empty() && listRoot(run, roots.front());
    failed = run.failed;
    return read;
}

bool readsFileContents(const ListRequest &request)
{
    return readsTags(request) || readsChecksums(request);
}

} // namespace Lirabel
