#pragma once

#include "platform/platform.h"

namespace Lirabel {

// The mounted file systems a person browses, from QStorageInfo.
class QtVolumes : public VolumeService
{
public:
    QList<Volume> mountedVolumes() const override;
    bool isReadable(const QString &path) const override;
};

} // namespace Lirabel
