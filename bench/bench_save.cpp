// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Save run: 9999 entries with every option (extensions left out, numbered, a
// blank line after every fifth) written through the real save path: the save
// settings dialog's "&Weiter", the save target, the listing run and the
// atomic text files, with the file name answered by the stand-in save-file
// dialog. Next to `ls -1 > file` on the same folder.
//
//   bench_save ROUNDS FOLDER WORKDIR

#include "bench/benchsupport.h"
#include "bench/readinto.h"
#include "standins.h"
#include "ui/filelistmodel.h"
#include "ui/savesettingsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

using namespace Lirabel;
using namespace LirabelBench;

namespace {

constexpr double GoalRatio = 2.0;

// One save run, from "&Weiter" to the file closed.
double saveRun(StandInPlatform &platform, const FileListModel &list, const QString &target)
{
    QFile::remove(target);
    StandInWindow mainWindow;
    auto *dialog = new SaveSettingsDialog(mainWindow, list);
    dialog->findChild<QCheckBox *>(QStringLiteral("chk_endungen"))->setChecked(true);
    dialog->findChild<QCheckBox *>(QStringLiteral("chk_nummer"))->setChecked(true);
    dialog->findChild<QCheckBox *>(QStringLiteral("chk_zeilen"))->setChecked(true);
    dialog->findChild<QLineEdit *>(QStringLiteral("txt_zeile"))->setText(QStringLiteral("5"));
    platform.dialogs.saveAnswers.enqueue(target);
    QPushButton *weiter = dialog->findChild<QPushButton *>(QStringLiteral("cmd_weiter"));

    const auto start = std::chrono::steady_clock::now();
    weiter->click();
    const double ms = msSince(start);

    if (!platform.messageBox.shown.isEmpty() || !mainWindow.visible)
        throw std::runtime_error("the save run did not end as it should");
    // The dialog deletes itself when closed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

double lsToFile(const QString &folder, const QString &target)
{
    QFile::remove(target);
    return runChild({"ls", "-1", QFile::encodeName(folder).toStdString()}, {}, QFile::encodeName(target).toStdString())
        .ms;
}

qsizetype lineCount(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return f.readAll().count('\n');
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: bench_save ROUNDS FOLDER WORKDIR\n");
        return 2;
    }
    const int rounds = std::max(1, args.at(1).toInt());
    const QString folder = args.at(2);
    const QDir work(args.at(3));
    const QString saved = work.filePath(QStringLiteral("DateiListe.txt"));
    const QString listed = work.filePath(QStringLiteral("ls.txt"));

    StandInPlatform platform;
    FileListModel list;
    readInto(list, folder);

    const auto [program, reference] = alternate(
        rounds, [&] { return saveRun(platform, list, saved); }, [&] { return lsToFile(folder, listed); });
    const double ratio = program / reference;
    printRow("Save run, " + std::to_string(list.count()) + " entries, all options", fixed(program, 1) + " ms",
             "`ls -1 > file` " + fixed(reference, 1) + " ms", fixed(ratio, 2) + "×", "≤ " + fixed(GoalRatio, 1) + "×",
             ratio <= GoalRatio);

    // The same with the folder read first, as when it is chosen just before saving.
    const auto [both, reference2] = alternate(
        rounds,
        [&] {
            const auto start = std::chrono::steady_clock::now();
            FileListModel fresh;
            readInto(fresh, folder);
            const double read = msSince(start);
            return read + saveRun(platform, fresh, saved);
        },
        [&] { return lsToFile(folder, listed); });
    printInfoRow("Folder read and save run, " + std::to_string(list.count()) + " entries", fixed(both, 1) + " ms",
                 "`ls -1 > file` " + fixed(reference2, 1) + " ms", fixed(both / reference2, 2) + "×");

    printNote("The save run wrote " + std::to_string(QFileInfo(saved).size()) + " bytes in "
              + std::to_string(lineCount(saved)) + " lines (`ls -1`: " + std::to_string(lineCount(listed))
              + " lines).");
    return 0;
}
