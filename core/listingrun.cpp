// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/listingrun.h"

#include "core/entryformat.h"
#include "core/lirabelerror.h"
#include "core/platform.h"

namespace Lirabel {

void checkEntryLimit(const EntrySource &source)
{
    if (source.count() <= MaxListEntries)
        return;
    showErrorBox(QStringLiteral("Mehr als 9999 Files im Verzeichniss nicht möglich"),
                 QStringLiteral("Zu viele Files !"));
    platform().program->endProgram();
    throw ProgramEnded();
}

void runListing(RunState &run, const RunSettings &settings, const EntrySource &source, LineTarget &target)
{
    if (settings.blankLines)
        settings.readSpacing(run);
    else
        run.spacingInterval = 0;
    run.lineCounter = 1;

    const qsizetype count = source.count();
    // The window's target has run the limit check; should it not have, refuse
    // rather than let the entry numbers run past four digits.
    if (count > settings.entryLimit)
        throw LirabelError(QStringLiteral("Mehr als 9999 Files im Verzeichniss nicht möglich"));
    for (run.entryIndex = 1; run.entryIndex <= count; ++run.entryIndex) {
        run.currentEntry = source.entry(run.entryIndex - 1);
        if (settings.stripExtensions)
            run.currentEntry = withoutExtension(run.currentEntry);
        if (settings.numberEntries)
            run.currentEntry = numberedEntry(run.currentEntry, int(run.entryIndex));
        target.writeLine(run.currentEntry);
        if (run.lineCounter > 0 && run.lineCounter == run.spacingInterval) {
            target.writeBlankLine();
            run.lineCounter = 0;
        }
        ++run.lineCounter;
    }
    target.finish();
}

} // namespace Lirabel
