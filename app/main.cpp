// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"
#include "app/clipboardholder.h"
#include "app/listprint.h"
#include "app/listsave.h"
#include "app/mainwindow.h"
#include "cli/commandline.h"
#include "fs/deadlinecall.h"
#include "lists/listcommand.h"
#include "paper/papercommand.h"
#include "ui/qtplatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    const Lirabel::CommandLine commandLine = Lirabel::readCommandLine(argc, argv);
    if (commandLine.exitCode)
        return *commandLine.exitCode;
    if (commandLine.list && commandLine.list->toClipboard)
        return Lirabel::holdListInClipboard(*commandLine.list, argc, argv);
    if (commandLine.list && commandLine.list->askForFile)
        return Lirabel::saveListWithDialog(*commandLine.list, argc, argv);
    if (commandLine.list && commandLine.list->paper.askPrinter)
        return Lirabel::printListWithDialogs(*commandLine.list, argc, argv);
    if (commandLine.list && commandLine.list->format == Lirabel::ListFormat::Pdf)
        return Lirabel::writeListOnPaper(*commandLine.list, argc, argv);
    if (commandLine.list)
        return Lirabel::leaveWithoutWindow(Lirabel::runListCommand(*commandLine.list));
    QApplication app(argc, argv);
    Lirabel::setUpApplication(app);
    Lirabel::QtPlatform platform;
    Lirabel::MainWindow window(commandLine.folder);
    window.showWindow();
    return Lirabel::leaveProgram(app.exec());
}
