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
    mStripExtensionsCheckBox->setText(QStringLiteral("Dateiendungen nicht speichern"));
    layOut({.clientWidth = 4680,
            .clientHeight = 3195,
            .stripExtensions = {1080, 240, 2655, 255},
            .numberEntries = {1080, 720, 2655, 255},
            .blankLines = {1080, 1800, 1335, 255},
            .spacing = {2520, 1800, 495, 285},
            .linesLabel = {3240, 1800, 615, 255},
            .continueButton = {1680, 2520, 1335, 495}});

    // Bottom up, from the button to the first check box, so that the space
    // bar at once saves with no options.
    setTabOrder(mContinueButton, mSpacingEdit);
    setTabOrder(mSpacingEdit, mBlankLinesCheckBox);
    setTabOrder(mBlankLinesCheckBox, mNumberEntriesCheckBox);
    setTabOrder(mNumberEntriesCheckBox, mStripExtensionsCheckBox);
    mContinueButton->setFocus(Qt::OtherFocusReason);

    // The longest path the save-file dialog hands back.
    mStandardDialogs.maxFileNameLength = 260;

    connect(mContinueButton, &QPushButton::clicked, this, &SaveSettingsDialog::save);
}

SaveSettingsDialog::~SaveSettingsDialog() = default;

RunSettings SaveSettingsDialog::runSettings() const
{
    RunSettings settings = SettingsDialog::runSettings();
    settings.readSpacing = [text = mSpacingEdit->text()](RunState &run) { readSaveSpacing(run, text); };
    return settings;
}

void SaveSettingsDialog::save()
{
    saveListing(*this);
}

} // namespace Lirabel
