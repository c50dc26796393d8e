// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/listroots.h"

#include "core/bytenames.h"
#include "fs/realfolder.h"

#include <algorithm>
#include <optional>

namespace Lirabel {

namespace {

// The names leading from folder down to path, when path lies strictly below it.
std::optional<QStringList> namesBelow(const QByteArray &folder, const QByteArray &path)
{
    if (folder.isEmpty() || path.size() <= folder.size() || !path.startsWith(folder))
        return std::nullopt;
    const qsizetype start = folder.endsWith('/') ? folder.size() : folder.size() + 1;
    if (!folder.endsWith('/') && path.at(folder.size()) != '/')
        return std::nullopt;
    QStringList names;
    for (const QByteArray &name : path.mid(start).split('/'))
        names.append(nameFromBytes(name));
    return names;
}

} // namespace

std::vector<ListRoot> listRoots(const std::vector<QByteArray> &folders, const EnteredBelow &entered,
                                const std::function<void(const QString &note)> &note)
{
    std::vector<ListRoot> roots;
    for (const QByteArray &folder : folders) {
        const RealFolder real = realFolder(folder);
        ListRoot root{folder, printableName(nameFromBytes(folder)), real.path, real.device, {}};
        const auto earlier = std::find_if(roots.cbegin(), roots.cend(), [&](const ListRoot &before) {
            if (root.real.isEmpty())
                return false;
            if (root.real == before.real)
                return true;
            const std::optional<QStringList> names = namesBelow(before.real, root.real);
            return names && entered(*names, root.device == before.device);
        });
        if (earlier != roots.cend()) {
            note(root.real == earlier->real
                     ? QStringLiteral("Übersprungen: %1 ist derselbe Ordner wie %2.").arg(root.shown, earlier->shown)
                     : QStringLiteral("Übersprungen: %1 liegt im schon gelisteten Ordner %2.")
                           .arg(root.shown, earlier->shown));
            continue;
        }
        for (const ListRoot &before : roots) {
            std::optional<QStringList> names = namesBelow(root.real, before.real);
            if (names && entered(*names, root.device == before.device))
                root.listedBefore.push_back(std::move(*names));
        }
        roots.push_back(std::move(root));
    }
    return roots;
}

bool isListedBefore(const ListRoot &root, const QStringList &relativePath)
{
    return std::any_of(root.listedBefore.cbegin(), root.listedBefore.cend(), [&relativePath](const QStringList &names) {
        return relativePath.size() >= names.size() && std::equal(names.cbegin(), names.cend(), relativePath.cbegin());
    });
}

} // namespace Lirabel
