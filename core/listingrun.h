// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The listing engine: free functions over the state of one run, which its
// caller owns and passes in, so nothing of a run is kept where another part
// of the program could read it back.
//
// A target (text file, printer, the text list of `--liste`) prepares its
// destination, calls checkEntryLimit() on the entries it lists, then
// runListing(), which reads every entry, shapes it with withoutExtension()
// and numberedEntry() (entryformat.h) in RunState::currentEntry, and hands
// each line to the target's LineTarget. Messages for the user go through
// showErrorBox() (platform.h).

#include "core/entrysource.h"

#include <QString>

#include <functional>

namespace Lirabel {

// Where the lines go: the text file or the printer.
class LineTarget
{
public:
    virtual ~LineTarget() = default;
    virtual void writeLine(const QString &text) = 0;
    virtual void writeBlankLine() = 0;
    virtual void finish() = 0;
};

// Where a run stands. The run sets each field before it reads it, so what an
// earlier run left in it changes nothing.
struct RunState
{
    qsizetype entryIndex = 0;   // 1-based position of the entry being listed
    int lineCounter = 0;        // entries since the last blank line, plus one
    qint32 spacingInterval = 0; // a blank line after every N entries; 0: none
    QString currentEntry;       // the line being formatted
};

// The check boxes of the settings dialog that started the run.
struct RunSettings
{
    bool stripExtensions = false; // chk_endungen
    bool numberEntries = false;   // chk_nummer
    bool blankLines = false;      // chk_zeilen
    // The dialog's spacing reader, called once before the first entry when
    // blankLines is set: it sets the run's spacingInterval, or raises
    // LirabelError for a text that is no number.
    std::function<void(RunState &)> readSpacing;
    // The most entries the run takes; the command line's lists take any number.
    qsizetype entryLimit = 9999; // MaxListEntries
};

inline constexpr qsizetype MaxListEntries = 9999;

// More than MaxListEntries: shows the box and ends the program. Raises
// ProgramEnded should the program end return, so no line is ever produced.
void checkEntryLimit(const EntrySource &source);

// One line per entry, a blank line after every spacingInterval-th entry, then
// finish. An error raised inside leaves the run without finish.
void runListing(RunState &run, const RunSettings &settings, const EntrySource &source, LineTarget &target);

} // namespace Lirabel
