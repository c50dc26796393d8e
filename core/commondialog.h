// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>

namespace Lirabel {

// The common dialog component of a settings dialog: its properties drive the
// save-file, font and printer dialogs of the platform.
class CommonDialog
{
public:
    // Font dialog flags.
    static constexpr int FontScreenAndPrinter = 0x3;
    static constexpr int FontLimitSize = 0x2000;
    // Printer dialog flags.
    static constexpr int PrinterNoPageNumbers = 0x8;
    static constexpr int PrinterDisablePrintToFile = 0x80000;

    int Flags = 0;
    bool CancelError = false;
    QString FileName;
    QString InitDir;
    QString FontName;
    float FontSize = 0;
    int Min = 0;
    int Max = 0;
    int MaxFileSize = 260;

    // Each shows its modal dialog. On Cancel: raises DialogCancelled when
    // CancelError is set, otherwise returns false and leaves the properties as
    // they were. True when the user confirmed.
    bool ShowSave();
    bool ShowFont();
    bool ShowPrinter();

private:
    bool cancelled();
};

} // namespace Lirabel
