#pragma once

#include "platform/platform.h"

namespace Lirabel {

// The mounted file systems a person browses, from QStorageInfo: the root
// always, every other mounted folder except the kernel's pseudo file systems
// and what is mounted below /proc, /sys and /dev. The root comes first, then
// the mount points in alphabetical order.
class QtVolumes : public VolumeService
{
public:
    QList<Volume> mountedVolumes() const override;
    // The folder exists and its entries can be listed.
    bool isReadable(const QString &path) const override;
};

} // namespace Lirabel
