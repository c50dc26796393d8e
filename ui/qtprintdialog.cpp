// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/lirabelerror.h"
#include "core/platform.h"
#include "core/standarddialogs.h"
#include "ui/qtdialogs.h"
#include "ui/qtprinter.h"
#include "ui/widgetwindow.h"

#include <QApplication>
#include <QPrintDialog>

namespace Lirabel {

bool QtDialogs::choosePrinter(int flags)
{
    if (!mPrinter)
        throw LirabelError(QStringLiteral("Kein Drucker eingerichtet"));
    // Without a print service Qt's printer is a PDF writer with no file, and
    // its dialog would offer a printer without a name: the user is told at
    // once, and nothing is printed.
    const QPrinter &device = mPrinter->printer();
    if (device.outputFormat() == QPrinter::PdfFormat && device.outputFileName().isEmpty()) {
        platform().messageBox->critical(QStringLiteral("Kein Drucker eingerichtet !"), QStringLiteral("Druckfehler"));
        return false;
    }

    // The queue, copies and paper chosen here stay with the one printer, which
    // prints the next document.
    QPrintDialog dialog(&mPrinter->printer(), windowOnTop());
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, !(flags & StandardDialogs::PrinterNoPageNumbers));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, !(flags & StandardDialogs::PrinterDisablePrintToFile));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace Lirabel
