// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The drive list: a combo box over the mounted volumes of platform().volumes.
// Its value is the drive text of the chosen volume. Choosing another drive,
// by hand or in code, raises driveChanged() at once, before the setter
// returns; whether the drive is ready the window asks in the background. A
// focus arrival from the user raises gotFocus(). The list follows the mounts
// as the window tells it (followMounts); when the chosen drive is unmounted
// it stays listed, and currentDriveGone() asks the window to choose another.

#include "core/platform.h"

#include <QComboBox>

#include <optional>

namespace Lirabel {

class DriveComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveComboBox(QWidget *parent = nullptr);
    ~DriveComboBox() override;

    // The drive text of the current drive; empty when no volume is known.
    [[nodiscard]] QString drive() const;
    // Chooses the drive named by a drive text or holding a path. Raises
    // LirabelError, leaving the drive as it was, when no volume holds it.
    void setDrive(const QString &pathOrDriveText);
    // Shows the drive that holds the path, without a change event: the
    // window has read a folder there.
    void showDrive(const QString &path);
    // The same for a drive text only: the listed drive of that text or mount
    // point, never the drive that holds it read as a path.
    void setListedDrive(const QString &driveText);
    // The volume list anew; the current drive stays chosen.
    void refreshVolumes();
    // The same, and currentDriveGone() when the current drive is no longer mounted.
    void followMounts();

    void showPopup() override;

Q_SIGNALS:
    void driveChanged();
    void gotFocus();
    void currentDriveGone();

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    void fillItems(const QList<Volume> &volumes, const QString &keepMountPoint);
    void choose(const std::optional<Volume> &volume, const QString &asked);

    QList<Volume> mVolumes;
    bool mHadFocus = false;
};

} // namespace Lirabel
