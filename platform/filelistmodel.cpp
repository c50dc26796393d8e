#include "platform/filelistmodel.h"

#include "platform/drives.h"
#include "platform/folderscan.h"
#include "platform/lirabelerror.h"
#include "platform/naturalorder.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <limits>

namespace Lirabel {

FileListModel::FileListModel(QObject *parent)
    : QAbstractListModel(parent)
    , mPattern(QStringLiteral("*.*"))
{
}

FileListModel::~FileListModel() = default;

void FileListModel::setPath(const QString &path)
{
    if (path == mPath)
        return;
    mPath = path;
    QStringList entries;
    const bool readable = read(path, mPattern, entries);
    replaceEntries(std::move(entries));
    if (!readable)
        throw LirabelError(QStringLiteral("Verzeichnis nicht lesbar: %1").arg(path));
}

void FileListModel::setPattern(const QString &pattern)
{
    if (pattern == mPattern)
        return;
    mPattern = pattern;
    refresh();
}

void FileListModel::refresh()
{
    QStringList entries;
    if (!read(mPath, mPattern, entries))
        entries.clear();
    replaceEntries(std::move(entries));
}

bool FileListModel::read(const QString &path, const QString &pattern, QStringList &entries) const
{
    std::optional<FolderEntries> scanned = scanFolder(path);
    if (!scanned)
        return false;
    const WildcardMatcher matcher(pattern);
    entries = std::move(scanned->files);
    if (!matcher.matchesEverything())
        entries.removeIf([&matcher](const QString &name) { return !matcher.matches(name); });
    for (QString &name : entries)
        name = printableName(name);
    sortNatural(entries);
    return true;
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
