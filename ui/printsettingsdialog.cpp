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
    chk_endungen->setText(QStringLiteral("Dateiendungen nicht drucken"));
    layOut({.clientWidth = 4680,
            .clientHeight = 2970,
            .endungen = {960, 240, 2655, 255},
            .nummer = {960, 720, 2655, 255},
            .zeilen = {960, 1800, 1335, 255},
            .zeile = {2400, 1785, 495, 285},
            .label = {3120, 1800, 615, 255},
            .weiter = {1800, 2280, 975, 375}});

    // Top down, from the first check box to the button.
    setTabOrder(chk_endungen, chk_nummer);
    setTabOrder(chk_nummer, chk_zeilen);
    setTabOrder(chk_zeilen, txt_zeile);
    setTabOrder(txt_zeile, cmd_weiter);
    chk_endungen->setFocus(Qt::OtherFocusReason);

    // The font dialog opens on this face and size and accepts 6 to 14 points.
    CommonDialog1.FontName = QStringLiteral("Times New Roman");
    CommonDialog1.FontSize = 6;
    CommonDialog1.Min = 6;
    CommonDialog1.Max = 14;

    connect(cmd_weiter, &QPushButton::clicked, this, &PrintSettingsDialog::cmd_weiter_Click);
}

PrintSettingsDialog::~PrintSettingsDialog() = default;

RunSettings PrintSettingsDialog::runSettings() const
{
    RunSettings settings = SettingsDialog::runSettings();
    settings.readSpacing = [text = txt_zeile->text()](RunState &run) { ReadPrintSpacing(run, text); };
    return settings;
}

void PrintSettingsDialog::cmd_weiter_Click()
{
    printListing(*this);
}

} // namespace Lirabel
