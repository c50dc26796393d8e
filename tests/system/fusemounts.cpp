// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Drives the main window over real mounts for fuse_mounts_test.sh: the real
// volume list, drive checks, folder reads and program end; only the message
// box (timed) and the save-file dialog are answered here. One check per run:
//
//   fusemounts drive MOUNT            choosing a drive that does not answer
//   fusemounts folder MOUNT NAME OUT  opening a folder NAME of MOUNT that does not answer
//   fusemounts close-waiting MOUNT    closing while the drive check waits
//   fusemounts close-after MOUNT      closing after the check gave up on its thread
//   fusemounts follow MOUNT MOUNT_CMD UNMOUNT_CMD
//                                     the drive list while MOUNT is mounted and unmounted
//   fusemounts pending SLOW_MOUNT FOLDER MARKER OUT
//                                     a folder opened while another is pending; a
//                                     re-read that misses the deadline, then a save
//   fusemounts save-beside DIALOG_FOLDER FOLDER OUT
//                                     the real save-file dialog over a folder that holds a
//                                     mount that does not answer; OUT is in that folder
//
// Prints "ok: ..." and "FAIL: ..." lines, then "result: pass" or "result: fail".
// The close modes end through the program's own end and print "closing" first.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "standins.h"
#include "ui/drivecombobox.h"
#include "ui/filelistview.h"
#include "ui/folderlistview.h"
#include "ui/qtplatform.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdio>

using namespace Lirabel;

namespace {

QElapsedTimer gClock; // since the start of main()
int gFailures = 0;

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void check(bool held, const QString &what)
{
    say(QStringLiteral("%1: %2").arg(held ? QStringLiteral("ok") : QStringLiteral("FAIL"), what));
    if (!held)
        ++gFailures;
}

class TimedMessages : public StandInMessageBox
{
public:
    QList<qint64> at;

    int critical(const QString &text, const QString &title) override
    {
        at.append(gClock.elapsed());
        return StandInMessageBox::critical(text, title);
    }
};

bool runShell(const QString &command)
{
    return QProcess::execute(QStringLiteral("bash"), {QStringLiteral("-c"), command}) == 0;
}

// Installs services for its lifetime, ahead of the window built after it.
struct Installed
{
    explicit Installed(const Platform &services) { installPlatform(services); }
};

StandInProgram programIn(const QString &folder)
{
    StandInProgram program;
    program.folder = folder;
    return program;
}

// The window over the program's real services, but for the message box and
// the save-file dialog; with a dialog folder, over the real dialog that
// opens there.
struct Scene
{
    QtPlatform real;
    TimedMessages messages;
    StandInDialogs dialogs;
    StandInProgram program;
    Installed installed;
    MainWindow window;

    explicit Scene(const QString &dialogFolder = QString())
        : program(programIn(dialogFolder))
        , installed({&messages, dialogFolder.isEmpty() ? static_cast<ProgramService *>(&real.program) : &program,
                     &real.volumes, dialogFolder.isEmpty() ? static_cast<DialogService *>(&dialogs) : &real.dialogs,
                     &real.printer, &real.textFiles})
    {
        window.showWindow();
        check(QTest::qWaitForWindowActive(&window), QStringLiteral("the window is shown"));
        settle();
    }
    // Waits for the window's reads to answer.
    void settle() const { check(settled(window), QStringLiteral("the window's reads answer")); }
    DriveComboBox *drive1() const { return child<DriveComboBox>(window, "Drive1"); }
    FolderListView *dir1() const { return child<FolderListView>(window, "Dir1"); }
    QStringList shown() const { return entriesOf(window.fileList()); }

    int driveRow(const QString &mountPoint) const
    {
        for (int i = 0; i < drive1()->count(); ++i) {
            const QString text = drive1()->itemText(i);
            if (text == mountPoint || text.startsWith(mountPoint + QStringLiteral(" [")))
                return i;
        }
        return -1;
    }

    bool oneMessage(const QString &text, const QString &title) const
    {
        return messages.shown.size() == 1 && messages.shown.first().text == text
            && messages.shown.first().title == title;
    }
};

int threadsNow()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

int chooseDeadDrive(const QString &mount)
{
    Scene scene;
    const QString drive = scene.drive1()->drive();
    const QString folder = scene.dir1()->path();
    const QStringList files = scene.shown();
    const int row = scene.driveRow(mount);
    check(row >= 0, QStringLiteral("%1 is in the drive list under its mount point").arg(mount));
    check(scene.window.fallBackDrive() == drive, QStringLiteral("the start drive %1 is remembered").arg(drive));

    // Chosen and at once overtaken by the drive it came from: no message.
    scene.drive1()->setCurrentIndex(row);
    QTest::qWait(300);
    scene.drive1()->setCurrentIndex(scene.driveRow(drive.section(QLatin1Char(' '), 0, 0)));
    scene.settle();
    QTest::qWait(2500);
    check(scene.messages.shown.isEmpty() && scene.drive1()->drive() == drive && scene.dir1()->path() == folder,
          QStringLiteral("a drive choice overtaken by another brings no message"));

    const qint64 chosen = gClock.elapsed();
    scene.drive1()->setCurrentIndex(row);
    scene.settle();
    check(scene.oneMessage(QStringLiteral("Laufwerk nicht bereit !"), QStringLiteral("Laufwerksfehler")),
          QStringLiteral("one message \"Laufwerk nicht bereit !\" / \"Laufwerksfehler\""));
    if (!scene.messages.at.isEmpty()) {
        const qint64 after = scene.messages.at.first() - chosen;
        check(after < 3000, QStringLiteral("the message came %1 ms after the drive was chosen").arg(after));
    }
    check(scene.drive1()->drive() == drive && scene.dir1()->path() == folder && scene.shown() == files,
          QStringLiteral("back on %1 in %2, its files listed").arg(drive, folder));

    // Chosen again and again, the dead drive costs no new thread.
    const int threads = threadsNow();
    for (int i = 0; i < 10; ++i) {
        scene.drive1()->setCurrentIndex(row);
        scene.settle();
    }
    check(scene.messages.shown.size() == 11 && threadsNow() <= threads + 3,
          QStringLiteral("ten more choices: %1 messages, %2 threads after %3")
              .arg(scene.messages.shown.size())
              .arg(threadsNow())
              .arg(threads));
    return gFailures == 0 ? 0 : 1;
}

int openDeadFolder(const QString &mount, const QString &name, const QString &out)
{
    Scene scene;
    scene.drive1()->setCurrentIndex(scene.driveRow(mount));
    scene.settle();
    const QStringList files = scene.shown();
    check(scene.dir1()->path() == mount && scene.messages.shown.isEmpty() && !files.isEmpty(),
          QStringLiteral("%1 opens, listing %2").arg(mount, files.join(QStringLiteral(", "))));
    const QStringList rows = rowsOf(*scene.dir1());
    scene.dir1()->setCurrentIndex(scene.dir1()->model()->index(int(rows.indexOf(name)), 0));

    // While the folder is pending: timers run, and a click on an output
    // button is taken, to run once the read has answered, on the list then.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&ticks] { ++ticks; });
    ticker.start(100);
    bool outputOpenedAtOnce = true;
    scene.dialogs.saveAnswers.enqueue(out);
    QTimer::singleShot(500, &scene.window, [&scene, &outputOpenedAtOnce] {
        QTest::mouseClick(child<QPushButton>(scene.window, "cmd_save"), Qt::LeftButton);
        outputOpenedAtOnce = visibleTopLevel<SaveSettingsDialog>() != nullptr;
    });
    const qint64 chosen = gClock.elapsed();
    QTest::keyClick(scene.dir1(), Qt::Key_Return);
    scene.settle();
    ticker.stop();

    check(scene.oneMessage(QStringLiteral("Verzeichnis nicht lesbar !"), QStringLiteral("Verzeichnisfehler")),
          QStringLiteral("one message \"Verzeichnis nicht lesbar !\" / \"Verzeichnisfehler\""));
    if (!scene.messages.at.isEmpty()) {
        const qint64 after = scene.messages.at.first() - chosen;
        check(after < 3000, QStringLiteral("the message came %1 ms after the folder was opened").arg(after));
    }
    check(ticks > 0,
          QStringLiteral("the window's events ran while the folder was pending (%1 timer ticks)").arg(ticks));
    check(scene.dir1()->path() == mount && rowsOf(*scene.dir1()) == rows && scene.shown() == files,
          QStringLiteral("both lists stay as they were"));

    // The click waited for the read; the listing is what the file list shows.
    auto *settings = visibleTopLevel<SaveSettingsDialog>();
    check(!outputOpenedAtOnce && settings,
          QStringLiteral("\"Als Textdatei Speichern\" clicked while pending opens its settings after the read"));
    if (settings)
        QTest::mouseClick(child<QPushButton>(*settings, "cmd_weiter"), Qt::LeftButton);
    const QByteArray expected = files.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    check(contents(out) == expected, QStringLiteral("the saved listing is what the file list shows"));
    return gFailures == 0 ? 0 : 1;
}

// Ends through the program's own end; the script times it from "closing".
int closeWhileHung(QApplication &app, const QString &mount, bool whileWaiting)
{
    Scene scene;
    const int row = scene.driveRow(mount);
    const auto close = [&scene] {
        say(QStringLiteral("closing"));
        scene.window.close();
    };
    QTimer::singleShot(0, &scene.window, [&scene, row, whileWaiting, close] {
        if (whileWaiting)
            QTimer::singleShot(500, &scene.window, close);
        scene.drive1()->setCurrentIndex(row); // read in the background
        if (!whileWaiting)
            close();
    });
    return leaveProgram(app.exec());
}

int followMounts(const QString &mount, const QString &mountCommand, const QString &unmountCommand)
{
    Scene scene;
    scene.window.openFolder(QFile::encodeName(QFileInfo(mount).path()));
    scene.settle();
    const QString drive = scene.drive1()->drive();
    const QString folder = scene.dir1()->path();
    check(scene.driveRow(mount) < 0, QStringLiteral("%1 is not listed before it is mounted").arg(mount));

    qint64 started = gClock.elapsed();
    check(runShell(mountCommand), QStringLiteral("mounted: %1").arg(mountCommand));
    const bool appeared = QTest::qWaitFor([&scene, &mount] { return scene.driveRow(mount) >= 0; }, 10000);
    check(appeared,
          QStringLiteral("%1 appears in the drive list %2 ms after the mount command")
              .arg(mount)
              .arg(gClock.elapsed() - started));
    if (!appeared)
        return 1;
    // Opened from the folder list, it becomes the chosen drive as well.
    const QStringList rows = rowsOf(*scene.dir1());
    scene.dir1()->setCurrentIndex(scene.dir1()->model()->index(int(rows.indexOf(QFileInfo(mount).fileName())), 0));
    QTest::keyClick(scene.dir1(), Qt::Key_Return);
    scene.settle();
    check(scene.dir1()->path() == mount && scene.shown() == QStringList{QStringLiteral("liesmich.txt")}
              && scene.drive1()->drive().startsWith(mount),
          QStringLiteral("opened in the folder list, it lists its files, and the drive list shows it"));

    started = gClock.elapsed();
    check(runShell(unmountCommand), QStringLiteral("unmounted: %1").arg(unmountCommand));
    const bool gone = QTest::qWaitFor(
        [&scene, &mount, &drive] { return scene.driveRow(mount) < 0 && scene.drive1()->drive() == drive; }, 10000);
    check(gone,
          QStringLiteral("%1 leaves the drive list %2 ms after the unmount command, the list back on %3")
              .arg(mount)
              .arg(gClock.elapsed() - started)
              .arg(drive));
    scene.settle();
    check(scene.oneMessage(QStringLiteral("Laufwerk nicht bereit !"), QStringLiteral("Laufwerksfehler")),
          QStringLiteral("one message \"Laufwerk nicht bereit !\" for the drive that went"));
    check(scene.dir1()->path() == folder && child<FileListView>(scene.window, "File1")->path() == folder,
          QStringLiteral("the lists show %1 again").arg(folder));
    return gFailures == 0 ? 0 : 1;
}

// What the file list shows after a folder is opened while another is still
// being read; then a filter whose read misses the deadline, and a save.
int pendingReads(const QString &mount, const QString &folder, const QString &marker, const QString &out)
{
    Scene scene;
    QTimer::singleShot(300, &scene.window, [&scene, &folder] { scene.window.openFolder(QFile::encodeName(folder)); });
    scene.window.openFolder(QFile::encodeName(mount + QStringLiteral("/langsam")));
    scene.settle();
    const QStringList expected{QStringLiteral("a.mp3"), QStringLiteral("b.mp3")};
    check(scene.dir1()->path() == folder && scene.shown() == expected && scene.messages.shown.isEmpty(),
          QStringLiteral("the folder opened last is listed (%1), its link into a mount that hangs left out")
              .arg(scene.shown().join(QStringLiteral(", "))));

    // Keys typed while the slow folder loads reach the filter box, and the
    // pattern applies to that folder.
    QTest::mouseClick(child<QRadioButton>(scene.window, "opt_eigene"), Qt::LeftButton);
    scene.window.openFolder(QFile::encodeName(mount + QStringLiteral("/langsam")));
    auto *text = child<QLineEdit>(scene.window, "txt_eigene");
    QTest::keyClicks(text, QStringLiteral("mp3"));
    scene.settle();
    check(text->text() == QStringLiteral("mp3") && scene.shown() == QStringList{QStringLiteral("titel.mp3")},
          QStringLiteral("keys typed while the folder loads are taken, their pattern applies to it (%1)")
              .arg(scene.shown().join(QStringLiteral(", "))));
    QFile(marker).open(QIODevice::WriteOnly);
    QTest::mouseClick(child<QRadioButton>(scene.window, "opt_mp3"), Qt::LeftButton);
    scene.settle();
    check(scene.oneMessage(QStringLiteral("Verzeichnis nicht lesbar !"), QStringLiteral("Verzeichnisfehler")),
          QStringLiteral("a re-read that misses the deadline says \"Verzeichnis nicht lesbar !\""));
    scene.dialogs.saveAnswers.enqueue(out);
    QTest::mouseClick(child<QPushButton>(scene.window, "cmd_save"), Qt::LeftButton);
    check(!visibleTopLevel<SaveSettingsDialog>() && !QFile::exists(out) && scene.messages.shown.size() == 2,
          QStringLiteral("a save then writes nothing and says so again"));
    return gFailures == 0 ? 0 : 1;
}

// A folder of links into a mount that hangs, read again at each key typed
// in the filter box: after the first read the threads stay as they are.
int linkThreads(const QString &folder)
{
    Scene scene;
    scene.window.openFolder(QFile::encodeName(folder));
    scene.settle();
    check(scene.shown().isEmpty() && scene.messages.shown.isEmpty(),
          QStringLiteral("links that do not answer are left out without a message"));
    const int first = threadsNow();
    QTest::mouseClick(child<QRadioButton>(scene.window, "opt_eigene"), Qt::LeftButton);
    QTest::keyClicks(child<QLineEdit>(scene.window, "txt_eigene"), QStringLiteral("txtabcde"));
    scene.settle();
    const int after = threadsNow();
    check(after <= first + 3,
          QStringLiteral("%1 threads after the first read, %2 after eight more").arg(first).arg(after));
    return gFailures == 0 ? 0 : 1;
}

int saveBeside(const QString &dialogFolder, const QString &folder, const QString &out)
{
    Scene scene(dialogFolder);
    scene.window.openFolder(QFile::encodeName(folder));
    scene.settle();
    QTest::mouseClick(child<QPushButton>(scene.window, "cmd_save"), Qt::LeftButton);
    auto *settings = visibleTopLevel<SaveSettingsDialog>();
    check(settings, QStringLiteral("the save settings open"));
    if (!settings)
        return 1;
    qint64 shownAt = -1;
    qint64 returnAt = -1;
    whenModal<QFileDialog>(&scene.window, [&shownAt, &returnAt, &out](QFileDialog *dialog) {
        shownAt = gClock.elapsed();
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->selectAll();
        QTest::keyClicks(name, QFileInfo(out).fileName());
        returnAt = gClock.elapsed();
        QTest::keyClick(name, Qt::Key_Return);
    });
    const qint64 weiterAt = gClock.elapsed();
    QTest::mouseClick(child<QPushButton>(*settings, "cmd_weiter"), Qt::LeftButton);
    const qint64 backAt = gClock.elapsed();
    check(shownAt >= 0 && shownAt - weiterAt < 1000,
          QStringLiteral("the save-file dialog appears %1 ms after \"Weiter\"").arg(shownAt - weiterAt));
    check(returnAt >= 0 && backAt - returnAt < 3000 && scene.window.isVisible(),
          QStringLiteral("the main window is back %1 ms after Return").arg(backAt - returnAt));
    check(contents(out) == "a.mp3\r\nb.mp3\r\n", QStringLiteral("the listing is saved: %1").arg(contents(out)));

    // The dialog beside the mount that hangs stays stuck; the next save gets
    // another, which lists its folder.
    QTest::mouseClick(child<QPushButton>(scene.window, "cmd_save"), Qt::LeftButton);
    settings = visibleTopLevel<SaveSettingsDialog>();
    int rows = -1;
    whenModal<QFileDialog>(&scene.window, [&rows](QFileDialog *dialog) {
        auto *model = dialog->findChild<QFileSystemModel *>();
        const QModelIndex folder = model->index(dialog->directory().path());
        if (QTest::qWaitFor([model, folder] { return model->rowCount(folder) > 0; }, 2000))
            rows = model->rowCount(folder);
        dialog->reject();
    });
    if (settings)
        QTest::mouseClick(child<QPushButton>(*settings, "cmd_weiter"), Qt::LeftButton);
    check(rows > 0, QStringLiteral("the next save dialog lists %1 entries of its folder").arg(rows));
    return gFailures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    gClock.start();
    QApplication app(argc, argv);
    setUpApplication(app);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    int result = 2;
    if (mode == QLatin1String("drive") && args.size() == 2)
        result = chooseDeadDrive(args.at(1));
    else if (mode == QLatin1String("folder") && args.size() == 4)
        result = openDeadFolder(args.at(1), args.at(2), args.at(3));
    else if ((mode == QLatin1String("close-waiting") || mode == QLatin1String("close-after")) && args.size() == 2)
        return closeWhileHung(app, args.at(1), mode == QLatin1String("close-waiting"));
    else if (mode == QLatin1String("follow") && args.size() == 4)
        result = followMounts(args.at(1), args.at(2), args.at(3));
    else if (mode == QLatin1String("pending") && args.size() == 5)
        result = pendingReads(args.at(1), args.at(2), args.at(3), args.at(4));
    else if (mode == QLatin1String("links") && args.size() == 2)
        result = linkThreads(args.at(1));
    else if (mode == QLatin1String("save-beside") && args.size() == 4)
        result = saveBeside(args.at(1), args.at(2), args.at(3));
    else
        std::fprintf(stderr, "usage: see fusemounts.cpp\n");
    // The script reads this line: the process itself may linger while a thread hangs on a mount.
    say(result == 0 ? QStringLiteral("result: pass") : QStringLiteral("result: fail"));
    return leaveProgram(result);
}
