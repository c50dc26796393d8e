// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Loads what the window's lists show, in the background, as a file manager
// loads a folder: a request starts a job on the shared workers (handover.h)
// and returns at once; the job's answer arrives as a signal on the window's
// thread. A new request drops the one pending: its answer, whether it is a
// folder or a failure, is never delivered. A job that has not answered
// within FileSystemDeadline fails, and is left behind.
//
// One read answers both lists: a folder's subfolders for the directory list
// and its files for the file list.

#include "core/platform.h"
#include "fs/folderscan.h"

#include "fs/handover.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace Lirabel {

struct FolderRequest
{
    enum class Kind {
        Drive,  // the drive's current folder (folder), or the nearest existing one above it
        Folder, // the folder
        Path,   // the folder a path from outside names (bytes), a file naming the folder that holds it
    };
    Kind kind = Kind::Folder;
    QString folder;
    std::optional<Volume> drive; // with Kind::Drive
    QByteArray path;             // with Kind::Path
    bool filesOnly = false;      // the files again, for a new pattern
};

struct FolderAnswer
{
    quint64 id = 0;
    FolderRequest request;
    bool ok = false;
    QString folder; // the folder read, clean
    FolderEntries entries;
};

class FolderLoader : public QObject
{
    Q_OBJECT

public:
    explicit FolderLoader(QObject *parent = nullptr);
    ~FolderLoader() override;

    // Starts reading; the request before, if still pending, is dropped.
    quint64 load(FolderRequest request);
    // Overtakes the request pending with one that fails, as a read that does
    // not answer, without asking anything.
    quint64 refuse(FolderRequest request);
    [[nodiscard]] bool isPending() const { return mPending; }

Q_SIGNALS:
    // The answer to the newest request, read or failed.
    void answered(const FolderAnswer &answer);

private:
    struct Shared;
    void deliver(FolderAnswer answer);
    void failLater(quint64 id, const FolderRequest &request);

    const std::shared_ptr<Shared> mShared;
    QHash<quint64, Handover> mRunning; // the jobs not answered yet, for their deadline
    quint64 mNewest = 0;
    bool mPending = false;
};

} // namespace Lirabel
