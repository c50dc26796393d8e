// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The folder list: the path of the current folder from the drive's root
// down, one row per folder, then the current folder's visible subfolders in
// natural order. Double-click or Enter on a row makes that folder current.
//
// Each drive keeps its own current folder: at first the working directory on
// the drive that holds it and the mount point on every other drive, then the
// folder this list last showed on that drive. The list reads nothing itself:
// the window loads a folder in the background and shows it here once read.

#include "core/platform.h"

#include <QHash>
#include <QListView>

namespace Lirabel {

class FolderListModel;

class FolderListView : public QListView
{
    Q_OBJECT

public:
    explicit FolderListView(QWidget *parent = nullptr);
    ~FolderListView() override;

    [[nodiscard]] QString path() const { return mPath; }
    // Shows a folder read, with its subfolders, and makes it its drive's
    // current folder.
    void showFolder(const QString &folder, const Volume &volume, QStringList subfolders);
    // The drive's current folder, as it was last shown.
    [[nodiscard]] QString currentFolderOf(const Volume &volume) const;

    // The folder shown in a row.
    [[nodiscard]] QString folderAt(int row) const;

Q_SIGNALS:
    // A row was activated: the user wants that folder.
    void folderChosen(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void activateRow(const QModelIndex &index);

    FolderListModel *const mModel;
    QString mPath;
    QHash<QString, QString> mFolderOfDrive; // mount point -> current folder
};

} // namespace Lirabel
