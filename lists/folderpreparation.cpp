// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/folderpreparation.h"

#include "core/bytenames.h"
#include "core/naturalorder.h"

#include <algorithm>

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

} // namespace

// The folder's matched files in list order, without their tags; nothing
// when none matches.
std::optional<ListedFolder> listedFolder(WalkedFolder &walked, const FolderPreparation &preparation)
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
    const std::vector<quint32> order = naturalOrder(shown);
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

} // namespace Lirabel
