// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/printtarget.h"

#include "core/lirabelerror.h"
#include "core/listingrun.h"
#include "core/platform.h"
#include "ui/printsettingsdialog.h"

namespace Lirabel {

namespace {

// The run's lines go to the printer. Remembers whether a document is under
// way, so that the abandon path can drop it.
class PrinterLines : public LineTarget
{
public:
    explicit PrinterLines(PrinterService &printer)
        : mPrinter(printer)
    {
    }

    void writeLine(const QString &text) override
    {
        mStarted = true;
        mPrinter.printLine(text);
    }

    void writeBlankLine() override
    {
        mStarted = true;
        mPrinter.printBlankLine();
    }

    void finish() override
    {
        mStarted = true;
        mPrinter.endDoc();
        mStarted = false;
    }

    [[nodiscard]] bool documentStarted() const { return mStarted; }

private:
    PrinterService &mPrinter;
    bool mStarted = false;
};

} // namespace

void printListing(PrintSettingsDialog &dialog)
{
    // A spacing text that is no number is refused here, with the dialog still open.
    if (!dialog.spacingTextAccepted())
        return;

    ProgramWindow &mainWindow = dialog.mainWindow();
    PrinterService &printer = *platform().printer;
    PrinterLines lines(printer);

    dialog.hideWindow();
    dialog.standardDialogs().flags = StandardDialogs::FontLimitSize | StandardDialogs::FontScreenAndPrinter; // 8195
    dialog.standardDialogs().raiseOnCancel = true;
    try {
        dialog.standardDialogs().showFontDialog();
        dialog.standardDialogs().flags =
            StandardDialogs::PrinterDisablePrintToFile | StandardDialogs::PrinterNoPageNumbers; // 524296
        dialog.standardDialogs().showPrinterDialog();
        printer.setFontName(dialog.standardDialogs().fontName);
        printer.setFontSize(dialog.standardDialogs().fontSize);
        try {
            checkEntryLimit(dialog.entries());
        } catch (const ProgramEnded &) {
            return;
        }
        RunState run;
        runListing(run, dialog.runSettings(), dialog.entries(), lines);
    } catch (const DialogCancelled &) {
        if (lines.documentStarted())
            printer.abortDoc();
    } catch (const LirabelError &) {
        // Whatever was already printed is dropped with the job, not left half
        // done in the queue.
        if (lines.documentStarted())
            printer.abortDoc();
        showErrorBox(QStringLiteral("Drucken nicht möglich !"), QStringLiteral("Druckfehler"));
    }
    dialog.unloadWindow();
    mainWindow.setWindowVisible(true);
}

} // namespace Lirabel
