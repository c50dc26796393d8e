// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// `lirabel --liste --speichern`: the list written to a file the user chooses
// in the program's save-file dialog, as the file manager's context menu calls
// it. The dialog proposes the folder's name with the format's extension, in
// the folder where it may be written, in the documents folder otherwise. The
// list goes through the writer of `--ausgabe`, so the file is written whole or
// not at all; what went wrong, and the folders left out, are told in message
// boxes instead of on standard error.

#include "lists/listrequest.h"

namespace Lirabel {

// Needs a display. The exit status: 0 saved; 1 nothing saved (cancelled, or
// an error), or saved without a folder or file that could not be read.
[[nodiscard]] int saveListWithDialog(ListRequest request, int &argc, char **argv);

// The same within a running application, through the platform's dialogs and
// message boxes; the exit status as above.
[[nodiscard]] int saveListAsked(ListRequest request);

// The name the dialog proposes: the folder's own name, "DateiListe" for the
// root folder, with the format's extension.
[[nodiscard]] QString proposedListName(const QString &absoluteFolder, ListFormat format);

// The format's extension (".txt", ".csv", ".html", ".m3u" or ".pdf").
[[nodiscard]] QString listExtension(ListFormat format);

// A display to open a dialog on: without one Qt ends the program with an
// English message of its own.
[[nodiscard]] bool hasDisplay(int argc, char **argv);

} // namespace Lirabel
