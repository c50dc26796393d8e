// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"
#include "app/commandline/commandline.h"
#include "app/listsave.h"
#include "app/printdir.h"
#include "output/lists/listcommand.h"
#include "platform/files/deadlinecall.h"
#include "platform/qt/qtplatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    const Lirabel::CommandLine commandLine = Lirabel::readCommandLine(argc, argv);
    if (commandLine.exitCode)
        return *commandLine.exitCode;
    if (commandLine.list && commandLine.list->askForFile)
        return Lirabel::saveListWithDialog(*commandLine.list, argc, argv);
    if (commandLine.list)
        return Lirabel::leaveWithoutWindow(Lirabel::runListCommand(*commandLine.list));
    QApplication app(argc, argv);
    Lirabel::setUpApplication(app);
    Lirabel::QtPlatform platform;
    Lirabel::PrintDir window(commandLine.folder);
    window.showWindow();
    return Lirabel::leaveProgram(app.exec());
}
