// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/listingrun.h"

#include "core/entryformat.h"
#include "core/lirabelerror.h"
#include "core/listingstate.h"
#include "core/platform.h"

namespace Lirabel {

void LimitCheck(const EntrySource &source)
{
    if (source.count() <= MaxListEntries)
        return;
    ReportError(QStringLiteral("Mehr als 9999 Files im Verzeichniss nicht möglich"),
                QStringLiteral("Zu viele Files !"));
    platform().program->endProgram();
    throw ProgramEnded();
}

void RunListing(const RunSettings &settings, const EntrySource &source, LineTarget &target)
{
    if (settings.blankLines)
        settings.readSpacing();
    else
        ListingState.SpacingInterval = 0;
    ListingState.LineCounter = 1;

    const qsizetype count = source.count();
    // The target has run the limit check; should it not have, refuse rather
    // than let the entry numbers wrap.
    if (count > MaxListEntries)
        throw LirabelError(QStringLiteral("Mehr als 9999 Files im Verzeichniss nicht möglich"));
    for (qsizetype index = 1; index <= count; ++index) {
        ListingState.EntryIndex = qint16(index);
        ListingState.CurrentEntry = source.entry(index - 1);
        if (settings.stripExtensions)
            StripExtension(ListingState.CurrentEntry);
        if (settings.numberEntries)
            NumberEntry(ListingState.CurrentEntry, ListingState.EntryIndex);
        target.writeLine(ListingState.CurrentEntry);
        if (ListingState.LineCounter > 0 && ListingState.LineCounter == ListingState.SpacingInterval) {
            target.writeBlankLine();
            ListingState.LineCounter = 0;
        }
        ++ListingState.LineCounter;
    }
    target.finish();
}

} // namespace Lirabel
