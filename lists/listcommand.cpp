// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/listcommand.h"

#include "core/bytenames.h"
#include "core/lirabelerror.h"
#include "core/naturalkey.h"
#include "core/naturalorder.h"
#include "core/systemreason.h"
#include "core/wildcard.h"
#include "fs/drives.h"
#include "fs/folderwalk.h"
#include "lists/csvlist.h"
#include "lists/htmllist.h"
#include "lists/htmltable.h"
#include "lists/jsonlist.h"
#include "lists/listroots.h"
#include "lists/listsink.h"
#include "lists/listwriters.h"
#include "lists/m3ulist.h"
#include "lists/markdownlist.h"
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

std::unique_ptr<ListWriter> writerFor(const ListRequest &request, const std::vector<ListRoot> &roots,
                                      const QString &shownFolders, ListSink &sink)
{
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
    }
    return nullptr;
}

// True when a column of the list needs that.
bool columnsNeed(const ListRequest &request, ColumnNeeds needs)
{
    return request.format != ListFormat::Text && request.format != ListFormat::M3u
        && std::any_of(request.columns.cbegin(), request.columns.cend(),
                       [needs](const ListColumn *column) { return column->needs == needs; });
}

// The folder made absolute by the working directory, "." and empty steps
// left out; links are not resolved and ".." stays, as a link may lead there.
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

std::vector<QByteArray> absoluteFolders(const std::vector<ListRoot> &roots)
{
    std::vector<QByteArray> folders;
    for (const ListRoot &root : roots)
        folders.push_back(absoluteFolder(root.folder));
    return folders;
}

// The --ohne patterns; a copy may live on with a reader thread left behind.
class Excluded
{
public:
    explicit Excluded(const QStringList &patterns)
    {
        for (const QString &pattern : patterns)
            mMatchers.emplace_back(pattern);
    }
    [[nodiscard]] bool isEmpty() const { return mMatchers.empty(); }
    // The name as nameFromBytes gives it.
    [[nodiscard]] bool matches(QStringView name) const
    {
        return isShownAsItIs(name) ? matchesReadable(name) : matchesReadable(readableName(name.toString()));
    }
    // The name as readableName gives it.
    [[nodiscard]] bool matchesReadable(QStringView readable) const
    {
        return std::any_of(mMatchers.cbegin(), mMatchers.cend(),
                           [readable](const WildcardMatcher &matcher) { return matcher.matches(readable); });
    }
    [[nodiscard]] bool holdsAny(const QStringList &relativePath) const
    {
        return !isEmpty() && std::any_of(relativePath.cbegin(), relativePath.cend(), [this](const QString &name) {
            return matches(name);
        });
    }

private:
    std::vector<WildcardMatcher> mMatchers;
};

// Within the folder, after natural order: by size or time with ties left in
// name order, or the other way round.
void sortFiles(std::vector<ListedFile> &files, ListOrder order, bool reverse)
{
    if (order == ListOrder::Name) {
        if (reverse)
            std::reverse(files.begin(), files.end());
        return;
    }
    const auto key = [order](const ListedFile &file) { return order == ListOrder::Size ? file.size : file.modified; };
    std::stable_sort(files.begin(), files.end(), [&key, reverse](const ListedFile &a, const ListedFile &b) {
        return reverse ? key(a) > key(b) : key(a) < key(b);
    });
}

// What a list makes of a folder before its visit, on the walk's reader
// threads: copies, as a reader left behind may outlive the list.
struct Preparation
{
    WildcardMatcher matcher;
    Excluded excluded;
    bool paths = false;
    QString shownAbsolute;
    ListOrder order = ListOrder::Name;
    bool reverse = false;
    QByteArray root;
    QString shownRoot;
    bool severalFolders = false;
};

// The folder's matched files in list order, without their tags; nothing
// when none matches.
std::optional<ListedFolder> listedFolder(WalkedFolder &walked, const Preparation &preparation)
{
    // Each matched file and where its shown text lies: in its name
    // where it is shown as it is, as nearly all are, or in shownNames.
    struct Match
    {
        size_t file;
        qsizetype at;
        qsizetype length;
        bool own;
    };
    std::vector<Match> matched;
    matched.reserve(walked.files.size());
    QString shownNames;
    for (size_t i = 0; i < walked.files.size(); ++i) {
        const WalkedFile &file = walked.files[i];
        const QStringView name = walked.name(file);
        const bool plain = isShownAsItIs(name);
        if (plain) {
            if (!preparation.matcher.matchesEverything() && !preparation.matcher.matches(name))
                continue;
            if (!preparation.excluded.isEmpty() && preparation.excluded.matchesReadable(name))
                continue;
            matched.push_back({i, file.at, file.length, false});
            continue;
        }
        const QString whole = name.toString();
        const QString readable = readableName(whole);
        if (!preparation.matcher.matchesEverything() && !preparation.matcher.matches(readable))
            continue;
        if (!preparation.excluded.isEmpty() && preparation.excluded.matchesReadable(readable))
            continue;
        const QString printable = printableName(whole);
        matched.push_back({i, shownNames.size(), printable.size(), true});
        shownNames.append(printable);
    }
    if (matched.empty())
        return std::nullopt;
    ListedFolder listed{
        walked.relativePath,   {}, {}, {}, std::move(walked.names), std::move(shownNames), {}, preparation.root,
        preparation.shownRoot, {}};
    if (preparation.severalFolders)
        listed.shownFolder = shownPathBelow(preparation.shownRoot, walked.relativePath);
    else
        listed.shownFolder = walked.relativePath.isEmpty() ? QStringLiteral(".") : shownPath(walked.relativePath);
    if (preparation.paths)
        listed.shownAbsolute = shownPathBelow(preparation.shownAbsolute, walked.relativePath);
    const auto shownOf = [&listed](const Match &match) {
        return QStringView(match.own ? listed.shownNames : listed.names).sliced(match.at, match.length);
    };
    std::vector<QStringView> shown;
    shown.reserve(matched.size());
    for (const Match &match : matched)
        shown.push_back(shownOf(match));
    listed.files.reserve(matched.size());
    const std::vector<qsizetype> order = naturalOrder(shown);
    for (size_t k = 0; k < order.size(); ++k) {
        if (k + 16 < order.size()) {
            prefetchMemory(&matched[size_t(order[k + 16])]);
            prefetchMemory(&shown[size_t(order[k + 16])]);
        }
        if (k + 8 < order.size())
            prefetchMemory(&walked.files[matched[size_t(order[k + 8])].file]);
        const size_t i = size_t(order[k]);
        const WalkedFile &file = walked.files[matched[i].file];
        listed.files.push_back(
            {QStringView(listed.names).sliced(file.at, file.length), shown[i], file.size, file.modified});
    }
    shown = {};
    matched = {};
    walked.files = {};
    sortFiles(listed.files, preparation.order, preparation.reverse);
    return listed;
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
    std::optional<QList<Volume>> drives; // read once, where the drive column asks
    Excluded excluded;
    WildcardMatcher matcher;
    bool failed = false;
    QStringList rootsNotRead; // with several ORDNER: why, for each one that could not be read
};

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
    const Excluded &excluded = run.excluded;
    const bool sizes = run.sizes;

    WalkSettings settings;
    settings.subfolders = request.subfolders;
    settings.maxDepth = request.depth;
    settings.oneFileSystem = request.oneFileSystem;
    settings.sizesAndTimes = sizes;
    settings.keepOpen = run.tags;
    settings.hidden = request.hidden;
    // A folder left out by --ohne is not entered; the others in the
    // window's order.
    settings.sortFolders = [excluded](QStringList &names) {
        if (!excluded.isEmpty())
            names.removeIf([&excluded](const QString &name) { return excluded.matches(name); });
        sortNaturalAsShown(names);
    };
    Preparation preparation{run.matcher, excluded,      run.paths,
                            {},          request.order, request.reverse,
                            root.folder, root.shown,    request.severalFolders()};
    if (run.paths)
        preparation.shownAbsolute = printableName(nameFromBytes(absoluteFolder(root.folder)));
    settings.prepare = [preparation](WalkedFolder &walked) {
        if (std::optional<ListedFolder> listed = listedFolder(walked, preparation))
            walked.prepared = std::move(*listed);
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
            return; // no file matched
        if (run.tags) {
            QStringList names;
            names.reserve(qsizetype(listed->files.size()));
            for (const ListedFile &file : listed->files)
                names.append(file.name.toString());
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
        if (run.drives)
            listed->drive = driveOf(*run.drives, realRoot, walked.relativePath);
        run.writer.folder(*listed);
    };
    const auto notRead = [&](const WalkFailure &failure) {
        const QStringList &relativePath = failure.relativePath;
        if (excluded.holdsAny(relativePath) || isListedBefore(root, relativePath))
            return;
        run.failed = true;
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
int runList(const ListRequest &request, ListReport &report, ListInMemory *memory)
{
    // Where the walk of one ORDNER goes, so another one inside it is not listed twice.
    const EnteredBelow entered = [&request, excluded = Excluded(request.excluded)](const QStringList &names,
                                                                                   bool sameDevice) {
        return request.subfolders && (request.depth < 0 || names.size() <= request.depth)
            && (sameDevice || !request.oneFileSystem) && !excluded.holdsAny(names)
            && (request.hidden || std::none_of(names.cbegin(), names.cend(), [](const QString &name) {
                    return name.startsWith(QLatin1Char('.'));
                }));
    };
    const std::vector<ListRoot> roots =
        listRoots(request.folders, entered, [&report](const QString &note) { report.note(note); });
    QStringList shownRoots;
    for (const ListRoot &root : roots)
        shownRoots.append(root.shown);
    if (request.subfolders)
        readNaturalKeyWeights(); // a tree sorts many short lists

    try {
        std::optional<ListSink> sink;
        if (memory)
            sink.emplace(memory->list);
        else
            sink.emplace(request.output);
        std::unique_ptr<ListWriter> writer = writerFor(request, roots, spokenList(shownRoots), *sink);
        // For the clipboard a table goes there as HTML too, for word processors.
        std::optional<ListSink> tableSink;
        if (memory && request.format == ListFormat::Csv) {
            tableSink.emplace(memory->htmlTable);
            writer =
                std::make_unique<ListWriters>(std::move(writer), std::make_unique<HtmlTableList>(request, *tableSink));
        }
        ListRun run{
            request, report, *writer, {}, {}, {}, {}, Excluded(request.excluded), WildcardMatcher(request.pattern),
            false,   {}};
        run.tags = request.format == ListFormat::M3u || columnsNeed(request, ColumnNeeds::Tags);
        run.sizes = request.format == ListFormat::Html || request.order != ListOrder::Name
            || columnsNeed(request, ColumnNeeds::SizesAndTimes);
        run.paths = columnsNeed(request, ColumnNeeds::AbsolutePath);
        if (columnsNeed(request, ColumnNeeds::Drive))
            run.drives = mountedDrives();

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
        report.notWritten(QStringLiteral("Datei kann nicht gespeichert werden !\n%1").arg(error.message()));
        return 1;
    }
}

} // namespace

int runListCommand(const ListRequest &request, ListReport &report)
{
    return runList(request, report, nullptr);
}

int runListCommand(const ListRequest &request, ListReport &report, ListInMemory &memory)
{
    return runList(request, report, &memory);
}

} // namespace Lirabel
