// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>

namespace Lirabel {

// The save-file, font and printer dialogs of a settings dialog, with what
// they open on and what the user chose in them. The dialogs themselves are
// the platform's (platform().dialogs).
class StandardDialogs
{
public:
    // Font dialog flags.
    static constexpr int FontScreenAndPrinter = 0x3;
    static constexpr int FontLimitSize = 0x2000;
    // Printer dialog flags.
    static constexpr int PrinterNoPageNumbers = 0x8;
    static constexpr int PrinterDisablePrintToFile = 0x80000;

    int flags = 0;
    bool raiseOnCancel = false;
    QString fileName;
    QString initialFolder;
    QString fontName;
    float fontSize = 0;
    int minFontSize = 0;
    int maxFontSize = 0;
    int maxFileNameLength = 260;

    // Each shows its modal dialog. On Cancel: raises DialogCancelled when
    // raiseOnCancel is set, otherwise returns false and leaves the values as
    // they were. True when the user confirmed.
    bool showSaveDialog();
    bool showFontDialog();
    bool showPrinterDialog();

private:
    bool cancelled();
};

} // namespace Lirabel
