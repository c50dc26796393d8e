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
    // The matched files, and their names as shown: the names themselves
    // where they are shown as they are, as nearly all are; the others lie in
    // shownNames, their views set once it holds them all.
    std::vector<quint32> matched;
    std::vector<QStringView> shown;
    matched.reserve(walked.files.size());
    shown.reserve(walked.files.size());
    struct OwnShown
    {
        size_t match;
        qsizetype at;
        qsizetype length;
    };
    std::vector<OwnShown> ownShown;
    QString shownNames;
    for (size_t i = 0; i < walked.files.size(); ++i) {
        const QStringView name = walked.name(walked.files[i]);
        if (isShownAsItIs(name)) {
            if (!preparation.matcher.matchesEverything() && !preparation.matcher.matches(name))
                continue;
            if (!preparation.excluded.isEmpty() && preparation.excluded.matchesReadable(name))
                continue;
            matched.push_back(quint32(i));
            shown.push_back(name);
            continue;
        }
        const QString whole = name.toString();
        const QString readable = readableName(whole);
        if (!preparation.matcher.matchesEverything() && !preparation.matcher.matches(readable))
            continue;
        if (!preparation.excluded.isEmpty() && preparation.excluded.matchesReadable(readable))
            continue;
        const QString printable = printableName(whole);
        ownShown.push_back({matched.size(), shownNames.size(), printable.size()});
        matched.push_back(quint32(i));
        shown.emplace_back();
        shownNames.append(printable);
    }
    if (matched.empty())
        return std::nullopt;
    ListedFolder listed{walked.relativePath,   {}, {}, {}, std::move(walked.names),
                        std::move(shownNames), {}, {}, {}, preparation.root,
                        preparation.shownRoot, {}};
    if (preparation.severalFolders)
        listed.shownFolder = shownPathBelow(preparation.shownRoot, walked.relativePath);
    else
        listed.shownFolder = walked.relativePath.isEmpty() ? QStringLiteral(".") : shownPath(walked.relativePath);
    if (preparation.paths)
        listed.shownAbsolute = shownPathBelow(preparation.shownAbsolute, walked.relativePath);
    // Moved, the blocks stay where they lay: the views into the names hold.
    for (const OwnShown &own : ownShown)
        shown[own.match] = QStringView(listed.shownNames).sliced(own.at, own.length);
    listed.files.reserve(matched.size());
    const std::vector<quint32> order = naturalOrder(shown);
    for (size_t k = 0; k < order.size(); ++k) {
        if (k + 16 < order.size()) {
            prefetchMemory(&matched[size_t(order[k + 16])]);
            prefetchMemory(&shown[size_t(order[k + 16])]);
        }
        if (k + 8 < order.size())
            prefetchMemory(&walked.files[matched[size_t(order[k + 8])]]);
        const size_t i = size_t(order[k]);
        const WalkedFile &file = walked.files[matched[i]];
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
