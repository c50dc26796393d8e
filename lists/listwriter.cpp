// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/listwriter.h"

#include "core/bytenames.h"
#include "fs/drives.h"

#include <cstdio>
#include <ctime>

namespace Lirabel {

const AudioTags NoAudioTags;

QString shownPath(const QStringList &relativePath)
{
    QStringList shown;
    shown.reserve(relativePath.size());
    for (const QString &part : relativePath)
        shown.append(printableName(part));
    return shown.join(QLatin1Char('/'));
}

QString shownPathBelow(const QString &folder, const QStringList &relativePath)
{
    if (relativePath.isEmpty())
        return folder;
    return folder + (folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + shownPath(relativePath);
}

QString shownFilePath(const ListedFolder &folder, const ListedFile &file)
{
    QString path = folder.shownAbsolute;
    if (!path.endsWith(QLatin1Char('/')))
        path.append(QLatin1Char('/'));
    return path.append(file.shown);
}

bool toLocalTime(qint64 seconds, struct tm &local)
{
    static const bool zoneRead = [] {
        tzset();
        return true;
    }();
    Q_UNUSED(zoneRead)
    const time_t when = time_t(seconds);
    return localtime_r(&when, &local) != nullptr;
}

QByteArray localTimeText(qint64 seconds)
{
    struct tm local
    {
    };
    if (!toLocalTime(seconds, local))
        return {};
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                                     local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return QByteArray(text, length);
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
