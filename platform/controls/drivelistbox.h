#pragma once

// The drive list: a combo box over the mounted volumes of platform().volumes.
// Its value is the drive text of the chosen volume. Choosing another drive,
// by hand or in code, raises driveChanged() at once, before the setter
// returns; a focus arrival from the user raises gotFocus().

#include "platform/platform.h"

#include <QComboBox>

namespace Lirabel {

class DriveListBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveListBox(QWidget *parent = nullptr);
    ~DriveListBox() override;

    // The drive text of the current drive; empty when no volume is known.
    [[nodiscard]] QString drive() const;
    // Chooses the drive named by a drive text or holding a path. Raises
    // LirabelError, leaving the drive as it was, when no volume holds it or
    // its mount point cannot be read.
    void setDrive(const QString &pathOrDriveText);
    // The volume list anew; the current drive stays chosen.
    void refreshVolumes();

    void showPopup() override;

Q_SIGNALS:
    void driveChanged();
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    void fillItems(const QList<Volume> &volumes, const QString &keepMountPoint);

    QList<Volume> mVolumes;
    bool mHadFocus = false;
};

} // namespace Lirabel
