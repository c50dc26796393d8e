// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"
#include "standins.h"
#include "ui/qtdialogs.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Lirabel;

namespace {

QLineEdit *fileNameEdit(QFileDialog *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

void typeName(QFileDialog *dialog, const QString &name)
{
    QLineEdit *edit = fileNameEdit(dialog);
    edit->selectAll();
    QTest::keyClicks(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
}

} // namespace

class TestQtSaveDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void opensAsTheProgramAsks();
    void opensWhereTheUserMayWrite_data();
    void opensWhereTheUserMayWrite();
    void acceptsTypedNameWithoutAddingAnExtension();
    void cancel();
    void asksBeforeReplacing_data();
    void asksBeforeReplacing();
    void savesThroughTheSettingsDialog();
};

void TestQtSaveDialog::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void TestQtSaveDialog::opensAsTheProgramAsks()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("a.mp3")), "x");
    QtDialogs dialogs;
    QString title, folder, name, fileTypes, acceptText, suffix;
    bool native = true, confirms = false;
    whenModal<QFileDialog>(this, [&](QFileDialog *d) {
        title = d->windowTitle();
        folder = d->directory().absolutePath();
        name = fileNameEdit(d)->text();
        fileTypes = d->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))->currentText();
        acceptText = d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->text();
        suffix = d->defaultSuffix();
        native = !d->testOption(QFileDialog::DontUseNativeDialog);
        confirms = !d->testOption(QFileDialog::DontConfirmOverwrite);
        d->reject();
    });
    QVERIFY(!dialogs.saveFileName(dir.path(), QStringLiteral("DateiListe"), 260));

    QCOMPARE(title, QStringLiteral("Speichern unter"));
    QCOMPARE(acceptText, QStringLiteral("S&peichern"));
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QCOMPARE(name, QStringLiteral("DateiListe"));
    QCOMPARE(fileTypes, QStringLiteral("Alle Dateien (*)"));
    QVERIFY(suffix.isEmpty());
    QVERIFY(!native);
    QVERIFY(confirms);
}

void TestQtSaveDialog::opensWhereTheUserMayWrite_data()
{
    // Folders below a home folder of the test's own; "" is the home folder.
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("documents");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program folder writable") << "programm" << true << "programm";
    QTest::newRow("program folder read-only") << "nurlesen" << true << "Documents";
    QTest::newRow("program folder gone") << "weg" << true << "Documents";
    QTest::newRow("no documents folder") << "weg" << false << "";
}

void TestQtSaveDialog::opensWhereTheUserMayWrite()
{
    QFETCH(QString, asked);
    QFETCH(bool, documents);
    QFETCH(QString, expected);

    QTemporaryDir home;
    const QDir homeDir(home.path());
    homeDir.mkpath(QStringLiteral("programm"));
    homeDir.mkpath(QStringLiteral("nurlesen"));
    QFile::setPermissions(homeDir.filePath(QStringLiteral("nurlesen")), QFile::ReadOwner | QFile::ExeOwner);
    if (documents)
        homeDir.mkpath(QStringLiteral("Documents"));
    if (asked == QLatin1String("nurlesen") && QFileInfo(homeDir.filePath(asked)).isWritable())
        QSKIP("this user may write into a read-only folder (root)");

    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        if (oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
    });
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(homeDir.filePath(QStringLiteral(".config"))));

    QtDialogs dialogs;
    QString folder;
    whenModal<QFileDialog>(this, [&](QFileDialog *d) {
        folder = d->directory().absolutePath();
        d->reject();
    });
    QVERIFY(!dialogs.saveFileName(homeDir.filePath(asked), QStringLiteral("DateiListe"), 260));
    QCOMPARE(folder, QDir(homeDir.filePath(expected)).absolutePath());
}

void TestQtSaveDialog::acceptsTypedNameWithoutAddingAnExtension()
{
    QTemporaryDir dir;
    QtDialogs dialogs;
    whenModal<QFileDialog>(this, [](QFileDialog *d) { typeName(d, QString::fromUtf8("Übersicht")); });
    const auto chosen = dialogs.saveFileName(dir.path(), QStringLiteral("DateiListe"), 260);
    QVERIFY(chosen);
    QCOMPARE(*chosen, QDir(dir.path()).absoluteFilePath(QString::fromUtf8("Übersicht")));
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestQtSaveDialog::cancel()
{
    QTemporaryDir dir;
    QtDialogs dialogs;
    whenModal<QFileDialog>(this, [](QFileDialog *d) {
        fileNameEdit(d)->setText(QStringLiteral("liste"));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QVERIFY(!dialogs.saveFileName(dir.path(), QStringLiteral("DateiListe"), 260));
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestQtSaveDialog::asksBeforeReplacing_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("Ja") << true;
    QTest::newRow("Nein, then Cancel") << false;
}

void TestQtSaveDialog::asksBeforeReplacing()
{
    QFETCH(bool, replace);

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).absoluteFilePath(QStringLiteral("liste.txt"));
    writeFile(path, "alt\r\n");
    QtDialogs dialogs;
    QString question;
    whenModal<QFileDialog>(this, [&](QFileDialog *d) {
        whenModal<QMessageBox>(this, [&](QMessageBox *box) {
            question = box->text();
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            if (!replace)
                whenModal<QFileDialog>(this, [](QFileDialog *again) { again->reject(); });
        });
        typeName(d, QStringLiteral("liste.txt"));
    });
    const auto chosen = dialogs.saveFileName(dir.path(), QStringLiteral("DateiListe"), 260);

    QVERIFY2(question.contains(QStringLiteral("liste.txt")) && question.contains(QStringLiteral("existiert bereits")),
             qPrintable(question));
    QCOMPARE(chosen.has_value(), replace);
    if (replace)
        QCOMPARE(*chosen, path);
    QCOMPARE(contents(path), QByteArray("alt\r\n"));
}

void TestQtSaveDialog::savesThroughTheSettingsDialog()
{
    QTemporaryDir dir;
    StandInPlatform stand;
    QtDialogs dialogs;
    platform().dialogs = &dialogs;
    stand.program.folder = dir.path();
    StandInWindow main;
    ListSource entries({QStringLiteral("Lied 1.mp3"), QStringLiteral("Lied 2.mp3")});

    main.hideWindow();
    QPointer<SaveSettingsDialog> options = new SaveSettingsDialog(main, entries);
    options->showWindow();
    QTest::mouseClick(options->findChild<QCheckBox *>(QStringLiteral("chk_nummer")), Qt::LeftButton);
    QString folder;
    whenModal<QFileDialog>(this, [&](QFileDialog *d) {
        folder = d->directory().absolutePath();
        typeName(d, QStringLiteral("lieder"));
    });
    QTest::mouseClick(options->findChild<QPushButton *>(QStringLiteral("cmd_weiter")), Qt::LeftButton);

    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QCOMPARE(contents(dir.filePath(QStringLiteral("lieder.txt"))),
             QByteArray("001.) Lied 1.mp3\r\n002.) Lied 2.mp3\r\n"));
    QVERIFY(stand.messageBox.shown.isEmpty());
    QVERIFY(main.visible);
    QTRY_VERIFY(options.isNull());
}

QTEST_MAIN(TestQtSaveDialog)
#include "tst_qtsavedialog.moc"
