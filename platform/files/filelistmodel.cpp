#include "platform/files/filelistmodel.h"

#include "platform/files/drives.h"
#include "platform/files/folderscan.h"
#include "platform/files/naturalorder.h"
#include "platform/files/wildcard.h"
#include "platform/lirabelerror.h"

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
    if (!read())
        throw LirabelError(QStringLiteral("Verzeichnis nicht lesbar: %1").arg(path));
}

void FileListModel::setPattern(const QString &pattern)
{
    if (pattern == mPattern)
        return;
    mPattern = pattern;
    read();
}

void FileListModel::refresh()
{
    read();
}

bool FileListModel::read()
{
    std::optional<FolderEntries> scanned = scanFolder(mPath, ScanFor::Files);
    if (!scanned) {
        mLastScan = {};
        replaceEntries({});
        return false;
    }
    // Typing in the filter reads again at every key; when neither the folder
    // nor the pattern changed, the list stays as it is, with its selection.
    const bool sameFiles = mLastScan.valid && mLastScan.path == mPath && mLastScan.files == scanned->files;
    if (sameFiles && mLastScan.pattern == mPattern)
        return true;
    if (!sameFiles) {
        // Sorted once for every pattern: the filter then keeps the order.
        // The scanned names are kept for the next read; the shown ones,
        // where no name holds a control character, are the same strings.
        QStringList files = std::move(scanned->files);
        files.squeeze();
        QStringList shown;
        shown.reserve(files.size());
        for (const QString &name : std::as_const(files))
            shown.append(printableName(name));
        mLastScan = {true, mPath, {}, std::move(files), naturalOrder(shown)};
    }
    mLastScan.pattern = mPattern;
    const WildcardMatcher matcher(mPattern);
    const bool everything = matcher.matchesEverything();
    QStringList entries;
    entries.reserve(mLastScan.files.size());
    for (const qsizetype i : mLastScan.order) {
        const QString &name = mLastScan.files.at(i);
        if (everything || matcher.matches(name))
            entries.append(printableName(name));
    }
    entries.squeeze();
    replaceEntries(std::move(entries));
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
