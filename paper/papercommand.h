// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// `lirabel --liste --format pdf` and `--drucken`: run by the window program,
// which `lirabel` starts for them, as they need the drawing libraries. No
// window is shown and no display is needed: the pages are drawn on Qt's
// offscreen platform, over ssh and from cron alike, and standard error holds
// the program's own German messages only.

#include "lists/listcommand.h"

class QPrinter;

namespace Lirabel {

// The exit status as runListCommand gives it; 1 with "Kein Drucker
// eingerichtet !" where the queue (CUPS's default without --drucker) is not
// there or no print service answers.
[[nodiscard]] int writeListOnPaper(const ListRequest &request, int &argc, char **argv);

// The writer of a list on paper for runListCommand: a PDF into the list's
// sink, or with --drucken the pages on printer, which must then be given.
[[nodiscard]] PaperWriterMaker paperWriters(QPrinter *printer = nullptr);

// The printer of that queue, CUPS's default for an empty name; nothing where
// there is no such queue or no print service.
[[nodiscard]] std::unique_ptr<QPrinter> printerForQueue(const QString &queue);

} // namespace Lirabel
