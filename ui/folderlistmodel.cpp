// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/folderlistmodel.h"

#include "core/bytenames.h"
#include "ui/foldericon.h"

namespace Lirabel {

FolderListModel::FolderListModel(QObject *parent)
    : QAbstractListModel(parent)
    , mOpenIcon(folderIcon(true))
    , mClosedIcon(folderIcon(false))
{
}

FolderListModel::~FolderListModel() = default;

void FolderListModel::setRows(QList<Row> rows)
{
    beginResetModel();
    mRows = std::move(rows);
    endResetModel();
}

int FolderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(mRows.size());
}

QVariant FolderListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= mRows.size())
        return {};
    const Row &row = mRows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return printableName(row.name);
    case Qt::DecorationRole:
        return row.open ? mOpenIcon : mClosedIcon;
    case DepthRole:
        return row.depth;
    case PathRole:
        return row.path;
    default:
        return {};
    }
}

} // namespace Lirabel
