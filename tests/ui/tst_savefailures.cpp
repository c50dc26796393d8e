// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Saving with the real text files when the system says no: the disk fills up
// during the save, the folder may not be written, the folder is removed after
// it was listed. In each, the file that stood there before is unchanged, no
// partial or temporary file is left, the German message names the path and
// the system's reason, and the program goes on: the main window is back and
// the next save works.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "standins.h"
#include "ui/folderlistview.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Lirabel;

namespace {

constexpr uid_t Nobody = 65534;

// Files with long names, so that their listing is far larger than 64 KiB.
// Returns the listing as the text file must hold it.
QByteArray makeManyFiles(const QString &folder, int count)
{
    QByteArray expected;
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("eintrag-%1-%2.txt").arg(i, 4, 10, QLatin1Char('0')).arg(QString(80, u'x'));
        writeFile(QDir(folder).filePath(name), QByteArray());
        expected += name.toUtf8() + "\r\n";
    }
    return expected;
}

struct ChildReport
{
    int exitCode = -1;
    QString error;
    qsizetype entries = -1;
    QList<QStringList> boxes; // title, text
    QList<bool> visible;      // after each save
};

ChildReport runChild(const QStringList &arguments)
{
    ChildReport report;
    QProcess child;
    child.start(QStringLiteral(SAVE_CHILD), arguments);
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit) {
        report.error = child.errorString() + QString::fromLocal8Bit(child.readAllStandardError());
        return report;
    }
    report.exitCode = child.exitCode();
    report.error = QString::fromLocal8Bit(child.readAllStandardError());
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u'\t');
        if (fields.first() == QLatin1String("entries"))
            report.entries = fields.value(1).toLongLong();
        else if (fields.first() == QLatin1String("box"))
            report.boxes.append(
                {fields.value(1), fields.value(2).replace(QStringLiteral("\\n"), QStringLiteral("\n"))});
        else if (fields.first() == QLatin1String("visible"))
            report.visible.append(fields.value(1) == QLatin1String("1"));
    }
    return report;
}

// The message of a failed save: the path, then a reason from the system.
void verifySaveError(const QStringList &box, const QString &path)
{
    QCOMPARE(box.value(0), QStringLiteral("Speicherfehler"));
    const QString head = QStringLiteral("Datei kann nicht gespeichert werden !\n") + path + QLatin1Char('\n');
    QVERIFY2(box.value(1).startsWith(head), qPrintable(box.value(1)));
    QVERIFY2(box.value(1).size() > head.size(), "the system's reason is missing");
    QVERIFY2(!box.value(1).mid(head.size()).contains(u'\n'), qPrintable(box.value(1)));
}

// Lets another user reach a folder below the temporary root.
void openUp(const QString &folder, const QString &root)
{
    for (const QString &f : {root, folder})
        QVERIFY(::chmod(QFile::encodeName(f).constData(), 0755) == 0);
}

} // namespace

class TestSaveFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void diskFullDuringTheSave();
    void folderThatMayNotBeWritten();
    void folderRemovedAfterItWasListed();
};

void TestSaveFailures::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

// The child's file-size limit plays a disk that fills up: the save fails
// after the first 64 KiB of about 200 KiB.
void TestSaveFailures::diskFullDuringTheSave()
{
    QTemporaryDir source, out;
    const QByteArray listing = makeManyFiles(source.path(), 2000);
    const QString path = out.filePath(QStringLiteral("liste.txt"));
    writeFile(path, "alt\r\n");
    const QString second = out.filePath(QStringLiteral("zweite.txt"));

    const ChildReport report = runChild({QStringLiteral("fsize"), source.path(), path, second});
    if (report.exitCode == 77)
        QSKIP(qPrintable(QStringLiteral("no file-size limit here: ") + report.error));
    QVERIFY2(report.exitCode == 0, qPrintable(report.error));
    QCOMPARE(report.entries, 2000);

    QCOMPARE(report.boxes.size(), 1);
    verifySaveError(report.boxes.first(), path);
    // The reason in the program's own German, not the system's English.
    QCOMPARE(report.boxes.first().value(1).section(u'\n', 2), QStringLiteral("Datei zu groß"));
    QCOMPARE(contents(path), QByteArray("alt\r\n"));
    // Space again: the next save is complete.
    QCOMPARE(report.visible, (QList<bool>{true, true}));
    QCOMPARE(contents(second), listing);
    QCOMPARE(allIn(out.path()), (QStringList{"liste.txt", "zweite.txt"}));
}

// As user nobody in a folder of root's: may not write there. Root itself
// writes anywhere, so the save runs in a child that gives up root.
void TestSaveFailures::folderThatMayNotBeWritten()
{
    QTemporaryDir root;
    const QString source = root.filePath(QStringLiteral("quelle"));
    const QString locked = root.filePath(QStringLiteral("gesperrt"));
    const QString free = root.filePath(QStringLiteral("frei"));
    for (const QString &f : {source, locked, free})
        QVERIFY(QDir().mkpath(f));
    const QByteArray listing = makeManyFiles(source, 3);
    const QString path = locked + QStringLiteral("/liste.txt");
    writeFile(path, "alt\r\n");
    openUp(source, root.path());
    openUp(free, root.path());
    QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0555) == 0);
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
    if (geteuid() == 0)
        QVERIFY(::chown(QFile::encodeName(free).constData(), Nobody, Nobody) == 0);
    else
        QVERIFY(::chmod(QFile::encodeName(free).constData(), 0777) == 0);

    const QString second = free + QStringLiteral("/zweite.txt");
    const ChildReport report = runChild({QStringLiteral("nobody"), source, path, second});
    QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0755) == 0);
    if (report.exitCode == 77)
        QSKIP(qPrintable(QStringLiteral("cannot give up root here: ") + report.error));
    QVERIFY2(report.exitCode == 0, qPrintable(report.error));
    QCOMPARE(report.entries, 3);

    QCOMPARE(report.boxes.size(), 1);
    verifySaveError(report.boxes.first(), path);
    QCOMPARE(report.boxes.first().value(1).section(u'\n', 2), QStringLiteral("kein Schreibrecht"));
    QCOMPARE(contents(path), QByteArray("alt\r\n"));
    QCOMPARE(allIn(locked), QStringList{"liste.txt"});
    QCOMPARE(report.visible, (QList<bool>{true, true}));
    QCOMPARE(contents(second), listing);
    QCOMPARE(allIn(free), QStringList{"zweite.txt"});
}

// The listed folder is also where the listing goes, and it is removed while
// the save settings dialog is open.
void TestSaveFailures::folderRemovedAfterItWasListed()
{
    QTemporaryDir root, out;
    const QString folder = root.filePath(QStringLiteral("ordner"));
    QVERIFY(QDir().mkpath(folder));
    const QByteArray listing = makeManyFiles(folder, 3);
    StandInPlatform stand;
    stand.volumes.volumes = {Volume{root.path(), QString()}};
    stand.program.folder = folder;
    MainWindow main;
    main.showWindow();
    main.openFolder(QFile::encodeName(folder));
    QVERIFY(settled(main));
    QCOMPARE(main.fileList().count(), 3);

    const QString path = folder + QStringLiteral("/liste.txt");
    stand.dialogs.saveAnswers.enqueue(path);
    auto *cmdSave = main.findChild<QPushButton *>(QStringLiteral("cmd_save"));
    QTest::mouseClick(cmdSave, Qt::LeftButton);
    QPointer<SaveSettingsDialog> dialog = visibleTopLevel<SaveSettingsDialog>();
    QVERIFY(dialog);
    QVERIFY(QDir(folder).removeRecursively());
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmd_weiter")), Qt::LeftButton);

    QCOMPARE(stand.messageBox.shown.size(), 1);
    verifySaveError({stand.messageBox.shown.first().title, stand.messageBox.shown.first().text}, path);
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(allIn(root.path()), QStringList());
    QVERIFY(main.isVisible());
    QTRY_VERIFY(dialog.isNull());

    // The list still shows what was listed; saved elsewhere, all of it.
    const QString second = out.filePath(QStringLiteral("liste.txt"));
    stand.dialogs.saveAnswers.enqueue(second);
    QTest::mouseClick(cmdSave, Qt::LeftButton);
    dialog = visibleTopLevel<SaveSettingsDialog>();
    QVERIFY(dialog);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmd_weiter")), Qt::LeftButton);
    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(contents(second), listing);
    QCOMPARE(allIn(out.path()), QStringList{"liste.txt"});
    QVERIFY(main.isVisible());
}

QTEST_MAIN(TestSaveFailures)
#include "tst_savefailures.moc"
