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
#include "lists/listsink.h"
#include "lists/m3ulist.h"
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

std::unique_ptr<ListWriter> writerFor(const ListRequest &request, const QString &shownFolder, ListSink &sink,
                                      const PaperWriterMaker &paperWriter)
{
    switch (request.format) {
    case ListFormat::Text:
        return std::make_unique<TextList>(request, sink);
    case ListFormat::Csv:
        return std::make_unique<CsvList>(request, sink);
    case ListFormat::Html:
        return std::make_unique<HtmlList>(request, shownFolder, sink);
    case ListFormat::M3u:
        return std::make_unique<M3uList>(request, sink);
    case ListFormat::Pdf:
        if (paperWriter)
            return paperWriter(request, shownFolder, sink);
        throw LirabelError(QStringLiteral("Das Format pdf schreibt nur das Programm mit Fenster (lirabel-fenster)."));
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
    ListedFolder listed{walked.relativePath, {}, {}, {}, std::move(walked.names), std::move(shownNames), {}};
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

int runListCommand(const ListRequest &request)
{
    StandardErrorReport report;
    return runListCommand(request, report);
}

int runListCommand(const ListRequest &request, ListReport &report)
{
    return runListCommand(request, report, {});
}

int runListCommand(const ListRequest &request, ListReport &report, const PaperWriterMaker &paperWriter)
{
    const QString shownFolder = printableName(nameFromBytes(request.folder));
    const auto shownFolderPath = [&shownFolder](const QStringList &relativePath) {
        return shownPathBelow(shownFolder, relativePath);
    };
    const bool tags = request.format == ListFormat::M3u || columnsNeed(request, ColumnNeeds::Tags);
    const bool sizes = request.format == ListFormat::Html || request.format == ListFormat::Pdf
        || request.order != ListOrder::Name || columnsNeed(request, ColumnNeeds::SizesAndTimes);
    const bool paths = columnsNeed(request, ColumnNeeds::AbsolutePath);
    const QString shownAbsolute = paths ? printableName(nameFromBytes(absoluteFolder(request.folder))) : QString();
    const Excluded excluded(request.excluded);
    const WildcardMatcher matcher(request.pattern);
    bool failed = false;
    if (request.subfolders)
        readNaturalKeyWeights(); // a tree sorts many short lists

    try {
        ListSink sink(request.output);
        const std::unique_ptr<ListWriter> writer = writerFor(request, shownFolder, sink, paperWriter);

        WalkSettings settings;
        settings.subfolders = request.subfolders;
        settings.maxDepth = request.depth;
        settings.oneFileSystem = request.oneFileSystem;
        settings.sizesAndTimes = sizes;
        settings.keepOpen = tags;
        // A folder left out by --ohne is not entered; the others in the
        // window's order.
        settings.sortFolders = [excluded](QStringList &names) {
            if (!excluded.isEmpty())
                names.removeIf([&excluded](const QString &name) { return excluded.matches(name); });
            sortNaturalAsShown(names);
        };

        settings.prepare = [preparation = Preparation{matcher, excluded, paths, shownAbsolute, request.order,
                                                      request.reverse}](WalkedFolder &walked) {
            if (std::optional<ListedFolder> listed = listedFolder(walked, preparation))
                walked.prepared = std::move(*listed);
        };

        const auto visit = [&](WalkedFolder &walked) {
            if (excluded.holdsAny(walked.relativePath))
                return;
            if (walked.leftOut > 0 || (sizes && walked.withoutDetails > 0)) {
                failed = true;
                report.leftOut(
                    QStringLiteral("Ordner lesbar, aber nicht zu betreten: %1 (%2 Dateien ohne Größe und Datum, "
                                   "%3 Verknüpfungen oder Einträge unbekannter Art ausgelassen)")
                        .arg(shownFolderPath(walked.relativePath))
                        .arg(walked.withoutDetails)
                        .arg(walked.leftOut));
            }
            auto *listed = std::any_cast<ListedFolder>(&walked.prepared);
            if (!listed)
                return; // no file matched
            if (tags) {
                QStringList names;
                names.reserve(qsizetype(listed->files.size()));
                for (const ListedFile &file : listed->files)
                    names.append(file.name.toString());
                listed->tags = readAudioTags(walked.descriptor, walked.mount, names);
                for (size_t i = 0; i < listed->tags.size(); ++i) {
                    if (!listed->tags[i].answered) {
                        failed = true;
                        report.leftOut(QStringLiteral("Datei antwortet nicht: %1/%2")
                                           .arg(shownFolderPath(walked.relativePath), listed->files[i].shown));
                    }
                    listed->files[i].tags = &listed->tags[i];
                }
            }
            writer->folder(*listed);
        };
        const auto notRead = [&](const WalkFailure &failure) {
            const QStringList &relativePath = failure.relativePath;
            if (excluded.holdsAny(relativePath))
                return;
            failed = true;
            // The walk ends where ORDNER itself cannot be read: nothing is written.
            const auto tell = [&report, top = relativePath.isEmpty()](const QString &message) {
                top ? report.notWritten(message) : report.leftOut(message);
            };
            if (failure.problem == WalkProblem::NoAnswer) {
                tell(QStringLiteral("Verzeichnis antwortet nicht: %1").arg(shownFolderPath(relativePath)));
                return;
            }
            tell(QStringLiteral("Verzeichnis nicht lesbar: %1").arg(shownFolderPath(relativePath))
                 + (failure.error == 0 ? QString() : QStringLiteral(" (%1)").arg(systemReason(failure.error))));
        };

        if (!walkFolders(request.folder, settings, visit, notRead))
            return 1; // nothing listed, nothing written
        writer->finish();
    } catch (const LirabelError &error) {
        // A printed list has no file: its error says what failed.
        report.notWritten(request.paper.printer
                              ? error.message()
                              : QStringLiteral("Datei kann nicht gespeichert werden !\n%1").arg(error.message()));
        return 1;
    }
    return failed ? 1 : 0;
}

} // namespace Lirabel
