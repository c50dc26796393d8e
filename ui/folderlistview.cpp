// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/folderlistview.h"

#include "core/naturalorder.h"
#include "fs/drives.h"
#include "ui/folderlistmodel.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include <utility>

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
        shifted.rect.adjust(IndentPerLevel * index.data(FolderListModel::DepthRole).toInt(), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
};

QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

FolderListView::FolderListView(QWidget *parent)
    : QListView(parent)
    , mModel(new FolderListModel(this))
{
    setObjectName(QStringLiteral("Dir1"));
    setModel(mModel);
    setItemDelegate(new IndentingDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QAbstractItemView::doubleClicked, this, &FolderListView::activateRow);
}

FolderListView::~FolderListView() = default;

QString FolderListView::folderAt(int row) const
{
    return row >= 0 && row < mModel->rows().size() ? mModel->rows().at(row).path : QString();
}

QString FolderListView::currentFolderOf(const Volume &volume) const
{
    const QString folder = mFolderOfDrive.value(volume.mountPoint);
    if (!folder.isEmpty())
        return folder;
    const QString working = QDir::currentPath();
    const std::optional<Volume> holder = volumeFor(platform().volumes->mountedVolumes(), working);
    return holder && holder->mountPoint == volume.mountPoint ? working : volume.mountPoint;
}

void FolderListView::showFolder(const QString &folder, const Volume &volume, QStringList subfolders)
{
    QList<FolderListModel::Row> rows;
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
    sortNaturalAsShown(subfolders);
    for (const QString &name : std::as_const(subfolders))
        rows.append({name, joined(clean, name), depth + 1, false});
    mModel->setRows(std::move(rows));
    setCurrentIndex(mModel->index(currentRow));
    mFolderOfDrive.insert(volume.mountPoint, clean);
    mPath = clean;
}

void FolderListView::activateRow(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString folder = index.data(FolderListModel::PathRole).toString();
    if (folder != mPath)
        Q_EMIT folderChosen(folder);
}

void FolderListView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        activateRow(currentIndex());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace Lirabel
