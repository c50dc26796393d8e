// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// `lirabel --liste --druckdialog`: the list on paper with its columns, after
// the window's font dialog (Liberation Sans 9, sizes 6 to 14) and its German
// print dialog with the printer choice, as the file manager's "Dateiliste
// drucken …" calls it. Errors and folders left out are told in message boxes.

#include "lists/listrequest.h"

class QPrinter;

namespace Lirabel {

// Needs a display. The exit status: 0 printed; 1 nothing printed (cancelled,
// no printer, an error), or printed without a folder that could not be read.
[[nodiscard]] int printListWithDialogs(ListRequest request, int &argc, char **argv);

// The same within a running application, through the platform's dialogs and
// message boxes, on printer, whose queue the print dialog chooses.
[[nodiscard]] int printListAsked(ListRequest request, QPrinter &printer);

} // namespace Lirabel
