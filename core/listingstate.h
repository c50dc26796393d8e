// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The listing engine: free functions over one module-level state.
//
// A target (text file or printer) prepares its destination, calls
// LimitCheck() on the main window's file list, then RunListing(), which reads
// every entry, shapes it with StripExtension() and NumberEntry()
// (entryformat.h) in CurrentEntry, and hands each line to the target's
// LineTarget. Errors for the user go through ShowErrorBox().

#include <QString>
#include <QtGlobal>

namespace Lirabel {

struct ListingStateVariables
{
    qint16 EntryIndex = 0;  // 1-based position of the entry in the run
    int ScanPosition = 0;   // where StripExtension's last scan stopped; 0: no dot
    int LineCounter = 0;    // entries since the last blank line, plus one
    QString OutputFileName; // path of the text file of a save run
    qint16 OutputFileNumber = 0;
    qint32 SpacingInterval = 0; // blank line after every N entries; 0: none
    QString CurrentEntry;       // the line being formatted
    QString NumberPrefix;       // the prefix NumberEntry built last
    QString LastGoodDrive;      // drive text when the drive list last got the focus
    QString MessageText;        // text and title of the error box about to be shown
    QString MessageTitle;
};

// Lives as long as the program and is never reset as a whole.
extern ListingStateVariables ListingState;

// Modal box with the critical icon and one OK button; returns when it is closed.
void ShowErrorBox(const QString &text, const QString &title);

// How every message reaches the user: text and title go into MessageText and
// MessageTitle, which are then handed to ShowErrorBox.
void ReportError(const QString &text, const QString &title);

} // namespace Lirabel
