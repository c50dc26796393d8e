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

    // The style's icon of an open or a closed folder. Qt reads the icon
    // theme at the first look-up, which takes as long as reading the font
    // database: the window program has it done while the fonts are read.
    [[nodiscard]] static QIcon folderIcon(bool open);

private:
    QList<Row> mRows;
};

} // namespace Lirabel
