// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/folderloader.h"

#include "core/bytenames.h"
#include "fs/deadlinecall.h"
#include "fs/drives.h"
#include "fs/foldertoopen.h"
#include "fs/handover.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <mutex>

namespace Lirabel {

// Shared with the jobs, which may outlive the loader.
struct FolderLoader::Shared
{
    std::mutex mutex;
    FolderLoader *owner = nullptr; // cleared when the loader goes
};

namespace {

// On a worker: everything the request needs, from the drive's readiness to
// the folder's entries.
FolderAnswer read(quint64 id, const FolderRequest &request, const VolumeService *volumes)
{
    FolderAnswer answer{id, request, false, {}, {}};
    if (!volumes)
        return answer;
    QString folder = QDir::cleanPath(request.folder);
    switch (request.kind) {
    case FolderRequest::Kind::Drive: {
        const QString root = QDir::cleanPath(request.drive->mountPoint);
        if (!volumes->isReadable(root))
            return answer;
        // A folder removed since it was shown gives way to the nearest folder above it.
        while (!pathExists(folder) && isSameOrBelow(folder, root) && folder != root)
            folder = QFileInfo(folder).path();
        break;
    }
    case FolderRequest::Kind::Folder:
        break;
    case FolderRequest::Kind::Path: {
        const std::optional<QString> named = folderToOpen(request.path);
        if (!named)
            return answer;
        folder = QDir::cleanPath(*named);
        break;
    }
    }
    if (folder.isEmpty() || !volumes->isReadable(folder))
        return answer;
    std::optional<FolderEntries> entries =
        scanFolder(folder, request.filesOnly ? ScanFor::Files : ScanFor::FilesAndFolders);
    if (!entries)
        return answer;
    answer.ok = true;
    answer.folder = folder;
    answer.entries = std::move(*entries);
    return answer;
}

QString mountAsked(const FolderRequest &request)
{
    switch (request.kind) {
    case FolderRequest::Kind::Drive:
        return QDir::cleanPath(request.drive->mountPoint);
    case FolderRequest::Kind::Folder:
        return mountOf(request.folder);
    case FolderRequest::Kind::Path:
        return mountOf(nameFromBytes(request.path));
    }
    return QString();
}

} // namespace

FolderLoader::FolderLoader(QObject *parent)
    : QObject(parent)
    , mShared(std::make_shared<Shared>())
{
    mShared->owner = this;
}

FolderLoader::~FolderLoader()
{
    const std::lock_guard lock(mShared->mutex);
    mShared->owner = nullptr;
}

quint64 FolderLoader::load(FolderRequest request)
{
    const quint64 id = ++mNewest;
    mPending = true;
    // The services as the request was made; the job may run after they changed.
    Handover job = Handover::start(mountAsked(request), [shared = mShared, id, request, volumes = platform().volumes] {
        FolderAnswer answer = read(id, request, volumes);
        const std::lock_guard lock(shared->mutex);
        if (FolderLoader *owner = shared->owner)
            QMetaObject::invokeMethod(
                owner, [owner, answer = std::move(answer)]() mutable { owner->deliver(std::move(answer)); },
                Qt::QueuedConnection);
    });
    if (!job.started()) {
        // A mount that is stuck, or no thread: it fails as one that does not answer.
        failLater(id, request);
        return id;
    }
    mRunning.insert(id, job);
    QTimer::singleShot(FileSystemDeadline, this, [this, id, request] {
        if (mRunning.take(id).giveUp())
            return; // answered; its answer is on its way
        deliver(FolderAnswer{id, request, false, {}, {}});
    });
    return id;
}

quint64 FolderLoader::refuse(FolderRequest request)
{
    const quint64 id = ++mNewest;
    mPending = true;
    failLater(id, request);
    return id;
}

// After the caller has returned, as any answer comes.
void FolderLoader::failLater(quint64 id, const FolderRequest &request)
{
    QMetaObject::invokeMethod(
        this,
        [this, id, request] {
            deliver(FolderAnswer{id, request, false, {}, {}});
        },
        Qt::QueuedConnection);
}

void FolderLoader::deliver(FolderAnswer answer)
{
    mRunning.remove(answer.id);
    if (answer.id != mNewest || !mPending)
        return; // overtaken, or failed at the deadline already
    mPending = false;
    Q_EMIT answered(answer);
}

} // namespace Lirabel
