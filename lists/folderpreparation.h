// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "core/wildcard.h"
#include "fs/folderwalk.h"
#include "lists/excludednames.h"
#include "lists/listrequest.h"
#include "lists/listwriter.h"

#include <QByteArray>
#include <QString>

#include <any>
#include <memory>
#include <optional>
#include <vector>

namespace Lirabel {

// What a list makes of a folder before its visit, on the walk's reader
// threads: copies, as a reader left behind may outlive the list.
struct FolderPreparation
{
    WildcardMatcher matcher;
    ExcludedNames excluded;
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
[[nodiscard]] std::optional<ListedFolder> listedFolder(WalkedFolder &walked, const FolderPreparation &preparation);

// Matches and sorts the part of a large folder read so far, from `from` on,
// on a thread of its own beside the reading of the rest; listedFolder takes
// up the parts. Called as WalkSettings::partRead.
void prepareReadAhead(std::any &readAhead, const QString &names, const std::vector<WalkedFile> &files, size_t from,
                      const std::shared_ptr<const FolderPreparation> &preparation);

} // namespace Lirabel
