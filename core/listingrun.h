// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

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

// The check boxes of the settings dialog that started the run.
struct RunSettings
{
    bool stripExtensions = false; // chk_endungen
    bool numberEntries = false;   // chk_nummer
    bool blankLines = false;      // chk_zeilen
    // The dialog's spacing reader, called once before the first entry when
    // blankLines is set; it raises LirabelError for a text that is no number.
    std::function<void()> readSpacing;
};

inline constexpr qsizetype MaxListEntries = 9999;

// More than MaxListEntries: shows the box and ends the program. Raises
// ProgramEnded should the program end return, so no line is ever produced.
void LimitCheck(const EntrySource &source);

// One line per entry, a blank line after every SpacingInterval-th entry, then
// finish. An error raised inside leaves the run without finish.
void RunListing(const RunSettings &settings, const EntrySource &source, LineTarget &target);

} // namespace Lirabel
