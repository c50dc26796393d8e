// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/lirabelerror.h"
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
