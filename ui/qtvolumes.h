// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "core/platform.h"

#include <QFile>

#include <memory>

class QSocketNotifier;

namespace Lirabel {

struct VolumeReading;

// The mounted file systems a person browses (drives.h says which): the root
// first, then the mount points in alphabetical order. The list comes from the
// kernel's mount table and the labels from the device folder, so reading it
// touches no mounted file system, and a mount that does not answer is listed
// by its mount point without delaying anything. Whether each mount point is a
// folder (single files mounted over others, as in containers, are no drives)
// is asked on threads of their own. The kernel signals every change of the
// table; the list is then read again off this thread and volumesChanged()
// follows.
class QtVolumes : public VolumeService
{
    Q_OBJECT

public:
    QtVolumes();
    ~QtVolumes() override;

    QList<Volume> mountedVolumes() const override;
    // The folder exists and its entries can be listed; false too when it
    // does not answer within the file-system deadline.
    bool isReadable(const QString &path) const override;

private:
    void readAgain();
    void take(quint64 reading, const QList<Volume> &volumes);

    // Shared with the threads that read the list, which may outlive the service.
    const std::shared_ptr<VolumeReading> mReading;
    QList<Volume> mVolumes;
    QFile mMountTable;
    QSocketNotifier *mWatch = nullptr;
    quint64 mReadingsStarted = 0;
    quint64 mReadingTaken = 0;
};

} // namespace Lirabel
