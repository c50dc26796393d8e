// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "ui/settingsdialog.h"

namespace Lirabel {

// The settings of a save run; "&Weiter" saves the listing as a text file.
class SaveSettingsDialog : public SettingsDialog
{
    Q_OBJECT

public:
    SaveSettingsDialog(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent = nullptr);
    ~SaveSettingsDialog() override;

    [[nodiscard]] RunSettings runSettings() const override;

private:
    void save();
};

} // namespace Lirabel
