// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/listcomparison.h"

#include "core/bytenames.h"
#include "core/naturalorder.h"

#include <QHash>

#include <algorithm>

namespace Lirabel {

namespace {

bool differs(const ComparedFile &a, const ComparedFile &b, ComparedBy by)
{
    return (by.sizes && a.size >= 0 && b.size >= 0 && a.size != b.size)
        || (by.times && a.modified >= 0 && b.modified >= 0 && a.modified != b.modified)
        || (by.checksums && a.checksum.known && b.checksum.known && a.checksum.digest != b.checksum.digest);
}

bool isBelow(QByteArrayView path, const std::vector<QByteArray> &folders)
{
    return std::any_of(folders.cbegin(), folders.cend(), [path](const QByteArray &folder) {
        return path == folder
            || (path.size() > folder.size() && path.startsWith(folder) && path.at(folder.size()) == '/');
    });
}

QByteArray digestKey(const FileChecksum &checksum)
{
    return QByteArray(reinterpret_cast<const char *>(checksum.digest.data()), qsizetype(checksum.digest.size()));
}

// The path's folders and name as a person reads them, for the order.
QStringList shownParts(QByteArrayView path)
{
    QStringList parts = pathParts(path);
    for (QString &part : parts)
        part = printableName(part);
    return parts;
}

// Depth first, a folder's files before its subfolders, each in natural order.
bool comesBefore(const QStringList &a, const QStringList &b)
{
    const qsizetype folders = std::min(a.size(), b.size()) - 1;
    for (qsizetype i = 0; i < folders; ++i) {
        if (const int order = naturalCompare(a[i], b[i]))
            return order < 0;
    }
    if (a.size() != b.size())
        return a.size() < b.size(); // the files of the shallower folder first
    return naturalCompare(a.back(), b.back()) < 0;
}

} // namespace

QStringList pathParts(QByteArrayView path)
{
    QStringList parts;
    for (qsizetype at = 0;;) {
        const qsizetype slash = path.indexOf('/', at);
        parts.append(nameFromBytes(path.sliced(at, (slash < 0 ? path.size() : slash) - at)));
        if (slash < 0)
            return parts;
        at = slash + 1;
    }
}

QByteArrayView PathStore::keep(QByteArrayView first, QByteArrayView second)
{
    const size_t size = size_t(first.size() + second.size());
    if (size > mLeft) {
        constexpr size_t BlockSize = 1 << 20;
        mLeft = std::max(size, BlockSize);
        mBlocks.push_back(std::make_unique_for_overwrite<char[]>(mLeft));
        mFree = mBlocks.back().get();
    }
    char *const kept = mFree;
    std::copy(first.begin(), first.end(), kept);
    std::copy(second.begin(), second.end(), kept + first.size());
    mFree += size;
    mLeft -= size;
    return QByteArrayView(kept, qsizetype(size));
}

std::vector<Difference> compareFiles(const std::vector<ComparedFile> &saved, const std::vector<ComparedFile> &now,
                                     ComparedBy by, const std::vector<QByteArray> &unread)
{
    // Both lists come in list order, so most files meet their other at
    // once, and a few files added or removed put them a few apart. Whatever
    // does not meet so is matched by its path below.
    constexpr size_t Reach = 16;
    std::vector<Difference> found;
    std::vector<const ComparedFile *> savedLeft, nowLeft;
    size_t i = 0, j = 0;
    while (i < saved.size() && j < now.size()) {
        if (saved[i].path == now[j].path) {
            if (differs(saved[i], now[j], by))
                found.push_back({ChangeKind::Changed, &now[j]});
            ++i;
            ++j;
            continue;
        }
        size_t nowAhead = 0, savedAhead = 0;
        for (size_t apart = 1; apart <= Reach && nowAhead + savedAhead == 0; ++apart) {
            if (j + apart < now.size() && saved[i].path == now[j + apart].path)
                nowAhead = apart;
            else if (i + apart < saved.size() && saved[i + apart].path == now[j].path)
                savedAhead = apart;
        }
        if (nowAhead + savedAhead == 0)
            nowAhead = savedAhead = 1; // both passed on to the match by path
        for (; nowAhead > 0; --nowAhead)
            nowLeft.push_back(&now[j++]);
        for (; savedAhead > 0; --savedAhead)
            savedLeft.push_back(&saved[i++]);
    }
    for (; i < saved.size(); ++i)
        savedLeft.push_back(&saved[i]);
    for (; j < now.size(); ++j)
        nowLeft.push_back(&now[j]);

    QHash<QByteArrayView, const ComparedFile *> nowByPath;
    nowByPath.reserve(qsizetype(nowLeft.size()));
    for (const ComparedFile *file : nowLeft)
        nowByPath.insert(file->path, file);
    std::vector<const ComparedFile *> missing;
    for (const ComparedFile *before : savedLeft) {
        const auto there = nowByPath.find(before->path);
        if (there == nowByPath.end()) {
            if (!isBelow(before->path, unread))
                missing.push_back(before);
            continue;
        }
        if (differs(*before, **there, by))
            found.push_back({ChangeKind::Changed, *there});
        nowByPath.erase(there);
    }
    std::vector<const ComparedFile *> added;
    for (const ComparedFile *file : nowLeft) {
        if (nowByPath.contains(file->path) && !isBelow(file->path, unread))
            added.push_back(file);
    }

    // A checksum held by exactly one missing and one new file is a rename.
    QHash<QByteArray, std::pair<int, int>> holders; // missing, new
    if (by.checksums) {
        for (const ComparedFile *file : missing) {
            if (file->checksum.known && !isEmptyFileChecksum(file->checksum))
                ++holders[digestKey(file->checksum)].first;
        }
        for (const ComparedFile *file : added) {
            if (file->checksum.known && !isEmptyFileChecksum(file->checksum))
                ++holders[digestKey(file->checksum)].second;
        }
    }
    const auto isRenamed = [&holders](const ComparedFile *file) {
        if (holders.isEmpty() || !file->checksum.known)
            return false;
        const auto held = holders.constFind(digestKey(file->checksum));
        return held != holders.cend() && held->first == 1 && held->second == 1;
    };
    QHash<QByteArray, const ComparedFile *> renamedFrom;
    for (const ComparedFile *file : missing) {
        if (isRenamed(file))
            renamedFrom.insert(digestKey(file->checksum), file);
        else
            found.push_back({ChangeKind::Removed, file});
    }
    for (const ComparedFile *file : added) {
        if (isRenamed(file))
            found.push_back({ChangeKind::Renamed, file, renamedFrom.value(digestKey(file->checksum))});
        else
            found.push_back({ChangeKind::Added, file});
    }

    std::vector<QStringList> keys;
    keys.reserve(found.size());
    for (const Difference &difference : found)
        keys.push_back(shownParts(difference.file->path));
    std::vector<size_t> order(found.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&keys](size_t a, size_t b) { return comesBefore(keys[a], keys[b]); });
    std::vector<Difference> sorted;
    sorted.reserve(found.size());
    for (const size_t i : order)
        sorted.push_back(found[i]);
    return sorted;
}

} // namespace Lirabel
