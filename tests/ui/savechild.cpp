// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// A save run in a process of its own, for failures a test cannot bring about
// in its own process: a file-size limit (the disk fills up during the save)
// or a user who may not write to the folder (the tests run as root, and
// permissions do not stop root).
//
//   save_child fsize|nobody <folder to list> <first target> <second target>
//
// Lists the folder in the main window, saves it from there to the first
// target under the restriction, then lifts the file-size limit (space freed)
// and saves again to the second target. Reports on standard output, one line
// each: "box<TAB>title<TAB>text" for every message box (line breaks in the
// text as "\n") and "visible<TAB>0|1" after each save. Exit code 77 when the
// restriction cannot be set up.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "standins.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QPushButton>
#include <QTextStream>

#include <csignal>
#include <cstdio>

#include <grp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Lirabel;

namespace {

constexpr rlim_t FileSizeLimit = 64 * 1024;
constexpr uid_t Nobody = 65534;

void saveOnce(MainWindow &main, StandInPlatform &stand, const QString &target, QTextStream &report)
{
    const qsizetype boxesBefore = stand.messageBox.shown.size();
    stand.dialogs.saveAnswers.enqueue(target);
    child<QPushButton>(main, "cmd_save")->click();
    auto *dialog = visibleTopLevel<SaveSettingsDialog>();
    if (!dialog)
        qFatal("no save dialog");
    child<QPushButton>(*dialog, "cmd_weiter")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (qsizetype i = boxesBefore; i < stand.messageBox.shown.size(); ++i) {
        const auto &box = stand.messageBox.shown.at(i);
        report << "box\t" << box.title << '\t' << QString(box.text).replace(u'\n', QStringLiteral("\\n")) << '\n';
    }
    report << "visible\t" << (main.isVisible() ? 1 : 0) << '\n';
    report.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5) {
        std::fputs("usage: save_child fsize|nobody <folder> <first target> <second target>\n", stderr);
        return 2;
    }
    const QString mode = args.at(1);

    if (mode == QLatin1String("fsize")) {
        // Writing past the limit fails with EFBIG instead of killing the process.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = FileSizeLimit;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            std::perror("setrlimit");
            return 77;
        }
    } else if (mode == QLatin1String("nobody")) {
        if (geteuid() == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0) {
                std::perror("setuid nobody");
                return 77;
            }
            // Changing the user makes the process undumpable, which would
            // keep the leak checker of a sanitizer build from inspecting it.
            prctl(PR_SET_DUMPABLE, 1);
        }
    } else {
        return 2;
    }

    StandInPlatform stand;
    stand.volumes.volumes = {Volume{args.at(2), QString()}};
    stand.program.folder = args.at(2);
    MainWindow main;
    main.showWindow();
    if (!settled(main))
        return 2;
    QTextStream report(stdout);
    report << "entries\t" << main.fileList().count() << '\n';

    saveOnce(main, stand, args.at(3), report);

    if (mode == QLatin1String("fsize")) {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    saveOnce(main, stand, args.at(4), report);
    return 0;
}
