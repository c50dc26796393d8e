// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/filelistmodel.h"

#include "core/bytenames.h"
#include "core/naturalorder.h"
#include "core/wildcard.h"
#include "fs/folderscan.h"

#include <algorithm>
#include <future>
#include <limits>
#include <thread>

namespace Lirabel {

namespace {

// The shown names of those from first to last (exclusive) that match. Where
// plain, every name reads and shows as it is.
QStringList matching(const QStringList &sorted, qsizetype first, qsizetype last, const WildcardMatcher &matcher,
                     bool plain)
{
    QStringList shown;
    shown.reserve(last - first);
    for (qsizetype i = first; i < last; ++i) {
        // In natural order the names lie all over memory: asking for them
        // some way ahead lets their reads overlap.
        if (i + 16 < last)
            __builtin_prefetch(sorted.at(i + 16).constData());
        // Matched as the name reads, as the lists without the window do.
        const QString &name = sorted.at(i);
        if (plain) {
            if (matcher.matches(name))
                shown.append(name);
        } else if (holdsForeignBytes(name) ? matcher.matches(readableName(name)) : matcher.matches(name)) {
            shown.append(printableName(name));
        }
    }
    shown.squeeze();
    return shown;
}

// The shown names of the sorted ones that match, in order. Every key typed
// in the filter asks for them: large folders are filtered in two halves at
// once.
QStringList matching(const QStringList &sorted, const WildcardMatcher &matcher, bool plain)
{
    const qsizetype size = sorted.size();
    if (size < 8192 || std::thread::hardware_concurrency() < 2)
        return matching(sorted, 0, size, matcher, plain);
    const qsizetype half = size / 2;
    auto back = std::async(std::launch::async, [&sorted, half, size, &matcher, plain] {
        return matching(sorted, half, size, matcher, plain);
    });
    QStringList shown = matching(sorted, 0, half, matcher, plain);
    shown.append(back.get());
    return shown;
}

} // namespace

FileListModel::FileListModel(QObject *parent)
    : QAbstractListModel(parent)
    , mPattern(QStringLiteral("*.*"))
{
}

FileListModel::~FileListModel() = default;

void FileListModel::setPattern(const QString &pattern)
{
    if (pattern == mPattern)
        return;
    mPattern = pattern;
    if (mRead && mLastScan.valid)
        filter();
}

void FileListModel::markUnread(const QString &path)
{
    mPath = path;
    mLastScan = {};
    mRead = false;
    replaceEntries({});
}

void FileListModel::showFiles(const QString &path, QStringList files)
{
    mPath = path;
    mRead = true;
    // Typing in the filter reads again at every key; when neither the folder
    // nor the pattern changed, the list stays as it is, with its selection.
    const bool sameFiles = mLastScan.valid && mLastScan.path == path && isLastScan(files);
    if (sameFiles && mLastScan.pattern == mPattern)
        return;
    if (!sameFiles) {
        // Sorted once for every pattern: the filter then keeps the order.
        // The scanned names are kept for the next read. Only where a name
        // holds a control character are the shown names other strings.
        const bool plain = std::all_of(files.cbegin(), files.cend(), isShownAsItIs);
        QStringList shown;
        if (!plain) {
            shown.reserve(files.size());
            for (const QString &name : std::as_const(files))
                shown.append(printableName(name));
        }
        const std::vector<quint32> order = naturalOrder(plain ? files : shown);
        shown.clear();
        QStringList sorted;
        sorted.reserve(files.size());
        std::vector<quint32> positions(order.size());
        for (size_t at = 0; at < order.size(); ++at) {
            sorted.append(files.at(order[at]));
            positions[size_t(order[at])] = quint32(at);
        }
        keepFilesInOrder(path, files, sorted);
        mLastScan = {true, path, {}, std::move(sorted), std::move(positions), plain};
    }
    filter();
}

bool FileListModel::isLastScan(const QStringList &files) const
{
    // The remembered read gives back the list it was handed (keepFilesInOrder).
    if (files.constData() == mLastScan.sorted.constData() && files.size() == mLastScan.sorted.size())
        return true;
    if (size_t(files.size()) != mLastScan.positions.size())
        return false;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (files.at(i) != mLastScan.sorted.at(mLastScan.positions[size_t(i)]))
            return false;
    }
    return true;
}

void FileListModel::filter()
{
    mLastScan.pattern = mPattern;
    const WildcardMatcher matcher(mPattern);
    if (matcher.matchesEverything() && mLastScan.plain)
        replaceEntries(mLastScan.sorted);
    else
        replaceEntries(matching(mLastScan.sorted, matcher, mLastScan.plain));
}

void FileListModel::replaceEntries(QStringList entries)
{
    beginResetModel();
    mEntries = std::move(entries);
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    // A view counts rows in int; the listing counts them through count().
    return int(std::min<qsizetype>(mEntries.size(), std::numeric_limits<int>::max()));
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= mEntries.size() || role != Qt::DisplayRole)
        return {};
    return mEntries.at(index.row());
}

} // namespace Lirabel
