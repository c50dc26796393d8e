// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The directory list: the path of the current folder from the drive's root
// down, one row per folder, then the current folder's visible subfolders in
// natural order. Double-click or Enter on a row makes that folder current.
//
// Each drive keeps its own current folder: at first the working directory on
// the drive that holds it and the mount point on every other drive, then the
// folder this list last showed on that drive. Setting the path to a drive text
// goes to that drive's current folder.

#include "platform/files/folderscan.h"
#include "platform/platform.h"

#include <QHash>
#include <QListView>

namespace Lirabel {

class DirListModel;

class DirListBox : public QListView
{
    Q_OBJECT

public:
    explicit DirListBox(QWidget *parent = nullptr);
    ~DirListBox() override;

    [[nodiscard]] QString path() const { return mPath; }
    // A drive text selects that drive's current folder, anything else is a
    // folder path. Raises pathChanged() when the path changes. Raises
    // LirabelError, leaving everything as it was, when the drive or folder
    // cannot be read. A change that a newer one overtakes while the folder
    // keeps it waiting is dropped.
    void setPath(const QString &pathOrDriveText);
    // The same for a folder path only.
    void setFolder(const QString &path);

    // The folder shown in a row.
    [[nodiscard]] QString folderAt(int row) const;

Q_SIGNALS:
    void pathChanged();
    // A row was activated whose folder cannot be read; the list stays.
    void unreadableFolderChosen(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void activateRow(const QModelIndex &index);
    // Raises LirabelError when the drive does not answer.
    [[nodiscard]] QString currentFolderOf(const Volume &volume) const;
    // Shows the folder's entries.
    void show(const QString &folder, const Volume &volume, FolderEntries scanned);

    DirListModel *const mModel;
    QString mPath;
    QHash<QString, QString> mFolderOfDrive; // mount point -> current folder
    quint64 mRequest = 0;                   // the newest folder asked for
};

} // namespace Lirabel
