// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The entries of the file list: the files of one folder that match a pattern,
// in natural order, each shown with its control characters as "?". It is the
// source every listing reads (EntrySource), and the model the file list shows.
// It reads nothing itself: the window hands it the files of a folder read in
// the background. Showing them is one pass of the matcher and one sort, so
// folders of a hundred thousand files show without a noticeable pause.

#include "core/entrysource.h"

#include <QAbstractListModel>
#include <QStringList>

#include <vector>

namespace Lirabel {

class FileListModel
    : public QAbstractListModel
    , public EntrySource
{
    Q_OBJECT

public:
    explicit FileListModel(QObject *parent = nullptr);
    ~FileListModel() override;

    [[nodiscard]] QString path() const { return mPath; }
    // Shows the files of a folder read (as the folder gave them) that match
    // the pattern.
    void showFiles(const QString &path, QStringList files);
    // The folder could not be read: nothing listed, and nothing may be.
    void markUnread(const QString &path);

    [[nodiscard]] QString pattern() const { return mPattern; }
    // Filters the files last read anew; reads nothing.
    void setPattern(const QString &pattern);

    // False while the last read failed: the list then shows nothing, and no
    // listing may be made of it.
    [[nodiscard]] bool isRead() const { return mRead; }

    [[nodiscard]] qsizetype count() const override { return mEntries.size(); }
    [[nodiscard]] QString entry(qsizetype position) const override { return mEntries.at(position); }

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    void filter();
    // True when files are the names of the last read, in the folder's order.
    [[nodiscard]] bool isLastScan(const QStringList &files) const;
    void replaceEntries(QStringList entries);

    // What the entries were made from, so a read that finds the same needs
    // neither matching nor sorting, and one with another pattern no sorting.
    struct Scan
    {
        bool valid = false;
        QString path;
        QString pattern;
        QStringList sorted; // the folder's names, in natural order of their shown names
        // Where the folder's n-th name lies in sorted: enough to tell a new
        // read from the same names, at a sixth of the memory of a second list.
        std::vector<quint32> positions;
        bool plain = false; // no name holds a control character
    };

    QString mPath;
    QString mPattern;
    QStringList mEntries;
    Scan mLastScan;
    bool mRead = true;
};

} // namespace Lirabel
