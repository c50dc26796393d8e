// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "output/settingsdialog.h"

namespace Lirabel {

// The settings of a print run; "&Weiter" prints.
class PrintOptionen : public SettingsDialog
{
    Q_OBJECT

public:
    PrintOptionen(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent = nullptr);
    ~PrintOptionen() override;

    [[nodiscard]] RunSettings runSettings() const override;

private:
    void cmd_weiter_Click();
};

} // namespace Lirabel
