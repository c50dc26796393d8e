// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/printsettingsdialog.h"

#include "core/entryformat.h"
#include "ui/printtarget.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace Lirabel {

PrintSettingsDialog::PrintSettingsDialog(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent)
    : SettingsDialog(mainWindow, entries, parent)
{
    setObjectName(QStringLiteral("PrintOptionen"));
    mStripExtensionsCheckBox->setText(QStringLiteral("Dateiendungen nicht drucken"));
    layOut({.clientWidth = 4680,
            .clientHeight = 2970,
            .stripExtensions = {960, 240, 2655, 255},
            .numberEntries = {960, 720, 2655, 255},
            .blankLines = {960, 1800, 1335, 255},
            .spacing = {2400, 1785, 495, 285},
            .linesLabel = {3120, 1800, 615, 255},
            .continueButton = {1800, 2280, 975, 375}});

    // Top down, from the first check box to the button.
    setTabOrder(mStripExtensionsCheckBox, mNumberEntriesCheckBox);
    setTabOrder(mNumberEntriesCheckBox, mBlankLinesCheckBox);
    setTabOrder(mBlankLinesCheckBox, mSpacingEdit);
    setTabOrder(mSpacingEdit, mContinueButton);
    mStripExtensionsCheckBox->setFocus(Qt::OtherFocusReason);

    // The font dialog opens on this face and size and accepts 6 to 14 points.
    mStandardDialogs.fontName = QStringLiteral("Times New Roman");
    mStandardDialogs.fontSize = 6;
    mStandardDialogs.minFontSize = 6;
    mStandardDialogs.maxFontSize = 14;

    connect(mContinueButton, &QPushButton::clicked, this, &PrintSettingsDialog::print);
}

PrintSettingsDialog::~PrintSettingsDialog() = default;

RunSettings PrintSettingsDialog::runSettings() const
{
    RunSettings settings = SettingsDialog::runSettings();
    settings.readSpacing = [text = mSpacingEdit->text()](RunState &run) { readPrintSpacing(run, text); };
    return settings;
}

void PrintSettingsDialog::print()
{
    printListing(*this);
}

} // namespace Lirabel
