#include "platform/files/drives.h"

#include <QDir>

#include <algorithm>

namespace Lirabel {

bool isSameOrBelow(const QString &path, const QString &folder)
{
    const QString p = QDir::cleanPath(path);
    const QString f = QDir::cleanPath(folder);
    if (p == f)
        return true;
    if (f.isEmpty() || !p.startsWith(f))
        return false;
    return f.endsWith(QLatin1Char('/')) || p.at(f.size()) == QLatin1Char('/');
}

std::optional<Volume> volumeFor(const QList<Volume> &volumes, const QString &pathOrDriveText)
{
    if (pathOrDriveText.isEmpty())
        return std::nullopt;
    for (const Volume &volume : volumes) {
        if (volume.driveText() == pathOrDriveText)
            return volume;
    }
    if (!QDir::isAbsolutePath(pathOrDriveText))
        return std::nullopt;
    std::optional<Volume> best;
    for (const Volume &volume : volumes) {
        if (isSameOrBelow(pathOrDriveText, volume.mountPoint)
            && (!best || QDir::cleanPath(volume.mountPoint).size() > QDir::cleanPath(best->mountPoint).size()))
            best = volume;
    }
    return best;
}

QString printableName(const QString &name)
{
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; };
    if (std::none_of(name.cbegin(), name.cend(), isControl))
        return name;
    QString shown = name;
    std::replace_if(shown.begin(), shown.end(), isControl, QLatin1Char('?'));
    return shown;
}

} // namespace Lirabel
