// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "output/lists/listwriter.h"

#include "platform/files/drives.h"
#include "platform/names/bytenames.h"

namespace Lirabel {

QString shownPath(const QStringList &relativePath)
{
    QStringList shown;
    shown.reserve(relativePath.size());
    for (const QString &part : relativePath)
        shown.append(printableName(part));
    return shown.join(QLatin1Char('/'));
}

QString shownFilePath(const ListedFolder &folder, const ListedFile &file)
{
    return folder.shownAbsolute + (folder.shownAbsolute.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/"))
        + file.shown;
}

QString tagNumber(unsigned number)
{
    return number == 0 ? QString() : QString::number(number);
}

QString durationText(qint64 seconds)
{
    if (seconds < 0)
        return {};
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace Lirabel
