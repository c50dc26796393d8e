// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The entries of the file list: the files of one folder that match a pattern,
// in natural order, each shown with its control characters as "?". It is the
// source every listing reads (EntrySource), and the model the file list shows.
// Reading a folder is one scan, one pass of the matcher and one sort, so
// folders of a hundred thousand files read without a noticeable pause.

#include "platform/files/entrysource.h"

#include <QAbstractListModel>
#include <QStringList>

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
    // Re-reads when the path changes. A folder that cannot be read, or does
    // not answer in time, leaves the list empty and unread and raises
    // LirabelError. A read that a newer path or pattern overtakes while it
    // waits is dropped, and raises nothing.
    void setPath(const QString &path);

    [[nodiscard]] QString pattern() const { return mPattern; }
    // Re-reads when the pattern changes; fails as setPath does.
    void setPattern(const QString &pattern);

    // Re-reads always; fails as setPath does.
    void refresh();

    // False while the last read failed: the list then shows nothing, and no
    // listing may be made of it.
    [[nodiscard]] bool isRead() const { return mRead; }

    [[nodiscard]] qsizetype count() const override { return mEntries.size(); }
    [[nodiscard]] QString entry(qsizetype position) const override { return mEntries.at(position); }

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    // Reads path and pattern into the entries; raises LirabelError, with no
    // entries, when the folder cannot be read.
    void read();
    void replaceEntries(QStringList entries);

    // What the entries were made from, so a read that finds the same needs
    // neither matching nor sorting, and one with another pattern no sorting.
    struct Scan
    {
        bool valid = false;
        QString path;
        QString pattern;
        QStringList files;  // as the folder gave them
        QStringList sorted; // the same, in natural order of their shown names
        bool plain = false; // no name holds a control character
    };

    QString mPath;
    QString mPattern;
    QStringList mEntries;
    Scan mLastScan;
    quint64 mRequest = 0; // the newest read asked for
    bool mRead = true;
};

} // namespace Lirabel
