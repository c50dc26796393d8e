// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/controls/dirlistbox.h"

#include "platform/controls/dirlistmodel.h"
#include "platform/files/deadlinecall.h"
#include "platform/files/drives.h"
#include "platform/files/folderscan.h"
#include "platform/lirabelerror.h"
#include "platform/names/naturalorder.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace Lirabel {

namespace {

constexpr int IndentPerLevel = 10;

// Shifts each row right by its depth, so the path reads as a staircase.
class IndentingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(IndentPerLevel * index.data(DirListModel::DepthRole).toInt(), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
};

QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

DirListBox::DirListBox(QWidget *parent)
    : QListView(parent)
    , mModel(new DirListModel(this))
{
    setObjectName(QStringLiteral("Dir1"));
    setModel(mModel);
    setItemDelegate(new IndentingDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QAbstractItemView::doubleClicked, this, &DirListBox::activateRow);

    // At first the working directory, without a change event.
    const QString start = QDir::currentPath();
    const std::optional<Volume> volume = volumeFor(platform().volumes->mountedVolumes(), start);
    if (!volume)
        return;
    if (std::optional<FolderEntries> scanned = scanFolderWithDeadline(start, ScanFor::Folders)) {
        show(start, *volume, std::move(*scanned));
        mPath = start;
    }
}

DirListBox::~DirListBox() = default;

QString DirListBox::folderAt(int row) const
{
    return row >= 0 && row < mModel->rows().size() ? mModel->rows().at(row).path : QString();
}

QString DirListBox::currentFolderOf(const Volume &volume) const
{
    QString folder = mFolderOfDrive.value(volume.mountPoint);
    if (folder.isEmpty()) {
        const QString working = QDir::currentPath();
        const std::optional<Volume> holder = volumeFor(platform().volumes->mountedVolumes(), working);
        folder = holder && holder->mountPoint == volume.mountPoint ? working : volume.mountPoint;
    }
    // A folder removed since it was shown gives way to the nearest folder above it.
    const std::optional<QString> left = callWithDeadline<QString>(folder, [folder, root = volume.mountPoint] {
        QString existing = folder;
        while (!pathExists(existing) && isSameOrBelow(existing, root)
               && QDir::cleanPath(existing) != QDir::cleanPath(root))
            existing = QFileInfo(existing).path();
        return existing;
    });
    if (!left)
        throw LirabelError(QStringLiteral("Laufwerk nicht bereit: %1").arg(volume.driveText()));
    return *left;
}

void DirListBox::setPath(const QString &pathOrDriveText)
{
    const QList<Volume> volumes = platform().volumes->mountedVolumes();
    for (const Volume &volume : volumes) {
        if (volume.driveText() == pathOrDriveText) {
            const quint64 request = ++mRequest;
            if (!platform().volumes->isReadable(volume.mountPoint))
                throw LirabelError(QStringLiteral("Laufwerk nicht bereit: %1").arg(pathOrDriveText));
            const QString folder = currentFolderOf(volume);
            if (request == mRequest)
                setFolder(folder);
            return;
        }
    }
    setFolder(pathOrDriveText);
}

void DirListBox::setFolder(const QString &path)
{
    // Every wait below lets the events run: each time it ends, a newer
    // request may have taken over, and this one then ends without a trace.
    const quint64 request = ++mRequest;
    const QString folder = QDir::cleanPath(path);
    const std::optional<Volume> volume = volumeFor(platform().volumes->mountedVolumes(), folder);
    if (!volume)
        throw LirabelError(QStringLiteral("Kein Laufwerk für %1").arg(path));
    const bool readable = platform().volumes->isReadable(folder);
    if (request != mRequest)
        return;
    if (!readable)
        throw LirabelError(QStringLiteral("Verzeichnis nicht lesbar: %1").arg(folder));
    if (folder == mPath)
        return;
    std::optional<FolderEntries> scanned = scanFolderWithDeadline(folder, ScanFor::Folders);
    if (request != mRequest)
        return;
    if (!scanned)
        throw LirabelError(QStringLiteral("Verzeichnis nicht lesbar: %1").arg(folder));
    show(folder, *volume, std::move(*scanned));
    mPath = folder;
    mFolderOfDrive.insert(volume->mountPoint, folder);
    Q_EMIT pathChanged();
}

void DirListBox::show(const QString &folder, const Volume &volume, FolderEntries scanned)
{
    QList<DirListModel::Row> rows;
    const QString root = QDir::cleanPath(volume.mountPoint);
    rows.append({root, root, 0, true});
    const QString clean = QDir::cleanPath(folder);
    const QString below = clean.mid(root.size());
    QString walked = root;
    int depth = 0;
    for (const QString &name : below.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        walked = joined(walked, name);
        rows.append({name, walked, ++depth, true});
    }
    const int currentRow = int(rows.size()) - 1;
    sortNaturalAsShown(scanned.folders);
    for (const QString &name : std::as_const(scanned.folders))
        rows.append({name, joined(clean, name), depth + 1, false});
    mModel->setRows(std::move(rows));
    setCurrentIndex(mModel->index(currentRow));
}

void DirListBox::activateRow(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString folder = index.data(DirListModel::PathRole).toString();
    if (folder == mPath)
        return;
    try {
        setFolder(folder);
    } catch (const LirabelError &) {
        Q_EMIT unreadableFolderChosen(folder);
    }
}

void DirListBox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        activateRow(currentIndex());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace Lirabel
