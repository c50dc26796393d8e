// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "core/listingrun.h"
#include "standins.h"
#include "ui/drivecombobox.h"
#include "ui/filelistview.h"
#include "ui/folderlistview.h"
#include "ui/printsettingsdialog.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Lirabel;

namespace {

// Three drives in a temporary folder: A holds the program, B and C are others.
// The working directory lies on none of them.
struct Drives
{
    QTemporaryDir root;
    QString a;
    QString b;
    QString c;

    explicit Drives(StandInPlatform &stand)
    {
        a = root.path() + "/laufwerkA";
        b = root.path() + "/laufwerkB";
        c = root.path() + "/laufwerkC";
        makeTree(root.path(),
                 {"laufwerkA/programm/", "laufwerkA/musik/alt/", "laufwerkA/gesperrt/", "laufwerkA/.versteckt/",
                  "laufwerkA/Brief.txt", "laufwerkA/Lied 2.mp3", "laufwerkA/Lied 10.mp3", "laufwerkA/Makefile",
                  "laufwerkA/notiz.TXT", "laufwerkA/musik/titel.mp3", "laufwerkB/b.txt", "laufwerkC/c.txt"});
        stand.volumes.volumes = {Volume{a, QStringLiteral("PROGRAMM")}, Volume{b, QString()}, Volume{c, QString()}};
        stand.program.folder = a + "/programm";
    }
    QString textOf(const QString &mount) const { return mount == a ? a + " [PROGRAMM]" : mount; }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startUp();
    void layoutAsDrawn();
    void captionsFit();
    void filterOptionsKeepTypedText();
    void eigeneWithEmptyText();
    void arrowKeyReadsAgain();
    void folderChosenInDirectoryList();
    void eachDriveKeepsItsFolder();
    void unreadableFolderKeepsLists();
    void driveNotReadyGoesBack();
    void rememberedDriveFailsToo();
    void nestedFailureShowsMessageOnce();
    void noDriveRemembered();
    void answerWaitingForABoxIsOvertaken();
    void programFolderOnNoDrive();
    void menuEntryDoesNothing();
    void buttonsHideWindow_data();
    void buttonsHideWindow();
};

void TestMainWindow::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void TestMainWindow::startUp()
{
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));

    QCOMPARE(child<DriveComboBox>(window, "Drive1")->drive(), drives.textOf(drives.a));
    QCOMPARE(child<FolderListView>(window, "Dir1")->path(), drives.a);
    QCOMPARE(rowsOf(*child<FolderListView>(window, "Dir1")), (QStringList{drives.a, "gesperrt", "musik", "programm"}));
    QVERIFY(child<QRadioButton>(window, "opt_alle")->isChecked());
    QVERIFY(!child<QRadioButton>(window, "opt_mp3")->isChecked());
    QVERIFY(!child<QRadioButton>(window, "opt_eigene")->isChecked());
    auto *text = child<QLineEdit>(window, "txt_eigene");
    QVERIFY(text->text().isEmpty());
    QVERIFY(!text->isEnabled());
    QCOMPARE(text->palette().color(QPalette::Disabled, QPalette::Base),
             QApplication::palette().color(QPalette::Disabled, QPalette::Base));
    QCOMPARE(child<FileListView>(window, "File1")->pattern(), QStringLiteral("*.*"));
    QCOMPARE(entriesOf(window.fileList()),
             (QStringList{"Brief.txt", "Lied 2.mp3", "Lied 10.mp3", "Makefile", "notiz.TXT"}));
    QVERIFY(stand.messageBox.shown.isEmpty());

    // Shown, the drive list has the focus and remembers the start drive.
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(window, "Drive1"));
    QCOMPARE(window.fallBackDrive(), drives.textOf(drives.a));
    QCOMPARE(window.windowTitle(), QStringLiteral("Lirabel"));
}

void TestMainWindow::layoutAsDrawn()
{
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.centralWidget()->size(), QSize(609, 541));
    QCOMPARE(window.centralWidget()->y(), window.menuBar()->height());
    QCOMPARE(window.size(), QSize(609, 541 + window.menuBar()->height()));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);

    const QList<std::pair<const char *, QRect>> controls{
        {"Drive1", {8, 16, 257, 21}},      {"File1", {288, 16, 313, 474}},    {"Dir1", {8, 48, 257, 396}},
        {"frame1", {8, 448, 257, 49}},     {"opt_mp3", {8, 16, 49, 21}},      {"opt_alle", {56, 14, 41, 25}},
        {"opt_eigene", {120, 18, 57, 17}}, {"txt_eigene", {184, 17, 65, 19}}, {"cmd_drucken", {72, 512, 129, 25}},
        {"cmd_save", {384, 512, 153, 25}},
    };
    for (const auto &[name, rect] : controls)
        QCOMPARE(child<QWidget>(window, name)->geometry(), rect);
    QCOMPARE(child<QWidget>(window, "opt_mp3")->parentWidget(), child<QWidget>(window, "frame1"));
    QCOMPARE(child<QWidget>(window, "txt_eigene")->parentWidget(), child<QWidget>(window, "frame1"));

    // Tab order from the drive list on.
    QStringList order;
    QWidget *w = child<QWidget>(window, "Drive1");
    for (int i = 0; i < 9; ++i) {
        order.append(w->objectName());
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || w->objectName().isEmpty() || w->objectName().startsWith("qt_"))
            w = w->nextInFocusChain();
    }
    QCOMPARE(order,
             (QStringList{"Drive1", "File1", "Dir1", "opt_mp3", "opt_alle", "opt_eigene", "txt_eigene", "cmd_drucken",
                          "cmd_save"}));

    // Centred on the screen.
    const QPoint offset = window.frameGeometry().center() - window.screen()->availableGeometry().center();
    QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
             qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
}

void TestMainWindow::captionsFit()
{
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));
    QCOMPARE(QApplication::font().family(), QStringLiteral("Liberation Sans"));

    const auto shown = [](QString caption) { return caption.remove(QLatin1Char('&')); };
    for (const char *name : {"opt_mp3", "opt_alle", "opt_eigene"}) {
        auto *option = child<QRadioButton>(window, name);
        QStyleOptionButton styleOption;
        styleOption.initFrom(option);
        const int indicator = option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &styleOption, option)
            + option->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &styleOption, option);
        const int needed = indicator + option->fontMetrics().horizontalAdvance(shown(option->text()));
        QVERIFY2(needed <= option->width(),
                 qPrintable(QString("%1 needs %2, has %3").arg(name).arg(needed).arg(option->width())));
        QVERIFY2(option->fontMetrics().height() <= option->height(), name);
    }
    for (const char *name : {"cmd_drucken", "cmd_save"}) {
        auto *button = child<QPushButton>(window, name);
        const int margin = 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const int needed = margin + button->fontMetrics().horizontalAdvance(shown(button->text()));
        QVERIFY2(needed <= button->width(),
                 qPrintable(QString("%1 needs %2, has %3").arg(name).arg(needed).arg(button->width())));
    }
    auto *frame = child<QGroupBox>(window, "frame1");
    QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) + 16 <= frame->width());
    QCOMPARE(frame->title(), QStringLiteral("Filter"));
    QCOMPARE(child<QPushButton>(window, "cmd_drucken")->text(), QStringLiteral("&Drucken"));
    QCOMPARE(child<QPushButton>(window, "cmd_save")->text(), QStringLiteral("&Als Textdatei Speichern"));
}

void TestMainWindow::filterOptionsKeepTypedText()
{
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *text = child<QLineEdit>(window, "txt_eigene");
    auto *file1 = child<FileListView>(window, "File1");

    QTest::mouseClick(child<QRadioButton>(window, "opt_mp3"), Qt::LeftButton);
    QVERIFY(settled(window));
    QCOMPARE(file1->pattern(), QStringLiteral("*.mp3"));
    const QStringList mp3List = entriesOf(window.fileList());
    QCOMPARE(mp3List, (QStringList{"Lied 2.mp3", "Lied 10.mp3"}));
    QVERIFY(!text->isEnabled());

    QTest::mouseClick(child<QRadioButton>(window, "opt_eigene"), Qt::LeftButton);
    QVERIFY(settled(window));
    QVERIFY(text->isEnabled());
    QCOMPARE(text->palette().color(QPalette::Active, QPalette::Base),
             QApplication::palette().color(QPalette::Active, QPalette::Base));
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("mp3"));
    QVERIFY(settled(window));
    QCOMPARE(file1->pattern(), QStringLiteral("*.mp3"));
    QCOMPARE(entriesOf(window.fileList()), mp3List);

    QTest::mouseClick(child<QRadioButton>(window, "opt_alle"), Qt::LeftButton);
    QVERIFY(settled(window));
    QCOMPARE(file1->pattern(), QStringLiteral("*.*"));
    QCOMPARE(text->text(), QStringLiteral("mp3"));
    QVERIFY(!text->isEnabled());
    QCOMPARE(text->palette().color(QPalette::Disabled, QPalette::Base),
             QApplication::palette().color(QPalette::Disabled, QPalette::Base));
    QCOMPARE(window.fileList().count(), 5);

    QTest::mouseClick(child<QRadioButton>(window, "opt_eigene"), Qt::LeftButton);
    QVERIFY(settled(window));
    QCOMPARE(file1->pattern(), QStringLiteral("*.mp3"));
    QCOMPARE(entriesOf(window.fileList()), mp3List);

    text->setFocus();
    QTest::keyClick(text, Qt::Key_Backspace);
    QVERIFY(settled(window));
    QTest::keyClick(text, Qt::Key_Backspace);
    QVERIFY(settled(window));
    QTest::keyClick(text, Qt::Key_Backspace);
    QVERIFY(settled(window));
    QTest::keyClicks(text, QStringLiteral("txt"));
    QVERIFY(settled(window));
    QCOMPARE(entriesOf(window.fileList()), (QStringList{"Brief.txt", "notiz.TXT"}));
}

void TestMainWindow::eigeneWithEmptyText()
{
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));
    QTest::mouseClick(child<QRadioButton>(window, "opt_eigene"), Qt::LeftButton);
    QVERIFY(settled(window));
    QCOMPARE(child<FileListView>(window, "File1")->pattern(), QStringLiteral("*."));
    QCOMPARE(entriesOf(window.fileList()), QStringList{"Makefile"});
}

void TestMainWindow::arrowKeyReadsAgain()
{
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *text = child<QLineEdit>(window, "txt_eigene");
    QTest::mouseClick(child<QRadioButton>(window, "opt_eigene"), Qt::LeftButton);
    QVERIFY(settled(window));
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("txt"));
    QVERIFY(settled(window));
    QCOMPARE(entriesOf(window.fileList()), (QStringList{"Brief.txt", "notiz.TXT"}));

    touch(drives.a + "/Antwort.txt");
    QCOMPARE(window.fileList().count(), 2); // nothing reads the folder by itself
    QTest::keyClick(text, Qt::Key_Left);
    QVERIFY(settled(window));
    QCOMPARE(text->text(), QStringLiteral("txt"));
    QCOMPARE(entriesOf(window.fileList()), (QStringList{"Antwort.txt", "Brief.txt", "notiz.TXT"}));
}

void TestMainWindow::folderChosenInDirectoryList()
{
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));
    auto *dir1 = child<FolderListView>(window, "Dir1");
    dir1->setCurrentIndex(dir1->model()->index(2, 0)); // "musik"
    QCOMPARE(dir1->path(), drives.a);                  // a click only selects
    QTest::keyClick(dir1, Qt::Key_Return);
    QVERIFY(settled(window));
    QCOMPARE(dir1->path(), drives.a + "/musik");
    QCOMPARE(rowsOf(*dir1), (QStringList{drives.a, "musik", "alt"}));
    QCOMPARE(child<FileListView>(window, "File1")->path(), drives.a + "/musik");
    QCOMPARE(entriesOf(window.fileList()), QStringList{"titel.mp3"});

    // Back up by the root row.
    dir1->setCurrentIndex(dir1->model()->index(0, 0));
    QTest::keyClick(dir1, Qt::Key_Enter);
    QVERIFY(settled(window));
    QCOMPARE(dir1->path(), drives.a);
    QCOMPARE(window.fileList().count(), 5);
    QVERIFY(stand.messageBox.shown.isEmpty());
}

void TestMainWindow::eachDriveKeepsItsFolder()
{
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));
    auto *drive1 = child<DriveComboBox>(window, "Drive1");
    auto *dir1 = child<FolderListView>(window, "Dir1");
    dir1->setCurrentIndex(dir1->model()->index(2, 0));
    QTest::keyClick(dir1, Qt::Key_Return);
    QVERIFY(settled(window));
    QCOMPARE(dir1->path(), drives.a + "/musik");

    drive1->setCurrentIndex(1); // as the user picks B
    QVERIFY(settled(window));
    QCOMPARE(dir1->path(), drives.b);
    QCOMPARE(entriesOf(window.fileList()), QStringList{"b.txt"});
    drive1->setCurrentIndex(0);
    QVERIFY(settled(window));
    QCOMPARE(dir1->path(), drives.a + "/musik");
    QCOMPARE(entriesOf(window.fileList()), QStringList{"titel.mp3"});
}

void TestMainWindow::unreadableFolderKeepsLists()
{
    StandInPlatform stand;
    Drives drives(stand);
    stand.volumes.notReady.insert(drives.a + "/gesperrt");
    MainWindow window;
    QVERIFY(settled(window));
    auto *dir1 = child<FolderListView>(window, "Dir1");
    const QStringList rowsBefore = rowsOf(*dir1);
    dir1->setCurrentIndex(dir1->model()->index(1, 0)); // "gesperrt"
    QTest::keyClick(dir1, Qt::Key_Return);
    QVERIFY(settled(window));

    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown.at(0).kind, QStringLiteral("critical"));
    QCOMPARE(stand.messageBox.shown.at(0).text, QStringLiteral("Verzeichnis nicht lesbar !"));
    QCOMPARE(stand.messageBox.shown.at(0).title, QStringLiteral("Verzeichnisfehler"));
    QCOMPARE(dir1->path(), drives.a);
    QCOMPARE(rowsOf(*dir1), rowsBefore);
    QCOMPARE(child<FileListView>(window, "File1")->path(), drives.a);
    QCOMPARE(window.fileList().count(), 5);
}

void TestMainWindow::driveNotReadyGoesBack()
{
    StandInPlatform stand;
    Drives drives(stand);
    stand.volumes.notReady.insert(drives.b);
    MainWindow window;
    QVERIFY(settled(window));
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *drive1 = child<DriveComboBox>(window, "Drive1");
    QCOMPARE(window.fallBackDrive(), drives.textOf(drives.a));

    QTest::keyClick(drive1, Qt::Key_Down); // the user steps to drive B
    QVERIFY(settled(window));
    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown.at(0).kind, QStringLiteral("critical"));
    QCOMPARE(stand.messageBox.shown.at(0).text, QStringLiteral("Laufwerk nicht bereit !"));
    QCOMPARE(stand.messageBox.shown.at(0).title, QStringLiteral("Laufwerksfehler"));
    QCOMPARE(drive1->drive(), drives.textOf(drives.a));
    QCOMPARE(child<FolderListView>(window, "Dir1")->path(), drives.a);
    QCOMPARE(window.fileList().count(), 5);

    // A ready drive is taken without a word.
    QTest::keyClick(drive1, Qt::Key_End);
    QVERIFY(settled(window));
    QCOMPARE(drive1->drive(), drives.c);
    QCOMPARE(entriesOf(window.fileList()), QStringList{"c.txt"});
    QCOMPARE(stand.messageBox.shown.size(), 1);
}

void TestMainWindow::rememberedDriveFailsToo()
{
    StandInPlatform stand;
    Drives drives(stand);
    stand.volumes.volumes.append(Volume{QStringLiteral("/"), QString()});
    MainWindow window;
    QVERIFY(settled(window));
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.fallBackDrive(), drives.textOf(drives.a));
    // A, which also holds the program, goes away after the focus arrived.
    stand.volumes.notReady.insert(drives.a);
    stand.volumes.notReady.insert(drives.b);
    auto *drive1 = child<DriveComboBox>(window, "Drive1");
    drive1->setCurrentIndex(1);
    QVERIFY(settled(window));

    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(drive1->drive(), QStringLiteral("/"));
    QCOMPARE(child<FolderListView>(window, "Dir1")->path(), QDir::currentPath());
    QCOMPARE(child<FileListView>(window, "File1")->path(), QDir::currentPath());
}

void TestMainWindow::nestedFailureShowsMessageOnce()
{
    StandInPlatform stand;
    Drives drives(stand);
    stand.program.folder = drives.c;
    stand.volumes.volumes.append(Volume{QStringLiteral("/"), QString()});
    MainWindow window;
    QVERIFY(settled(window));
    auto *drive1 = child<DriveComboBox>(window, "Drive1");
    auto *dir1 = child<FolderListView>(window, "Dir1");
    drive1->setCurrentIndex(0);
    QVERIFY(settled(window));
    dir1->setCurrentIndex(dir1->model()->index(2, 0));
    QTest::keyClick(dir1, Qt::Key_Return);
    QVERIFY(settled(window));
    QCOMPARE(dir1->path(), drives.a + "/musik");
    window.rememberFallBackDrive(); // remembers A
    QCOMPARE(window.fallBackDrive(), drives.textOf(drives.a));

    // A's mount point stays readable, its current folder does not: the
    // nested change back to A fails, the program's drive C takes over.
    stand.volumes.notReady.insert(drives.a + "/musik");
    stand.volumes.notReady.insert(drives.b);
    drive1->setCurrentIndex(1);
    QVERIFY(settled(window));
    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(drive1->drive(), drives.c);
    QCOMPARE(dir1->path(), drives.c);
    QCOMPARE(entriesOf(window.fileList()), QStringList{"c.txt"});
}

void TestMainWindow::noDriveRemembered()
{
    StandInPlatform stand;
    Drives drives(stand);
    stand.program.folder = drives.c;
    MainWindow window;
    QVERIFY(settled(window));
    auto *drive1 = child<DriveComboBox>(window, "Drive1");
    QCOMPARE(drive1->drive(), drives.c);
    QVERIFY(window.fallBackDrive().isEmpty());
    stand.volumes.notReady.insert(drives.b);
    drive1->setCurrentIndex(1);
    QVERIFY(settled(window));
    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(drive1->drive(), drives.c);
    QCOMPARE(child<FolderListView>(window, "Dir1")->path(), drives.c);
}

// A message box runs an event loop of its own: an answer that arrives
// meanwhile waits for it, and a read asked for once it is closed overtakes
// that answer. Here drive B is unmounted while one of its folders is read;
// the folder's answer must not count as a failure of the drive fallen back to.
void TestMainWindow::answerWaitingForABoxIsOvertaken()
{
    StandInPlatform stand;
    Drives drives(stand);
    stand.program.folder = drives.c;
    makeTree(drives.b, {"unten/"});
    MainWindow window;
    QVERIFY(settled(window));
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *drive1 = child<DriveComboBox>(window, "Drive1");
    auto *dir1 = child<FolderListView>(window, "Dir1");
    drive1->setCurrentIndex(0);
    QVERIFY(settled(window));
    window.rememberFallBackDrive(); // remembers A
    drive1->setCurrentIndex(1);
    QVERIFY(settled(window));

    stand.messageBox.whileOpen = [&window] { QVERIFY(QTest::qWaitFor([&window] { return !window.isLoading(); })); };
    dir1->setCurrentIndex(dir1->model()->index(1, 0)); // "unten"
    QTest::keyClick(dir1, Qt::Key_Return);
    stand.volumes.volumes.removeAt(1);
    Q_EMIT stand.volumes.volumesChanged();
    QVERIFY(settled(window));

    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown.at(0).text, QStringLiteral("Laufwerk nicht bereit !"));
    QCOMPARE(drive1->drive(), drives.textOf(drives.a));
    QCOMPARE(dir1->path(), drives.a);
}

void TestMainWindow::programFolderOnNoDrive()
{
    StandInPlatform stand;
    Drives drives(stand);
    // The working directory lies on drive B; the program on no drive at all.
    const QString previous = QDir::currentPath();
    QDir().mkpath(drives.b + "/arbeit");
    touch(drives.b + "/arbeit/hier.txt");
    QVERIFY(QDir::setCurrent(drives.b + "/arbeit"));
    stand.program.folder = QStringLiteral("/nirgends/programm");
    {
        MainWindow window;
        QVERIFY(settled(window));
        QCOMPARE(child<DriveComboBox>(window, "Drive1")->drive(), drives.b);
        QCOMPARE(child<FolderListView>(window, "Dir1")->path(), QDir::currentPath());
        QCOMPARE(entriesOf(window.fileList()), QStringList{"hier.txt"});
        QVERIFY(stand.messageBox.shown.isEmpty());
    }
    QVERIFY(QDir::setCurrent(previous));
}

void TestMainWindow::menuEntryDoesNothing()
{
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *entry = window.findChild<QAction *>(QStringLiteral("Einstellungen"));
    QVERIFY(entry);
    QCOMPARE(entry->text(), QStringLiteral("&Einstellungen"));
    QVERIFY(!entry->menu());
    entry->trigger();
    QVERIFY(window.isVisible());
    QCOMPARE(child<FolderListView>(window, "Dir1")->path(), drives.a);
    QCOMPARE(window.fileList().count(), 5);
    QVERIFY(stand.messageBox.shown.isEmpty());
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.cbegin(), windows.cend(),
                           [](QWidget *w) { return w->isVisible() && w->objectName() != QLatin1String("PrintDir"); }),
             0);
}

void TestMainWindow::buttonsHideWindow_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("print");
    QTest::newRow("Drucken") << "cmd_drucken" << true;
    QTest::newRow("Als Textdatei Speichern") << "cmd_save" << false;
}

void TestMainWindow::buttonsHideWindow()
{
    QFETCH(QString, button);
    QFETCH(bool, print);
    StandInPlatform stand;
    Drives drives(stand);
    MainWindow window;
    QVERIFY(settled(window));
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(child<QRadioButton>(window, "opt_mp3"), Qt::LeftButton);
    QVERIFY(settled(window));
    QTest::mouseClick(window.findChild<QPushButton *>(button), Qt::LeftButton);
    QVERIFY(!window.isVisible());

    SettingsDialog *dialog = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *d = print ? static_cast<SettingsDialog *>(qobject_cast<PrintSettingsDialog *>(w))
                            : static_cast<SettingsDialog *>(qobject_cast<SaveSettingsDialog *>(w)))
            dialog = d;
    }
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->parentWidget());
    QCOMPARE(&dialog->entries(), &window.fileList());
    QCOMPARE(&dialog->mainWindow(), static_cast<ProgramWindow *>(&window));

    // Closing the dialog brings the window back as it was.
    QPointer<SettingsDialog> guard(dialog);
    dialog->unloadWindow();
    QTRY_VERIFY(guard.isNull());
    QVERIFY(window.isVisible());
    QVERIFY(child<QRadioButton>(window, "opt_mp3")->isChecked());
    QCOMPARE(entriesOf(window.fileList()), (QStringList{"Lied 2.mp3", "Lied 10.mp3"}));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
