// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// `lirabel`: the command line, its help and version, and the lists without
// the window; everything else is the window program's, lists on paper too,
// which need the drawing libraries.

#include "cli/clipboardlist.h"
#include "cli/commandline.h"
#include "cli/largepages.h"
#include "cli/windowprogram.h"
#include "fs/deadlinecall.h"
#include "lists/listcommand.h"

int main(int argc, char *argv[])
{
    const Lirabel::CommandLine commandLine = Lirabel::readCommandLine(argc, argv);
    if (commandLine.exitCode)
        return *commandLine.exitCode;
    if (commandLine.list && commandLine.list->toClipboard) {
        switch (Lirabel::clipboardSession()) {
        case Lirabel::ClipboardSession::None:
            return Lirabel::noClipboard();
        case Lirabel::ClipboardSession::Wayland:
            return Lirabel::leaveWithoutWindow(Lirabel::copyListWithWlCopy(*commandLine.list));
        case Lirabel::ClipboardSession::X11:
            return Lirabel::startWindowProgram(argv); // it holds the clipboard
        }
    }
    if (commandLine.list && !commandLine.list->askForFile && commandLine.list->format != Lirabel::ListFormat::Pdf) {
        if (!commandLine.list->subfolders && !Lirabel::readsFileContents(*commandLine.list))
            Lirabel::preferLargePages();
        return Lirabel::leaveWithoutWindow(Lirabel::runListCommand(*commandLine.list));
    }
    return Lirabel::startWindowProgram(argv);
}
