// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "ui/settingsdialog.h"

namespace Lirabel {

// The settings of a print run; "&Weiter" prints.
class PrintSettingsDialog : public SettingsDialog
{
    Q_OBJECT

public:
    PrintSettingsDialog(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent = nullptr);
    ~PrintSettingsDialog() override;

    [[nodiscard]] RunSettings runSettings() const override;

private:
    void print();
};

} // namespace Lirabel
