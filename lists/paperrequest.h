// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// How a list on paper (--format pdf, --drucken) is laid out and where it is
// printed. The pages themselves are drawn by the paper layer (paper/), which
// `lirabel` leaves to the window program: it needs the drawing libraries.

#include <QString>

#include <optional>

namespace Lirabel {

struct PaperRequest
{
    std::optional<QString> printer;                         // --drucken: empty for CUPS's default queue; --drucker NAME
    bool askPrinter = false;                                // --druckdialog: font and printer from the window's dialogs
    QString fontFamily = QStringLiteral("Liberation Sans"); // --schrift
    bool fontChosen = false;                                // the family was asked for, so a substitute is named
    qreal fontPoints = 9;                                   // --schriftgroesse, 6 to 14
    bool landscape = false;                                 // --querformat; else only where the columns need it
    bool readableSizes = false;                             // --groessen lesbar: "1,2 MB" instead of "1.234.567"
};

} // namespace Lirabel
