// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QList>

namespace Lirabel {

// The rows of the folder list: the folders from the drive's root to the
// current folder (open), then the current folder's subfolders (closed).
class FolderListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int DepthRole = Qt::UserRole + 1;
    static constexpr int PathRole = Qt::UserRole + 2;

    struct Row
    {
        QString name;
        QString path;
        int depth = 0;
        bool open = false;
    };

    explicit FolderListModel(QObject *parent = nullptr);
    ~FolderListModel() override;

    void setRows(QList<Row> rows);
    [[nodiscard]] const QList<Row> &rows() const { return mRows; }

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<Row> mRows;
    QIcon mOpenIcon;
    QIcon mClosedIcon;
};

} // namespace Lirabel
