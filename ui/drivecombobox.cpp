// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/drivecombobox.h"

#include "core/lirabelerror.h"
#include "fs/drives.h"

#include <QDir>
#include <QFocusEvent>
#include <QSignalBlocker>

namespace Lirabel {

DriveComboBox::DriveComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(QStringLiteral("Drive1"));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    // The list starts on the drive of the working directory, as the directory
    // and file lists start in it; that is no change of drive. Without such a
    // drive no drive is chosen yet.
    const QList<Volume> volumes = platform().volumes->mountedVolumes();
    const std::optional<Volume> start = volumeFor(volumes, QDir::currentPath());
    fillItems(volumes, start ? start->mountPoint : QString());
    connect(this, &QComboBox::currentIndexChanged, this, &DriveComboBox::driveChanged);
}

DriveComboBox::~DriveComboBox() = default;

QString DriveComboBox::drive() const
{
    const int index = currentIndex();
    if (index < 0 || index >= mVolumes.size())
        return QString();
    return mVolumes.at(index).driveText();
}

void DriveComboBox::setDrive(const QString &pathOrDriveText)
{
    refreshVolumes();
    choose(volumeFor(mVolumes, pathOrDriveText), pathOrDriveText);
}

void DriveComboBox::setListedDrive(const QString &driveText)
{
    refreshVolumes();
    choose(volumeNamed(platform().volumes->mountedVolumes(), driveText), driveText);
}

void DriveComboBox::choose(const std::optional<Volume> &volume, const QString &asked)
{
    if (!volume)
        throw LirabelError(QStringLiteral("Kein Laufwerk für %1").arg(asked));
    for (int i = 0; i < mVolumes.size(); ++i) {
        if (mVolumes.at(i).mountPoint == volume->mountPoint) {
            setCurrentIndex(i); // raises driveChanged when the drive changes
            return;
        }
    }
    throw LirabelError(QStringLiteral("Laufwerk nicht bereit: %1").arg(volume->driveText()));
}

void DriveComboBox::showDrive(const QString &path)
{
    const QSignalBlocker blocker(this);
    if (const std::optional<Volume> volume = volumeFor(mVolumes, path)) {
        for (int i = 0; i < mVolumes.size(); ++i) {
            if (mVolumes.at(i).mountPoint == volume->mountPoint)
                setCurrentIndex(i);
        }
    }
}

void DriveComboBox::followMounts()
{
    refreshVolumes();
    const int index = currentIndex();
    if (index < 0 || index >= mVolumes.size())
        return;
    const QString current = mVolumes.at(index).mountPoint;
    const QList<Volume> mounted = platform().volumes->mountedVolumes();
    if (std::none_of(mounted.cbegin(), mounted.cend(), [&current](const Volume &v) { return v.mountPoint == current; }))
        Q_EMIT currentDriveGone();
}

void DriveComboBox::refreshVolumes()
{
    const int index = currentIndex();
    const QString current = index >= 0 && index < mVolumes.size() ? mVolumes.at(index).mountPoint : QString();
    QList<Volume> volumes = platform().volumes->mountedVolumes();
    // A drive that went away stays listed while it is the current one, so the
    // drive never changes without a change event.
    if (index >= 0 && index < mVolumes.size()
        && std::none_of(volumes.cbegin(), volumes.cend(),
                        [&current](const Volume &v) { return v.mountPoint == current; }))
        volumes.append(mVolumes.at(index));
    fillItems(volumes, current);
}

void DriveComboBox::fillItems(const QList<Volume> &volumes, const QString &keepMountPoint)
{
    const QSignalBlocker blocker(this);
    mVolumes = volumes;
    clear();
    int keep = -1;
    for (int i = 0; i < volumes.size(); ++i) {
        addItem(volumes.at(i).driveText());
        if (volumes.at(i).mountPoint == keepMountPoint)
            keep = i;
    }
    setCurrentIndex(keep);
}

void DriveComboBox::showPopup()
{
    refreshVolumes();
    QComboBox::showPopup();
}

void DriveComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    // Focus coming back from the drop-down, a message box or another
    // application is no new arrival; the first focus the window gives is.
    const Qt::FocusReason reason = event->reason();
    const bool returning = reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
    if (!returning || !mHadFocus) {
        mHadFocus = true;
        Q_EMIT gotFocus();
    }
}

} // namespace Lirabel
