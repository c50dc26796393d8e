#include "platform/qtvolumes.h"

#include <QDir>

namespace Lirabel {

QList<Volume> QtVolumes::mountedVolumes() const
{
    return {Volume{QStringLiteral("/"), QString()}};
}

bool QtVolumes::isReadable(const QString &path) const
{
    return QDir(path).isReadable();
}

} // namespace Lirabel
