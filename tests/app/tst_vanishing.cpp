// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The main window while the file system changes under it: the folder shown is
// removed or turns into something that cannot be read, a drive becomes not
// ready or is unmounted. Nothing crashes, the lists never show another
// folder's files, and where the user chose something that is gone a German
// message says so.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "standins.h"
#include "ui/drivecombobox.h"
#include "ui/filelistview.h"
#include "ui/folderlistview.h"
#include "ui/printsettingsdialog.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Lirabel;

namespace {

void activate(FolderListView &list, int row)
{
    list.setCurrentIndex(list.model()->index(row, 0));
    QTest::keyClick(&list, Qt::Key_Return);
}

// Drive A holds the folder "weg" that goes away and "bleibt" beside it;
// drive B is a second drive. The window shows A/weg.
struct Scene
{
    QTemporaryDir root;
    QTemporaryDir out;
    QString a;
    QString b;
    QString weg;
    StandInPlatform stand;
    std::unique_ptr<MainWindow> window;

    Scene(const QString &labelOfB = QString())
    {
        a = root.path() + "/laufwerkA";
        b = root.path() + "/laufwerkB";
        weg = a + "/weg";
        makeTree(root.path(),
                 {"laufwerkA/weg/unten/", "laufwerkA/weg/eins.txt", "laufwerkA/weg/zwei.txt",
                  "laufwerkA/bleibt/anderer.txt", "laufwerkA/oben.txt", "laufwerkB/b.txt"});
        stand.volumes.volumes = {Volume{a, QString()}, Volume{b, labelOfB}};
        stand.program.folder = a;
        window = std::make_unique<MainWindow>();
        window->showWindow();
        open(weg);
    }
    // Opens a folder as from outside, and waits for it.
    void open(const QString &folder) const
    {
        window->openFolder(QFile::encodeName(folder));
        QVERIFY(settled(*window));
    }
    FolderListView *dir1() const { return child<FolderListView>(*window, "Dir1"); }
    DriveComboBox *drive1() const { return child<DriveComboBox>(*window, "Drive1"); }
    FileListView *file1() const { return child<FileListView>(*window, "File1"); }
    QStringList shown() const { return entriesOf(window->fileList()); }
};

} // namespace

class TestVanishing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void saveWhatIsShown();
    void printWhatIsShown();
    void arrowKeyInTheFilter_data();
    void arrowKeyInTheFilter();
    void choosingAGoneFolder_data();
    void choosingAGoneFolder();
    void goingUpFromAGoneFolder();
    void driveNotReadyWhenChosenAgain();
    void driveUnmountedWhileListed_data();
    void driveUnmountedWhileListed();
};

void TestVanishing::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

// The list still shows the removed folder's names; saving writes what is shown.
void TestVanishing::saveWhatIsShown()
{
    Scene scene;
    QCOMPARE(scene.shown(), (QStringList{"eins.txt", "zwei.txt"}));
    QVERIFY(QDir(scene.weg).removeRecursively());

    const QString path = scene.out.filePath(QStringLiteral("liste.txt"));
    scene.stand.dialogs.saveAnswers.enqueue(path);
    QTest::mouseClick(child<QPushButton>(*scene.window, "cmd_save"), Qt::LeftButton);
    QPointer<SaveSettingsDialog> dialog = visibleTopLevel<SaveSettingsDialog>();
    QVERIFY(dialog);
    QTest::mouseClick(child<QPushButton>(*dialog, "cmd_weiter"), Qt::LeftButton);
    QCOMPARE(contents(path), QByteArray("eins.txt\r\nzwei.txt\r\n"));
    QVERIFY(scene.stand.messageBox.shown.isEmpty());
    QVERIFY(scene.window->isVisible());
    QTRY_VERIFY(dialog.isNull());
}

void TestVanishing::printWhatIsShown()
{
    Scene scene;
    QVERIFY(QDir(scene.weg).removeRecursively());
    scene.stand.dialogs.fontAnswers.enqueue(FontChoice{QStringLiteral("Liberation Serif"), 10});
    scene.stand.dialogs.printerAnswers.enqueue(true);
    QTest::mouseClick(child<QPushButton>(*scene.window, "cmd_drucken"), Qt::LeftButton);
    QPointer<PrintSettingsDialog> dialog = visibleTopLevel<PrintSettingsDialog>();
    QVERIFY(dialog);
    QTest::mouseClick(child<QPushButton>(*dialog, "cmd_weiter"), Qt::LeftButton);
    QCOMPARE(scene.stand.printer.ended, (QList<QStringList>{{"eins.txt", "zwei.txt"}}));
    QVERIFY(scene.stand.messageBox.shown.isEmpty());
    QVERIFY(scene.window->isVisible());
    QTRY_VERIFY(dialog.isNull());
}

// Reading again finds nothing to read: the list empties, and never shows the
// files of the folder above or of a folder that took the name.
void TestVanishing::arrowKeyInTheFilter_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("removed") << "removed";
    QTest::newRow("a file took its name") << "file";
    QTest::newRow("moved away") << "moved";
}

void TestVanishing::arrowKeyInTheFilter()
{
    QFETCH(QString, change);
    Scene scene;
    auto *text = child<QLineEdit>(*scene.window, "txt_eigene");
    QTest::mouseClick(child<QRadioButton>(*scene.window, "opt_eigene"), Qt::LeftButton);
    QVERIFY(settled(*scene.window));
    QVERIFY(QTest::qWaitForWindowActive(scene.window.get()));
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("txt"));
    QVERIFY(settled(*scene.window));
    QCOMPARE(scene.shown(), (QStringList{"eins.txt", "zwei.txt"}));

    if (change == QLatin1String("removed")) {
        QVERIFY(QDir(scene.weg).removeRecursively());
    } else if (change == QLatin1String("file")) {
        QVERIFY(QDir(scene.weg).removeRecursively());
        touch(scene.weg);
    } else {
        QVERIFY(QDir().rename(scene.weg, scene.a + "/woanders"));
    }
    QTest::keyClick(text, Qt::Key_Left);
    QVERIFY(settled(*scene.window));
    QCOMPARE(scene.shown(), QStringList());
    QCOMPARE(scene.file1()->path(), scene.weg);
    QCOMPARE(scene.dir1()->path(), scene.weg);
    QVERIFY(scene.window->isVisible());
}

// A folder row whose folder is gone or no folder any more: the message, and
// both lists stay as they were.
void TestVanishing::choosingAGoneFolder_data()
{
    QTest::addColumn<bool>("replacedByFile");
    QTest::newRow("removed") << false;
    QTest::newRow("a file took its name") << true;
}

void TestVanishing::choosingAGoneFolder()
{
    QFETCH(bool, replacedByFile);
    Scene scene;
    const int row = rowsOf(*scene.dir1()).indexOf(QStringLiteral("unten"));
    QVERIFY(row > 0);
    QVERIFY(QDir(scene.weg + "/unten").removeRecursively());
    if (replacedByFile)
        touch(scene.weg + "/unten");
    activate(*scene.dir1(), row);
    QVERIFY(settled(*scene.window));

    QCOMPARE(scene.stand.messageBox.shown.size(), 1);
    QCOMPARE(scene.stand.messageBox.shown.first().text, QStringLiteral("Verzeichnis nicht lesbar !"));
    QCOMPARE(scene.stand.messageBox.shown.first().title, QStringLiteral("Verzeichnisfehler"));
    QCOMPARE(scene.dir1()->path(), scene.weg);
    QCOMPARE(scene.file1()->path(), scene.weg);
    QCOMPARE(scene.shown(), (QStringList{"eins.txt", "zwei.txt"}));
}

// From a removed folder the path rows above it still lead somewhere; the
// drive, chosen again, opens on the nearest folder that is left.
void TestVanishing::goingUpFromAGoneFolder()
{
    Scene scene;
    QVERIFY(QDir(scene.weg).removeRecursively());
    activate(*scene.dir1(), 0);
    QVERIFY(settled(*scene.window));
    QCOMPARE(scene.dir1()->path(), scene.a);
    QCOMPARE(scene.shown(), QStringList{"oben.txt"});
    QCOMPARE(rowsOf(*scene.dir1()).indexOf(QStringLiteral("weg")), -1);

    scene.open(scene.a + "/bleibt");
    QVERIFY(QDir(scene.a + "/bleibt").removeRecursively());
    scene.drive1()->setCurrentIndex(1);
    QVERIFY(settled(*scene.window));
    QCOMPARE(scene.shown(), QStringList{"b.txt"});
    scene.drive1()->setCurrentIndex(0);
    QVERIFY(settled(*scene.window));
    QCOMPARE(scene.dir1()->path(), scene.a);
    QCOMPARE(scene.shown(), QStringList{"oben.txt"});
    QVERIFY(scene.stand.messageBox.shown.isEmpty());
}

// Drive B worked, then its medium went: chosen again, it is not ready and the
// drive list returns to the drive the user came from.
void TestVanishing::driveNotReadyWhenChosenAgain()
{
    Scene scene;
    QVERIFY(QTest::qWaitForWindowActive(scene.window.get()));
    scene.drive1()->setFocus();
    scene.drive1()->setCurrentIndex(1);
    QVERIFY(settled(*scene.window));
    QCOMPARE(scene.shown(), QStringList{"b.txt"});
    scene.drive1()->setCurrentIndex(0);
    QVERIFY(settled(*scene.window));
    QCOMPARE(scene.dir1()->path(), scene.weg);
    scene.window->rememberFallBackDrive(); // remembers A

    scene.stand.volumes.notReady.insert(scene.b);
    scene.drive1()->setCurrentIndex(1);
    QVERIFY(settled(*scene.window));
    QCOMPARE(scene.stand.messageBox.shown.size(), 1);
    QCOMPARE(scene.stand.messageBox.shown.first().text, QStringLiteral("Laufwerk nicht bereit !"));
    QCOMPARE(scene.stand.messageBox.shown.first().title, QStringLiteral("Laufwerksfehler"));
    QCOMPARE(scene.drive1()->drive(), scene.a);
    QCOMPARE(scene.dir1()->path(), scene.weg);
    QCOMPARE(scene.shown(), (QStringList{"eins.txt", "zwei.txt"}));
}

// B is unmounted while the drive list still offers it: its mount point is an
// empty folder of drive A now, or gone. Choosing it is "not ready", and never
// lists that folder as if it were drive B. Unmounted while it is the chosen
// drive, the list follows and it is the same: the message, then the
// remembered drive. Where that is B itself, the program's drive C, or the
// root when C is not ready either; never A for holding B's old mount point.
void TestVanishing::driveUnmountedWhileListed_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("mountPointLeft");
    QTest::addColumn<QString>("then"); // "choose B", "B was chosen" or "choose C"
    QTest::addColumn<bool>("rememberedB");
    QTest::addColumn<bool>("programDriveReady");
    QTest::addColumn<QString>("expected"); // "A", "C" or "/"
    QTest::newRow("no label, mount point left") << QString() << true << "choose B" << false << true << "A";
    QTest::newRow("label, mount point left") << "URLAUB" << true << "choose B" << false << true << "A";
    QTest::newRow("no label, mount point gone") << QString() << false << "choose B" << false << true << "A";
    QTest::newRow("while chosen: the remembered drive") << QString() << true << "B was chosen" << false << true << "A";
    QTest::newRow("while chosen and remembered: the program's drive")
        << "URLAUB" << true << "B was chosen" << true << true << "C";
    QTest::newRow("while chosen and remembered, program's drive not ready: the root")
        << QString() << true << "B was chosen" << true << false << "/";
    QTest::newRow("remembered, program's drive chosen and not ready: the root")
        << QString() << true << "choose C" << true << false << "/";
}

void TestVanishing::driveUnmountedWhileListed()
{
    QFETCH(QString, label);
    QFETCH(bool, mountPointLeft);
    QFETCH(QString, then);
    QFETCH(bool, rememberedB);
    QFETCH(bool, programDriveReady);
    QFETCH(QString, expected);
    Scene scene(label);
    // Drive B lies inside drive A's folder tree here, as /media/stick lies on /.
    const QString stick = scene.a + "/stick";
    const QString c = scene.root.path() + "/laufwerkC";
    makeTree(scene.root.path(), {"laufwerkA/stick/foto.jpg", "laufwerkC/c.txt"});
    scene.stand.volumes.volumes[1].mountPoint = stick;
    scene.stand.volumes.volumes << Volume{c, QString()} << Volume{QStringLiteral("/"), QString()};
    scene.stand.program.folder = c;
    scene.drive1()->refreshVolumes();
    QCOMPARE(scene.drive1()->count(), 4);
    const QString textOfB = scene.drive1()->itemText(1);
    // The drive remembered is the one shown when the drive list last got the focus.
    if (rememberedB) {
        scene.drive1()->setCurrentIndex(1);
        QVERIFY(settled(*scene.window));
    }
    scene.window->rememberFallBackDrive();
    QCOMPARE(scene.window->fallBackDrive(), rememberedB ? textOfB : scene.a);
    scene.drive1()->setCurrentIndex(then == "B was chosen" ? 1 : 0);
    QVERIFY(settled(*scene.window));
    if (!programDriveReady)
        scene.stand.volumes.notReady.insert(c);

    scene.stand.volumes.volumes.removeAt(1);
    QVERIFY(QDir(stick).removeRecursively());
    if (mountPointLeft)
        QVERIFY(QDir().mkpath(stick));
    if (then == "choose B") {
        scene.drive1()->setCurrentIndex(1);
        QVERIFY(settled(*scene.window));
    } else {
        Q_EMIT scene.stand.volumes.volumesChanged();
        QVERIFY(settled(*scene.window));
        QCOMPARE(scene.drive1()->findText(textOfB), -1);
        if (then == "choose C")
            scene.drive1()->setCurrentIndex(scene.drive1()->findText(c));
        QVERIFY(settled(*scene.window));
    }

    QCOMPARE(scene.stand.messageBox.shown.size(), 1);
    QCOMPARE(scene.stand.messageBox.shown.first().text, QStringLiteral("Laufwerk nicht bereit !"));
    const QString drive = expected == "A" ? scene.a : expected == "C" ? c : QStringLiteral("/");
    QCOMPARE(scene.drive1()->drive(), drive);
    const QString folder = expected == "A" ? scene.weg : expected == "C" ? c : QDir::currentPath();
    QCOMPARE(scene.dir1()->path(), folder);
    QCOMPARE(scene.file1()->path(), folder);
    if (expected == "A")
        QCOMPARE(scene.shown(), (QStringList{"eins.txt", "zwei.txt"}));
}

QTEST_MAIN(TestVanishing)
#include "tst_vanishing.moc"
