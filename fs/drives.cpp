// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/drives.h"

#include "core/bytenames.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace Lirabel {

namespace {

bool isPseudoFileSystem(const QByteArray &type)
{
    static const QSet<QByteArray> pseudo{
        "proc",      "sysfs",      "cgroup",      "cgroup2",  "devtmpfs", "devpts",   "tmpfs",    "ramfs",
        "mqueue",    "securityfs", "debugfs",     "tracefs",  "pstore",   "bpf",      "configfs", "fusectl",
        "hugetlbfs", "autofs",     "binfmt_misc", "efivarfs", "nsfs",     "squashfs",
    };
    return pseudo.contains(type);
}

// The table writes blank, tab, newline and backslash in a field as \ooo.
QByteArray unescaped(const QByteArray &field)
{
    if (!field.contains('\\'))
        return field;
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    QByteArray plain;
    plain.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size() && isOctal(field.at(i + 1)) && isOctal(field.at(i + 2))
            && isOctal(field.at(i + 3))) {
            plain.append(char((field.at(i + 1) - '0') * 64 + (field.at(i + 2) - '0') * 8 + (field.at(i + 3) - '0')));
            i += 3;
        } else {
            plain.append(field.at(i));
        }
    }
    return plain;
}

// udev writes a blank in a label as \x20, and every other awkward byte so.
QString udevDecoded(const QString &name)
{
    QByteArray bytes = QFile::encodeName(name);
    QByteArray plain;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bool hex = false;
        if (bytes.at(i) == '\\' && i + 3 < bytes.size() && bytes.at(i + 1) == 'x') {
            const int value = bytes.mid(i + 2, 2).toInt(&hex, 16);
            if (hex) {
                plain.append(char(value));
                i += 3;
            }
        }
        if (!hex)
            plain.append(bytes.at(i));
    }
    return QString::fromUtf8(plain);
}

} // namespace

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

std::optional<Volume> volumeNamed(const QList<Volume> &volumes, const QString &driveText)
{
    for (const Volume &volume : volumes) {
        if (volume.driveText() == driveText)
            return volume;
    }
    for (const Volume &volume : volumes) {
        if (volume.mountPoint == driveText)
            return volume;
    }
    return std::nullopt;
}

QList<MountEntry> parseMountTable(const QByteArray &table)
{
    // id parent major:minor root mount-point options [optional fields] - type source super-options
    QList<MountEntry> mounts;
    for (const QByteArray &line : table.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf(QByteArray("-"), 6);
        if (separator < 0 || separator + 2 >= fields.size())
            continue;
        bool numbered = false;
        const int id = fields.at(0).toInt(&numbered);
        const QString mountPoint = nameFromBytes(unescaped(fields.at(4)));
        if (!numbered || !mountPoint.startsWith(QLatin1Char('/')))
            continue;
        mounts.append({id, mountPoint, unescaped(fields.at(separator + 1)), unescaped(fields.at(separator + 2)),
                       unescaped(fields.at(3))});
    }
    return mounts;
}

bool isBrowsable(const MountEntry &mount)
{
    return !isPseudoFileSystem(mount.type) && !isSameOrBelow(mount.mountPoint, QStringLiteral("/proc"))
        && !isSameOrBelow(mount.mountPoint, QStringLiteral("/sys"))
        && !isSameOrBelow(mount.mountPoint, QStringLiteral("/dev"));
}

QList<Volume> drivesOf(const QList<MountEntry> &mounts, const std::function<QString(const QByteArray &)> &labelOf)
{
    const QString root = QDir::rootPath();
    QList<Volume> volumes{Volume{root, QString()}};
    // A later mount on the same point lies over the earlier one.
    QMap<QString, Volume> others;
    for (const MountEntry &mount : mounts) {
        if (mount.mountPoint == root)
            volumes.first().label = labelOf(mount.source);
        else if (isBrowsable(mount))
            others.insert(mount.mountPoint, Volume{mount.mountPoint, labelOf(mount.source)});
    }
    volumes.append(others.values());
    return volumes;
}

QByteArray readMountTable()
{
    QFile table(QString::fromLatin1(MountTablePath));
    return table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
}

std::function<QString(const QByteArray &)> deviceLabels()
{
    QHash<QString, QString> labels;
    QDirIterator it(QStringLiteral("/dev/disk/by-label"), QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString device = it.fileInfo().canonicalFilePath();
        if (!device.isEmpty())
            labels.insert(device, udevDecoded(it.fileName()));
    }
    return [labels](const QByteArray &source) {
        // Only devices: any other source (a server's share, "none") is no path on this machine.
        if (labels.isEmpty() || !source.startsWith("/dev/"))
            return QString();
        return labels.value(QFileInfo(QFile::decodeName(source)).canonicalFilePath());
    };
}

QList<Volume> mountedDrives()
{
    return drivesOf(parseMountTable(readMountTable()), deviceLabels());
}

} // namespace Lirabel
