// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "output/settingsdialog.h"

namespace Lirabel {

// The settings of a save run; "&Weiter" saves the listing as a text file.
class SaveOptionen : public SettingsDialog
{
    Q_OBJECT

public:
    SaveOptionen(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent = nullptr);
    ~SaveOptionen() override;

    [[nodiscard]] RunSettings runSettings() const override;

private:
    void cmd_weiter_Click();
};

} // namespace Lirabel
