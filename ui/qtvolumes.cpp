// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/qtvolumes.h"

#include "core/bytenames.h"
#include "fs/deadlinecall.h"
#include "fs/drives.h"
#include "fs/folderscan.h"
#include "fs/handover.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSocketNotifier>
#include <QStorageInfo>

#include <condition_variable>
#include <mutex>
#include <vector>

#if defined(Q_OS_LINUX)
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace Lirabel {

struct VolumeReading
{
    std::mutex mutex;
    std::condition_variable probed;
    QtVolumes *owner = nullptr;
    // Whether a mount point is a folder, by mount; nothing yet while its answer is pending.
    QHash<QString, std::optional<bool>> isFolder;
};

namespace {

#if defined(Q_OS_LINUX)

// Whether the path is a folder, from what the kernel already knows where it
// can: a network or FUSE file system is then not asked again.
bool isFolderByCache(const QByteArray &path)
{
    struct statx info;
    if (statx(AT_FDCWD, path.constData(), AT_STATX_DONT_SYNC | AT_NO_AUTOMOUNT, STATX_TYPE, &info) != 0)
        return false;
    return S_ISDIR(info.stx_mode);
}

QString keyOf(const MountEntry &mount)
{
    return QString::number(mount.id) + QLatin1Char(' ') + mount.mountPoint;
}

// The drives of the mount table, without asking any mount.
QList<Volume> drivesNow()
{
    return mountedDrives();
}

// The drives, with each new mount point asked whether it is a folder, each
// on a thread of its own; one that does not answer in time counts as one.
QList<Volume> drivesProbed(const std::shared_ptr<VolumeReading> &shared)
{
    QList<MountEntry> mounts = parseMountTable(readMountTable());
    const auto deadline = std::chrono::steady_clock::now() + FileSystemDeadline;
    std::unique_lock lock(shared->mutex);
    QSet<QString> known;
    QSet<QString> asked;
    std::vector<std::pair<QString, Handover>> probes;
    for (const MountEntry &mount : std::as_const(mounts)) {
        // A whole file system's root is always a folder; only a part of one,
        // bound elsewhere, may be a single file. So no mount is asked unless
        // the table leaves it open.
        if (!isBrowsable(mount) || mount.mountPoint == QDir::rootPath() || mount.root == "/")
            continue;
        const QString key = keyOf(mount);
        // A question still pending from an earlier reading is not asked again.
        known.insert(key);
        if (shared->isFolder.contains(key))
            continue;
        shared->isFolder.insert(key, std::nullopt);
        // A mount that is stuck is not ready: it is not asked again until its call returns.
        Handover probe = Handover::start(mount.mountPoint, [shared, key, path = nameBytes(mount.mountPoint)] {
            const bool folder = isFolderByCache(path);
            const std::lock_guard answered(shared->mutex);
            if (shared->isFolder.contains(key))
                shared->isFolder.insert(key, folder);
            shared->probed.notify_all();
        });
        if (probe.started()) {
            asked.insert(key);
            probes.emplace_back(key, std::move(probe));
        } else
            shared->isFolder.remove(key);
    }
    // Answers for mounts gone from the table are dropped; pending ones may
    // belong to a reading that started after this one.
    shared->isFolder.removeIf(
        [&known](const auto &entry) { return entry.value().has_value() && !known.contains(entry.key()); });
    const auto allAnswered = [&shared, &asked] {
        return std::all_of(asked.cbegin(), asked.cend(),
                           [&shared](const QString &key) { return shared->isFolder.value(key).has_value(); });
    };
    shared->probed.wait_until(lock, deadline, allAnswered);
    // A probe with no answer is left behind, and its mount counts as stuck.
    for (auto &[key, probe] : probes) {
        if (!shared->isFolder.value(key).has_value()) {
            lock.unlock();
            probe.giveUp();
            lock.lock();
        }
    }
    mounts.removeIf([&shared](const MountEntry &mount) {
        return shared->isFolder.value(keyOf(mount)) == std::optional<bool>(false);
    });
    lock.unlock();
    return drivesOf(mounts, deviceLabels());
}

#else

QList<Volume> drivesNow()
{
    return {Volume{QDir::rootPath(), QString()}};
}

QList<Volume> drivesProbed(const std::shared_ptr<VolumeReading> &)
{
    QList<Volume> volumes{Volume{QDir::rootPath(), QString()}};
    const QList<QStorageInfo> mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &storage : mounted) {
        if (storage.isRoot())
            volumes.first().label = storage.name();
        else if (QFileInfo(storage.rootPath()).isDir())
            volumes.append(Volume{storage.rootPath(), storage.name()});
    }
    std::sort(volumes.begin() + 1, volumes.end(),
              [](const Volume &a, const Volume &b) { return a.mountPoint < b.mountPoint; });
    return volumes;
}

#endif

} // namespace

QtVolumes::QtVolumes()
    : mReading(std::make_shared<VolumeReading>())
    , mVolumes(drivesNow())
{
    mReading->owner = this;
#if defined(Q_OS_LINUX)
    // The kernel marks the open table exceptional (POLLPRI) at every mount and unmount.
    mMountTable.setFileName(QString::fromLatin1(MountTablePath));
    if (mMountTable.open(QIODevice::ReadOnly)) {
        mWatch = new QSocketNotifier(mMountTable.handle(), QSocketNotifier::Exception, this);
        connect(mWatch, &QSocketNotifier::activated, this, &QtVolumes::readAgain);
    }
#endif
    readAgain();
}

QtVolumes::~QtVolumes()
{
    const std::lock_guard lock(mReading->mutex);
    mReading->owner = nullptr;
}

QList<Volume> QtVolumes::mountedVolumes() const
{
    return mVolumes;
}

bool QtVolumes::isReadable(const QString &path) const
{
    return callWithDeadline<bool>(path, [path] { return isListableFolder(path); }).value_or(false);
}

// Each change is read at once, even while an earlier reading still waits for
// a mount that does not answer; the newest reading that arrives counts.
void QtVolumes::readAgain()
{
    const quint64 reading = ++mReadingsStarted;
    // Without a thread the list stays as it is until the next change.
    [[maybe_unused]] const bool started = runWaiter([shared = mReading, reading] {
        const QList<Volume> volumes = drivesProbed(shared);
        const std::lock_guard lock(shared->mutex);
        if (QtVolumes *owner = shared->owner)
            QMetaObject::invokeMethod(
                owner, [owner, reading, volumes] { owner->take(reading, volumes); }, Qt::QueuedConnection);
    });
}

void QtVolumes::take(quint64 reading, const QList<Volume> &volumes)
{
    if (reading < mReadingTaken)
        return;
    mReadingTaken = reading;
    if (volumes == mVolumes)
        return;
    mVolumes = volumes;
    Q_EMIT volumesChanged();
}

} // namespace Lirabel
