// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/savesettingsdialog.h"

#include "core/entryformat.h"
#include "ui/savetarget.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace Lirabel {

SaveSettingsDialog::SaveSettingsDialog(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent)
    : SettingsDialog(mainWindow, entries, parent)
{
    setObjectName(QStringLiteral("SaveOptionen"));
    chk_endungen->setText(QStringLiteral("Dateiendungen nicht speichern"));
    layOut({.clientWidth = 4680,
            .clientHeight = 3195,
            .endungen = {1080, 240, 2655, 255},
            .nummer = {1080, 720, 2655, 255},
            .zeilen = {1080, 1800, 1335, 255},
            .zeile = {2520, 1800, 495, 285},
            .label = {3240, 1800, 615, 255},
            .weiter = {1680, 2520, 1335, 495}});

    // Bottom up, from the button to the first check box, so that the space
    // bar at once saves with no options.
    setTabOrder(cmd_weiter, txt_zeile);
    setTabOrder(txt_zeile, chk_zeilen);
    setTabOrder(chk_zeilen, chk_nummer);
    setTabOrder(chk_nummer, chk_endungen);
    cmd_weiter->setFocus(Qt::OtherFocusReason);

    // The longest path the save-file dialog hands back.
    CommonDialog1.MaxFileSize = 260;

    connect(cmd_weiter, &QPushButton::clicked, this, &SaveSettingsDialog::cmd_weiter_Click);
}

SaveSettingsDialog::~SaveSettingsDialog() = default;

RunSettings SaveSettingsDialog::runSettings() const
{
    RunSettings settings = SettingsDialog::runSettings();
    settings.readSpacing = [text = txt_zeile->text()](RunState &run) { ReadSaveSpacing(run, text); };
    return settings;
}

void SaveSettingsDialog::cmd_weiter_Click()
{
    saveListing(*this);
}

} // namespace Lirabel
