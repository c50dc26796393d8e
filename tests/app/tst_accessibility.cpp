// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// What a screen reader says for each control, and a whole run done with the
// keyboard alone.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "standins.h"
#include "ui/folderlistview.h"
#include "ui/printsettingsdialog.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Lirabel;

namespace {

// One drive holding the program's folder, two subfolders and four files.
struct Drive
{
    QTemporaryDir root;
    QString path;

    explicit Drive(StandInPlatform &stand)
    {
        path = root.path() + "/laufwerk";
        makeTree(
            path,
            {"Programm/", "Brief.txt", "Lied 2.mp3", "Lied 10.mp3", "Makefile", "Alben/Titel.mp3", "Alben/Titel.wav"});
        stand.volumes.volumes = {Volume{path, QStringLiteral("DATEN")}};
        stand.program.folder = path + "/Programm";
    }
};

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// Presses Tab until the control named `target` has the focus, and returns the
// names of the controls passed on the way, the target last.
QStringList tabTo(const QString &target)
{
    QStringList visited;
    for (int step = 0; step < 20; ++step) {
        QWidget *focus = QApplication::focusWidget();
        if (!focus)
            return visited << QStringLiteral("(no focus)");
        visited.append(focus->objectName());
        if (focus->objectName() == target)
            return visited;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return visited;
}

void pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void accessibleNames_data();
    void accessibleNames();
    void everyControlIsNamed_data();
    void everyControlIsNamed();
    void menuEntryNamed();
    void saveByKeyboardAlone();
    void folderOpenedByKeyboard();
    void filterChosenByKeyboard_data();
    void filterChosenByKeyboard();
    void mnemonicsPrint();
    void mnemonicsSave();
    void desktopFileName();
};

void TestAccessibility::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void TestAccessibility::accessibleNames_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    const auto row = [](const char *window, const char *control, const char *name, const char *description = "") {
        QTest::addRow("%s.%s", window, control)
            << window << control << QString::fromUtf8(name) << QString::fromUtf8(description);
    };
    // Qt names a combo box on Linux by its value, the chosen drive; what the
    // list is for goes into its description.
    row("PrintDir", "Drive1", "/laufwerk [DATEN]", "Laufwerk");
    row("PrintDir", "Dir1", "Verzeichnisse");
    row("PrintDir", "File1", "Dateien");
    row("PrintDir", "frame1", "Filter");
    row("PrintDir", "opt_mp3", "mp3");
    row("PrintDir", "opt_alle", "alle");
    row("PrintDir", "opt_eigene", "eigene");
    row("PrintDir", "txt_eigene", "eigene Dateiendung");
    row("PrintDir", "cmd_drucken", "Drucken");
    row("PrintDir", "cmd_save", "Als Textdatei Speichern");
    for (const char *dialog : {"PrintOptionen", "SaveOptionen"}) {
        const bool print = qstrcmp(dialog, "PrintOptionen") == 0;
        row(dialog, "chk_endungen", print ? "Dateiendungen nicht drucken" : "Dateiendungen nicht speichern");
        row(dialog, "chk_nummer", "Dateien nummerieren");
        row(dialog, "chk_zeilen", "Leerzeile alle");
        row(dialog, "txt_zeile", "Anzahl Zeilen");
        row(dialog, "Label1", "Zeilen");
        row(dialog, "cmd_weiter", "Weiter");
    }
}

void TestAccessibility::accessibleNames()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    StandInPlatform stand;
    Drive drive(stand);
    MainWindow main;
    QVERIFY(settled(main));
    std::unique_ptr<QWidget> top;
    if (window == QLatin1String("PrintOptionen"))
        top = std::make_unique<PrintSettingsDialog>(main, main.fileList());
    else if (window == QLatin1String("SaveOptionen"))
        top = std::make_unique<SaveSettingsDialog>(main, main.fileList());
    QWidget *owner = top ? top.get() : static_cast<QWidget *>(&main);
    owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(owner));

    auto *widget = owner->findChild<QWidget *>(control);
    QVERIFY(widget);
    // A screen reader reads the name trimmed; "Leerzeile alle " keeps the
    // blank its caption ends in.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface);
    QString said = iface->text(QAccessible::Name).trimmed();
    said.replace(drive.root.path(), QString());
    QCOMPARE(said, name);
    QCOMPARE(iface->text(QAccessible::Description), description);
    if (top)
        top->setAttribute(Qt::WA_DeleteOnClose, false);
}

void TestAccessibility::everyControlIsNamed_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("PrintDir") << "PrintDir";
    QTest::newRow("PrintOptionen") << "PrintOptionen";
    QTest::newRow("SaveOptionen") << "SaveOptionen";
}

// Also the controls added later: everything a user can reach or read.
void TestAccessibility::everyControlIsNamed()
{
    QFETCH(QString, window);
    StandInPlatform stand;
    Drive drive(stand);
    MainWindow main;
    QVERIFY(settled(main));
    std::unique_ptr<QWidget> top;
    if (window == QLatin1String("PrintOptionen"))
        top = std::make_unique<PrintSettingsDialog>(main, main.fileList());
    else if (window == QLatin1String("SaveOptionen"))
        top = std::make_unique<SaveSettingsDialog>(main, main.fileList());
    QWidget *owner = top ? top.get() : static_cast<QWidget *>(&main);
    if (top)
        top->setAttribute(Qt::WA_DeleteOnClose, false);
    owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(owner));

    QStringList unnamed;
    int controls = 0;
    for (QWidget *widget : owner->findChildren<QWidget *>()) {
        const bool reachable = widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus);
        const bool named = !widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_"));
        if (!reachable && !(named && widget->objectName() != QLatin1String("clientArea")))
            continue;
        ++controls;
        if (accessibleName(widget).trimmed().isEmpty())
            unnamed.append(widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                          : widget->objectName());
    }
    QCOMPARE(unnamed, QStringList());
    QCOMPARE(controls, window == QLatin1String("PrintDir") ? 10 : 6);
}

void TestAccessibility::menuEntryNamed()
{
    StandInPlatform stand;
    Drive drive(stand);
    MainWindow main;
    QVERIFY(settled(main));
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(main.menuBar());
    QVERIFY(bar);
    QCOMPARE(bar->childCount(), 1);
    QCOMPARE(bar->child(0)->text(QAccessible::Name), QStringLiteral("Einstellungen"));
}

// From the start, Tab leads to "Als Textdatei Speichern", the space bar
// presses it, and the space bar again saves with the dialog's first focus.
void TestAccessibility::saveByKeyboardAlone()
{
    StandInPlatform stand;
    Drive drive(stand);
    QTemporaryDir out;
    const QString target = out.path() + "/liste.txt";
    stand.dialogs.saveAnswers.enqueue(target);

    MainWindow main;
    QVERIFY(settled(main));
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QCOMPARE(tabTo(QStringLiteral("cmd_save")),
             (QStringList{"Drive1", "File1", "Dir1", "opt_mp3", "cmd_drucken", "cmd_save"}));
    pressOnFocus(Qt::Key_Space);
    QVERIFY(!main.isVisible());

    QPointer<SaveSettingsDialog> dialog = visibleTopLevel<SaveSettingsDialog>();
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmd_weiter"));
    pressOnFocus(Qt::Key_Space);

    QTRY_VERIFY(dialog.isNull());
    QVERIFY(main.isVisible());
    QCOMPARE(stand.dialogs.saveRequests.size(), 1);
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("Brief.txt\r\nLied 2.mp3\r\nLied 10.mp3\r\nMakefile\r\n"));
}

// Tab to the directory list, Down to the first subfolder, Return opens it.
void TestAccessibility::folderOpenedByKeyboard()
{
    StandInPlatform stand;
    Drive drive(stand);
    MainWindow main;
    QVERIFY(settled(main));
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QCOMPARE(tabTo(QStringLiteral("Dir1")).constLast(), QStringLiteral("Dir1"));
    auto *dir1 = main.findChild<FolderListView *>(QStringLiteral("Dir1"));
    QCOMPARE(dir1->path(), drive.path);

    pressOnFocus(Qt::Key_Down);
    QCOMPARE(dir1->path(), drive.path); // moving the selection opens nothing
    pressOnFocus(Qt::Key_Return);
    QVERIFY(settled(main));
    QCOMPARE(dir1->path(), drive.path + "/Alben");
    QCOMPARE(entriesOf(main.fileList()), (QStringList{"Titel.mp3", "Titel.wav"}));

    // Up to the drive's row and Return goes back.
    pressOnFocus(Qt::Key_Home);
    pressOnFocus(Qt::Key_Return);
    QVERIFY(settled(main));
    QCOMPARE(dir1->path(), drive.path);
    QCOMPARE(entriesOf(main.fileList()).size(), 4);
}

void TestAccessibility::filterChosenByKeyboard_data()
{
    // One row a line, laid out by hand.
    // clang-format off
    QTest::addColumn<QList<Qt::Key>>("keys");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("files");
    const QStringList all{"Brief.txt", "Lied 2.mp3", "Lied 10.mp3", "Makefile"};
    QTest::newRow("reached only") << QList<Qt::Key>{} << "opt_alle" << QString() << all;
    QTest::newRow("Space chooses mp3") << QList<Qt::Key>{Qt::Key_Space} << "opt_mp3" << QString()
                                       << QStringList{"Lied 2.mp3", "Lied 10.mp3"};
    QTest::newRow("Right chooses alle") << QList<Qt::Key>{Qt::Key_Space, Qt::Key_Right} << "opt_alle" << QString()
                                        << all;
    QTest::newRow("Right, Right to eigene, txt typed")
        << QList<Qt::Key>{Qt::Key_Right, Qt::Key_Right} << "opt_eigene" << "txt" << QStringList{"Brief.txt"};
    QTest::newRow("Right, Right to eigene, nothing typed")
        << QList<Qt::Key>{Qt::Key_Right, Qt::Key_Right} << "opt_eigene" << QString() << QStringList{"Makefile"};
    QTest::newRow("Right, Right, Left back to alle")
        << QList<Qt::Key>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Left} << "opt_alle" << QString() << all;
    // clang-format on
}

// The option buttons share one tab stop, on "mp3"; reaching it chooses
// nothing. The space bar chooses the button with the focus; Left and Right
// move to the neighbour and choose it (Up and Down find none in this row).
// Tab then leads on to the text box when it is open, else to "Drucken".
void TestAccessibility::filterChosenByKeyboard()
{
    QFETCH(QList<Qt::Key>, keys);
    QFETCH(QString, checked);
    QFETCH(QString, typed);
    QFETCH(QStringList, files);
    StandInPlatform stand;
    Drive drive(stand);
    MainWindow main;
    QVERIFY(settled(main));
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QCOMPARE(tabTo(QStringLiteral("opt_mp3")).constLast(), QStringLiteral("opt_mp3"));
    for (Qt::Key key : std::as_const(keys))
        pressOnFocus(key);
    QVERIFY(main.findChild<QRadioButton *>(checked)->isChecked());
    pressOnFocus(Qt::Key_Tab);
    const bool eigene = checked == QLatin1String("opt_eigene");
    QCOMPARE(QApplication::focusWidget()->objectName(),
             eigene ? QStringLiteral("txt_eigene") : QStringLiteral("cmd_drucken"));
    if (eigene)
        QTest::keyClicks(QApplication::focusWidget(), typed);
    QVERIFY(settled(main));
    QCOMPARE(entriesOf(main.fileList()), files);
}

// Alt+D opens the print settings, the space bar checks the first box, Alt+W
// prints.
void TestAccessibility::mnemonicsPrint()
{
    StandInPlatform stand;
    Drive drive(stand);
    stand.dialogs.fontAnswers.enqueue(FontChoice{QStringLiteral("Liberation Serif"), 10});
    stand.dialogs.printerAnswers.enqueue(true);
    MainWindow main;
    QVERIFY(settled(main));
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    // A mnemonic presses its button the way a click looks, a moment later.
    pressOnFocus(Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(!main.isVisible());

    QPointer<PrintSettingsDialog> dialog = visibleTopLevel<PrintSettingsDialog>();
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("chk_endungen"));
    pressOnFocus(Qt::Key_Space);
    QVERIFY(dialog->findChild<QCheckBox *>(QStringLiteral("chk_endungen"))->isChecked());
    pressOnFocus(Qt::Key_W, Qt::AltModifier);

    QTRY_VERIFY(dialog.isNull());
    QVERIFY(main.isVisible());
    QCOMPARE(stand.printer.ended.size(), 1);
    QCOMPARE(stand.printer.ended.constFirst(), (QStringList{"Brief", "Lied 2", "Lied 10", "Makefile"}));
}

// Alt+A opens the save settings, Alt+W goes on to the save-file dialog;
// Cancel there writes nothing and brings the main window back.
void TestAccessibility::mnemonicsSave()
{
    StandInPlatform stand;
    Drive drive(stand);
    MainWindow main;
    QVERIFY(settled(main));
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    pressOnFocus(Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(!main.isVisible());

    QPointer<SaveSettingsDialog> dialog = visibleTopLevel<SaveSettingsDialog>();
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    pressOnFocus(Qt::Key_W, Qt::AltModifier);
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(main.isVisible());
    QCOMPARE(stand.dialogs.saveRequests.size(), 1);
    QCOMPARE(stand.dialogs.saveRequests.constFirst().fileName, QStringLiteral("DateiListe"));
}

// Wayland desktops tie the window to the menu entry by this name.
void TestAccessibility::desktopFileName()
{
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("io.github.lirabel.Lirabel"));
    QVERIFY(QFile::exists(QStringLiteral(LIRABEL_SOURCE_DIR "/packaging/") + QGuiApplication::desktopFileName()
                          + QStringLiteral(".desktop")));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
