// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/folderpreparation.h"

#include "core/bytenames.h"
#include "core/naturalorder.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace Lirabel {

namespace {

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

// The matched files of a folder, or of a part of a large one.
struct MatchedPart
{
    QString names;                  // of a part read ahead: a copy of its names
    std::vector<quint32> matched;   // places in the folder's files
    std::vector<QStringView> shown; // the names as shown, of the matched files
    // The names not shown as they are lie in shownNames, each after the
    // match it belongs to.
    struct OwnShown
    {
        size_t match;
        qsizetype at;
        qsizetype length;
    };
    std::vector<OwnShown> ownShown;
    QString shownNames;
};

// The files from `from` to `to` (exclusive) whose names, beginning at
// names[0] for the file at names' place base, match.
MatchedPart matchedPart(QStringView names, qsizetype base, const std::vector<WalkedFile> &files, size_t from, size_t to,
                        const FolderPreparation &preparation)
{
    MatchedPart part;
    part.matched.reserve(to - from);
    part.shown.reserve(to - from);
    for (size_t i = from; i < to; ++i) {
        const QStringView name = names.sliced(files[i].at - base, files[i].length);
        if (isShownAsItIs(name)) {
            if (!preparation.matcher.matchesEverything() && !preparation.matcher.matches(name))
                continue;
            if (!preparation.excluded.isEmpty() && preparation.excluded.matchesReadable(name))
                continue;
            part.matched.push_back(quint32(i));
            part.shown.push_back(name);
            continue;
        }
        const QString whole = name.toString();
        const QString readable = readableName(whole);
        if (!preparation.matcher.matchesEverything() && !preparation.matcher.matches(readable))
            continue;
        if (!preparation.excluded.isEmpty() && preparation.excluded.matchesReadable(readable))
            continue;
        const QString printable = printableName(whole);
        part.ownShown.push_back({part.matched.size(), part.shownNames.size(), printable.size()});
        part.matched.push_back(quint32(i));
        part.shown.emplace_back();
        part.shownNames.append(printable);
    }
    // Set once shownNames holds them all, as it may move while it grows.
    for (const MatchedPart::OwnShown &own : part.ownShown)
        part.shown[own.match] = QStringView(part.shownNames).sliced(own.at, own.length);
    return part;
}

// Matched parts, one after the other, and their matches in natural order.
// The runs' views point into the parts, which stay where they lie when moved.
struct SortedParts
{
    std::vector<MatchedPart> parts;
    // Each run the merge of the parts after the one before it, at least
    // twice as long as the next: each part is merged a few times, not once
    // for every part after it.
    std::vector<NaturalRun> runs;

    void add(MatchedPart part)
    {
        NaturalRun run(std::move(part.shown));
        parts.push_back(std::move(part));
        while (!runs.empty() && runs.back().size() <= 2 * run.size()) {
            NaturalRun before = std::move(runs.back());
            runs.pop_back();
            before.merge(std::move(run));
            run = std::move(before);
        }
        runs.push_back(std::move(run));
    }

    [[nodiscard]] std::vector<quint32> order()
    {
        while (runs.size() > 1) {
            NaturalRun last = std::move(runs.back());
            runs.pop_back();
            runs.back().merge(std::move(last));
        }
        return runs.front().order();
    }
};

// The parts of a large folder, matched and sorted by a thread of its own
// beside the reading, one after the other as they are read.
class PartsReadAhead
{
public:
    explicit PartsReadAhead(std::shared_ptr<const FolderPreparation> preparation)
        : mPreparation(std::move(preparation))
        , mHelper([this] { sortParts(); })
    {
    }
    ~PartsReadAhead() { finish(); }
    PartsReadAhead(const PartsReadAhead &) = delete;
    PartsReadAhead &operator=(const PartsReadAhead &) = delete;

    // The files from `from` on; names and files as WalkSettings::partRead gives them.
    void add(const QString &names, const std::vector<WalkedFile> &files, size_t from)
    {
        // The part's names are copied: the folder's may move as they grow.
        Part part;
        part.base = files[from].at;
        part.names = QStringView(names).sliced(part.base, files.back().at + files.back().length - part.base).toString();
        part.files.assign(files.begin() + qsizetype(from), files.end());
        part.from = from;
        {
            const std::lock_guard lock(mMutex);
            mPending.push_back(std::move(part));
        }
        mEnd = files.size();
        mChanged.notify_one();
    }

    // Waits for the parts to be sorted; the first file after them is end().
    SortedParts &finish()
    {
        {
            const std::lock_guard lock(mMutex);
            mRead = true;
        }
        mChanged.notify_one();
        if (mHelper.joinable())
            mHelper.join();
        return mSorted;
    }
    [[nodiscard]] size_t end() const { return mEnd; }

private:
    struct Part
    {
        QString names;
        qsizetype base = 0; // where they begin in the folder's names
        std::vector<WalkedFile> files;
        size_t from = 0; // the place of the first file in the folder
    };

    void sortParts()
    {
        for (;;) {
            Part part;
            {
                std::unique_lock lock(mMutex);
                mChanged.wait(lock, [this] { return mRead || !mPending.empty(); });
                if (mPending.empty())
                    return;
                part = std::move(mPending.front());
                mPending.pop_front();
            }
            MatchedPart matched = matchedPart(part.names, part.base, part.files, 0, part.files.size(), *mPreparation);
            for (quint32 &match : matched.matched)
                match += quint32(part.from);
            matched.names = std::move(part.names); // the views into it stay
            mSorted.add(std::move(matched));
        }
    }

    const std::shared_ptr<const FolderPreparation> mPreparation;
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::deque<Part> mPending;
    bool mRead = false;
    size_t mEnd = 0;     // the reader's own
    SortedParts mSorted; // the helper's own until it has ended
    std::thread mHelper; // last: it starts once the rest is made
};

} // namespace

void prepareReadAhead(std::any &readAhead, const QString &names, const std::vector<WalkedFile> &files, size_t from,
                      const std::shared_ptr<const FolderPreparation> &preparation)
{
    if (!readAhead.has_value())
        readAhead = std::make_shared<PartsReadAhead>(preparation);
    std::any_cast<std::shared_ptr<PartsReadAhead> &>(readAhead)->add(names, files, from);
}

// The folder's matched files in list order, without their tags; nothing
// when none matches.
std::optional<ListedFolder> listedFolder(WalkedFolder &walked, const FolderPreparation &preparation)
{
    SortedParts sorted;
    size_t rest = 0; // the first file not in a part read ahead
    if (auto *ahead = std::any_cast<std::shared_ptr<PartsReadAhead>>(&walked.readAhead)) {
        sorted = std::move((*ahead)->finish());
        rest = (*ahead)->end();
        walked.readAhead.reset();
    }
    sorted.add(matchedPart(walked.names, 0, walked.files, rest, walked.files.size(), preparation));
    const std::vector<MatchedPart> &parts = sorted.parts;
    size_t matchedCount = 0;
    for (const MatchedPart &part : parts)
        matchedCount += part.matched.size();
    if (matchedCount == 0)
        return std::nullopt;
    ListedFolder listed{walked.relativePath,   {}, {}, {}, std::move(walked.names), {}, {}, {}, {}, preparation.root,
                        preparation.shownRoot, {}};
    if (preparation.severalFolders)
        listed.shownFolder = shownPathBelow(preparation.shownRoot, walked.relativePath);
    else
        listed.shownFolder = walked.relativePath.isEmpty() ? QStringLiteral(".") : shownPath(walked.relativePath);
    if (preparation.paths)
        listed.shownAbsolute = shownPathBelow(preparation.shownAbsolute, walked.relativePath);

    // The matches of all parts one after the other, as the order counts them.
    std::vector<quint32> matched;
    matched.reserve(matchedCount);
    for (const MatchedPart &part : parts) {
        matched.insert(matched.end(), part.matched.cbegin(), part.matched.cend());
        listed.shownNames.append(part.shownNames);
    }
    // The names not shown as they are, by their match; the others are shown as their names.
    std::vector<QStringView> ownShown;
    if (!listed.shownNames.isEmpty()) {
        ownShown.resize(matchedCount);
        size_t firstMatch = 0;
        qsizetype firstShown = 0;
        for (const MatchedPart &part : parts) {
            for (const MatchedPart::OwnShown &own : part.ownShown)
                ownShown[firstMatch + own.match] =
                    QStringView(listed.shownNames).sliced(firstShown + own.at, own.length);
            firstMatch += part.matched.size();
            firstShown += part.shownNames.size();
        }
    }
    const std::vector<quint32> order = sorted.order();
    // The parts' names, keys and runs are let go before the list is built.
    sorted = {};
    listed.files.reserve(matchedCount);
    for (size_t k = 0; k < order.size(); ++k) {
        if (k + 16 < order.size())
            prefetchMemory(&matched[size_t(order[k + 16])]);
        if (k + 8 < order.size())
            prefetchMemory(&walked.files[matched[size_t(order[k + 8])]]);
        const size_t i = size_t(order[k]);
        const WalkedFile &file = walked.files[matched[i]];
        const QStringView name = QStringView(listed.names).sliced(file.at, file.length);
        listed.files.push_back(
            {name, ownShown.empty() || ownShown[i].isNull() ? name : ownShown[i], file.size, file.modified});
    }
    matched = {};
    walked.files = {};
    sortFiles(listed.files, preparation.order, preparation.reverse);
    return listed;
}

} // namespace Lirabel
