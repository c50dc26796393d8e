// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "core/lirabelerror.h"
#include "standins.h"
#include "ui/savesettingsdialog.h"
#include "ui/savetarget.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Lirabel;

namespace {

// The regular files of a real folder, by code point, read when the listing asks.
class FolderSource : public EntrySource
{
public:
    explicit FolderSource(QString path)
        : mPath(std::move(path))
    {
    }
    qsizetype count() const override { return names().size(); }
    QString entry(qsizetype position) const override { return names().at(position); }

private:
    QStringList names() const
    {
        QStringList list = QDir(mPath).entryList(QDir::Files);
        list.sort(Qt::CaseSensitive);
        return list;
    }
    QString mPath;
};

// Real text files that fail on request, as a full disk or a lost share would.
class FailingTextFiles : public TextFileService
{
public:
    int failAtWrite = -1; // the write (counted from 0) that fails
    bool failAtClose = false;
    int writes = 0;
    int discards = 0;

    std::unique_ptr<TextFileWriter> openForOutput(const QString &path) override
    {
        return std::make_unique<Writer>(*this, path, mReal.openForOutput(path));
    }

private:
    class Writer : public TextFileWriter
    {
    public:
        Writer(FailingTextFiles &files, QString path, std::unique_ptr<TextFileWriter> real)
            : mFiles(files)
            , mPath(std::move(path))
            , mReal(std::move(real))
        {
        }
        void writeLine(const QString &text) override
        {
            if (mFiles.writes++ == mFiles.failAtWrite)
                throw LirabelError(mPath + QStringLiteral("\nKein Platz mehr auf dem Gerät"));
            mReal->writeLine(text);
        }
        void close() override
        {
            if (mFiles.failAtClose)
                throw LirabelError(mPath + QStringLiteral("\nEin-/Ausgabefehler"));
            mReal->close();
        }
        void discard() override
        {
            ++mFiles.discards;
            mReal->discard();
        }

    private:
        FailingTextFiles &mFiles;
        QString mPath;
        std::unique_ptr<TextFileWriter> mReal;
    };

    QtTextFiles mReal;
};

struct Options
{
    bool endungen = false;
    bool nummer = false;
    bool zeilen = false;
    QString zeile; // typed over the "0" when not empty
};

void setOptions(SaveSettingsDialog *dialog, const Options &options)
{
    const auto tick = [dialog](const char *name, bool on) {
        if (on)
            QTest::mouseClick(dialog->findChild<QCheckBox *>(QLatin1String(name)), Qt::LeftButton);
    };
    tick("chk_endungen", options.endungen);
    tick("chk_nummer", options.nummer);
    tick("chk_zeilen", options.zeilen);
    if (!options.zeile.isEmpty()) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("txt_zeile"));
        edit->selectAll();
        QTest::keyClicks(edit, options.zeile);
    }
}

void clickWeiter(SaveSettingsDialog *dialog)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmd_weiter")), Qt::LeftButton);
}

} // namespace

class TestSaveListing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void threeFilesNoOptions();
    void emptyFolder();
    void options_data();
    void options();
    void nonAsciiNames();
    void extensionRule_data();
    void extensionRule();
    void cancelWritesNothing();
    void existingNameWithTxtAppended_data();
    void existingNameWithTxtAppended();
    void chosenNameExistsIsReplaced();
    void cannotCreate_data();
    void cannotCreate();
    void failureKeepsExistingFile_data();
    void failureKeepsExistingFile();
    void spacingRefusedBeforeAnyDialog();
    void exactlyMaxEntries();
    void spaceBarSavesWithNoOptions();
    void throughTheMainWindow();
    void tooManyFilesInTheMainWindow();

private:
    QTemporaryDir *mWork = nullptr; // the working directory during a test
    QString mPreviousCurrent;
};

void TestSaveListing::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void TestSaveListing::init()
{
    // A cancelled save must not write "DateiListe.txt" into the working directory.
    mWork = new QTemporaryDir;
    mPreviousCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(mWork->path()));
}

void TestSaveListing::cleanup()
{
    const QStringList left = allIn(mWork->path());
    QDir::setCurrent(mPreviousCurrent);
    delete mWork;
    mWork = nullptr;
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
}

void TestSaveListing::threeFilesNoOptions()
{
    QTemporaryDir folder, out;
    makeTree(folder.path(), {"b.txt", "c.txt", "a.txt"});
    StandInPlatform stand;
    stand.program.folder = QStringLiteral("/opt/lirabel/bin");
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("liste.txt")));
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    clickWeiter(dialog);

    QCOMPARE(contents(out.filePath(QStringLiteral("liste.txt"))), QByteArray("a.txt\r\nb.txt\r\nc.txt\r\n"));
    QCOMPARE(QFileInfo(out.filePath(QStringLiteral("liste.txt"))).size(), 21);
    QCOMPARE(allIn(out.path()), QStringList{"liste.txt"});

    QCOMPARE(stand.dialogs.saveRequests.size(), 1);
    QCOMPARE(stand.dialogs.saveRequests[0].initialFolder, QStringLiteral("/opt/lirabel/bin"));
    QCOMPARE(stand.dialogs.saveRequests[0].fileName, QStringLiteral("DateiListe"));
    QCOMPARE(stand.dialogs.saveRequests[0].maxLength, 260);
    QVERIFY(stand.messageBox.shown.isEmpty());

    QCOMPARE(main.showCalls, 1);
    QVERIFY(main.visible);
    QTRY_VERIFY(dialog.isNull());
}

void TestSaveListing::emptyFolder()
{
    QTemporaryDir folder, out;
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("leer")));
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    setOptions(dialog, {true, true, true, QStringLiteral("1")});
    clickWeiter(dialog);

    QVERIFY(QFile::exists(out.filePath(QStringLiteral("leer.txt"))));
    QCOMPARE(contents(out.filePath(QStringLiteral("leer.txt"))), QByteArray());
    QVERIFY(main.visible);
    QTRY_VERIFY(dialog.isNull());
}

void TestSaveListing::options_data()
{
    QTest::addColumn<bool>("endungen");
    QTest::addColumn<bool>("nummer");
    QTest::addColumn<bool>("zeilen");
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QByteArray>("expected");

    // The folder, by code point: Archiv.tar.gz Brief.doc README Zz.txt ab.c lied.mp3 x.y
    QTest::newRow("none") << false << false << false << QString()
                          << QByteArray(
                                 "Archiv.tar.gz\r\nBrief.doc\r\nREADME\r\nZz.txt\r\nab.c\r\nlied.mp3\r\nx.y\r\n");
    QTest::newRow("extensions left out") << true << false << false << QString()
                                         << QByteArray("Archiv.tar\r\nBrief\r\nREADME\r\nZz\r\nab\r\nlied\r\nx.y\r\n");
    QTest::newRow("numbered") << false << true << false << QString()
                              << QByteArray("001.) Archiv.tar.gz\r\n002.) Brief.doc\r\n003.) README\r\n004.) Zz.txt\r\n"
                                            "005.) ab.c\r\n006.) lied.mp3\r\n007.) x.y\r\n");
    QTest::newRow("blank line every 3") << false << false << true << QStringLiteral("3")
                                        << QByteArray("Archiv.tar.gz\r\nBrief.doc\r\nREADME\r\n\r\nZz.txt\r\nab.c\r\n"
                                                      "lied.mp3\r\n\r\nx.y\r\n");
    QTest::newRow("all together, 3") << true << true << true << QStringLiteral("3")
                                     << QByteArray("001.) Archiv.tar\r\n002.) Brief\r\n003.) README\r\n\r\n"
                                                   "004.) Zz\r\n005.) ab\r\n006.) lied\r\n\r\n007.) x.y\r\n");
    QTest::newRow("all together, 7: ends in a blank line")
        << true << true << true << QStringLiteral("7")
        << QByteArray("001.) Archiv.tar\r\n002.) Brief\r\n003.) README\r\n004.) Zz\r\n"
                      "005.) ab\r\n006.) lied\r\n007.) x.y\r\n\r\n");
    QTest::newRow("all together, 2,5 rounds to 2")
        << true << true << true << QStringLiteral("2,5")
        << QByteArray("001.) Archiv.tar\r\n002.) Brief\r\n\r\n003.) README\r\n004.) Zz\r\n\r\n"
                      "005.) ab\r\n006.) lied\r\n\r\n007.) x.y\r\n");
    QTest::newRow("spacing 1") << false << false << true << QStringLiteral("1")
                               << QByteArray(
                                      "Archiv.tar.gz\r\n\r\nBrief.doc\r\n\r\nREADME\r\n\r\nZz.txt\r\n\r\nab.c\r\n\r\n"
                                      "lied.mp3\r\n\r\nx.y\r\n\r\n");
    QTest::newRow("spacing 0") << false << false << true << QStringLiteral("0")
                               << QByteArray(
                                      "Archiv.tar.gz\r\nBrief.doc\r\nREADME\r\nZz.txt\r\nab.c\r\nlied.mp3\r\nx.y\r\n");
    QTest::newRow("negative spacing") << false << true << true << QStringLiteral("-2")
                                      << QByteArray("001.) Archiv.tar.gz\r\n002.) Brief.doc\r\n003.) README\r\n"
                                                    "004.) Zz.txt\r\n005.) ab.c\r\n006.) lied.mp3\r\n007.) x.y\r\n");
    QTest::newRow("spacing beyond the count") << false << false << true << QStringLiteral("8")
                                              << QByteArray("Archiv.tar.gz\r\nBrief.doc\r\nREADME\r\nZz.txt\r\nab.c\r\n"
                                                            "lied.mp3\r\nx.y\r\n");
    QTest::newRow("spacing text ignored unchecked") << false << false << false << QStringLiteral("zwei")
                                                    << QByteArray("Archiv.tar.gz\r\nBrief.doc\r\nREADME\r\nZz.txt\r\n"
                                                                  "ab.c\r\nlied.mp3\r\nx.y\r\n");
}

void TestSaveListing::options()
{
    QFETCH(bool, endungen);
    QFETCH(bool, nummer);
    QFETCH(bool, zeilen);
    QFETCH(QString, zeile);
    QFETCH(QByteArray, expected);

    QTemporaryDir folder, out;
    makeTree(folder.path(), {"lied.mp3", "README", "ab.c", "Brief.doc", "x.y", "Zz.txt", "Archiv.tar.gz"});
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("liste")));
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    setOptions(dialog, {endungen, nummer, zeilen, zeile});
    clickWeiter(dialog);

    QCOMPARE(contents(out.filePath(QStringLiteral("liste.txt"))), expected);
    QVERIFY(stand.messageBox.shown.isEmpty());
    QTRY_VERIFY(dialog.isNull());
}

void TestSaveListing::nonAsciiNames()
{
    QTemporaryDir folder, out;
    makeTree(folder.path(),
             {QString::fromUtf8("Привет.txt"), QString::fromUtf8("ÄÖÜß.txt"), QString::fromUtf8("Preis 5 €.pdf"),
              QString::fromUtf8("Bild 😀.png"), QString::fromUtf8("😀.png")});
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(QString::fromUtf8("Übersicht €")));
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    setOptions(dialog, {true, true, false, {}});
    clickWeiter(dialog);

    // The emoji is one character: one character in front of the dot, so its extension stays.
    const QByteArray expected = "001.) Bild \xf0\x9f\x98\x80\r\n"
                                "002.) Preis 5 \xe2\x82\xac\r\n"
                                "003.) \xc3\x84\xc3\x96\xc3\x9c\xc3\x9f\r\n"
                                "004.) \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\r\n"
                                "005.) \xf0\x9f\x98\x80.png\r\n";
    QCOMPARE(allIn(out.path()), QStringList{QString::fromUtf8("Übersicht €.txt")});
    QCOMPARE(contents(out.filePath(QString::fromUtf8("Übersicht €.txt"))), expected);
}

void TestSaveListing::extensionRule_data()
{
    // One row a line, laid out by hand.
    // clang-format off
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");

    QTest::newRow("no extension") << "liste" << "liste.txt";
    QTest::newRow(".txt") << "liste.txt" << "liste.txt";
    QTest::newRow(".TXT") << "liste.TXT" << "liste.TXT";
    QTest::newRow(".Txt") << "liste.Txt" << "liste.Txt.txt";
    QTest::newRow(".tXT") << "liste.tXT" << "liste.tXT.txt";
    QTest::newRow(".tx") << "liste.tx" << "liste.tx.txt";
    QTest::newRow(".csv") << "liste.csv" << "liste.csv.txt";
    QTest::newRow("txt inside") << "liste.txt.bak" << "liste.txt.bak.txt";
    QTest::newRow("txt without dot") << "listetxt" << "listetxt.txt";
    QTest::newRow("only .txt") << ".txt" << ".txt";
    QTest::newRow("shorter than four") << "a.t" << "a.t.txt";
    QTest::newRow("trailing dot") << "liste." << "liste..txt";
    QTest::newRow("emoji") << QString::fromUtf8("😀") << QString::fromUtf8("😀.txt");
    // clang-format on
}

void TestSaveListing::extensionRule()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);

    QCOMPARE(withTextExtension(chosen), written);

    QTemporaryDir folder, out;
    makeTree(folder.path(), {"a.txt"});
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(chosen));
    StandInWindow main;
    FolderSource entries(folder.path());
    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    clickWeiter(dialog);

    QCOMPARE(allIn(out.path()), QStringList{written});
    QCOMPARE(contents(out.filePath(written)), QByteArray("a.txt\r\n"));
    QVERIFY(stand.messageBox.shown.isEmpty());
}

void TestSaveListing::cancelWritesNothing()
{
    QTemporaryDir folder, out;
    makeTree(folder.path(), {"a.txt"});
    StandInPlatform stand;
    stand.program.folder = out.path();
    writeFile(out.filePath(QStringLiteral("DateiListe.txt")), "alt\r\n");
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    setOptions(dialog, {true, true, true, QStringLiteral("2")});
    clickWeiter(dialog); // the stand-in has no answer: Cancel

    QCOMPARE(stand.dialogs.saveRequests.size(), 1);
    QVERIFY(stand.messageBox.shown.isEmpty());
    QCOMPARE(allIn(out.path()), QStringList{"DateiListe.txt"});
    QCOMPARE(contents(out.filePath(QStringLiteral("DateiListe.txt"))), QByteArray("alt\r\n"));
    QCOMPARE(allIn(folder.path()), QStringList{"a.txt"});
    QCOMPARE(main.showCalls, 1);
    QVERIFY(main.visible);
    QTRY_VERIFY(dialog.isNull());
    // cleanup() checks that the working directory stayed empty.
}

void TestSaveListing::existingNameWithTxtAppended_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("Ja replaces") << true;
    QTest::newRow("Nein is Cancel") << false;
}

void TestSaveListing::existingNameWithTxtAppended()
{
    QFETCH(bool, replace);

    QTemporaryDir folder, out;
    makeTree(folder.path(), {"neu.txt"});
    const QString path = out.filePath(QStringLiteral("liste.txt"));
    writeFile(path, "alt\r\n");
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("liste")));
    stand.messageBox.questionAnswers.enqueue(replace);
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    clickWeiter(dialog);

    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown[0].kind, QStringLiteral("question"));
    QCOMPARE(stand.messageBox.shown[0].text,
             QStringLiteral("Die Datei %1 existiert bereits.\nSoll sie ersetzt werden?").arg(path));
    QCOMPARE(stand.messageBox.shown[0].title, QStringLiteral("Speichern"));
    QCOMPARE(contents(path), replace ? QByteArray("neu.txt\r\n") : QByteArray("alt\r\n"));
    QCOMPARE(allIn(out.path()), QStringList{"liste.txt"});
    QVERIFY(main.visible);
    QTRY_VERIFY(dialog.isNull());
}

void TestSaveListing::chosenNameExistsIsReplaced()
{
    // The save-file dialog has asked about the very name it returns; the
    // program does not ask again. Nor does it ask about a new name.
    QTemporaryDir folder, out;
    makeTree(folder.path(), {"neu.txt"});
    writeFile(out.filePath(QStringLiteral("liste.txt")), "alt\r\n");
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("liste.txt")));
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("andere")));
    StandInWindow main;
    FolderSource entries(folder.path());

    clickWeiter(openSettings<SaveSettingsDialog>(main, entries));
    clickWeiter(openSettings<SaveSettingsDialog>(main, entries));

    QVERIFY(stand.messageBox.shown.isEmpty());
    QCOMPARE(contents(out.filePath(QStringLiteral("liste.txt"))), QByteArray("neu.txt\r\n"));
    QCOMPARE(contents(out.filePath(QStringLiteral("andere.txt"))), QByteArray("neu.txt\r\n"));
}

void TestSaveListing::cannotCreate_data()
{
    // One row a line, laid out by hand.
    // clang-format off
    QTest::addColumn<QString>("chosen"); // relative to the output folder
    QTest::addColumn<QString>("path");
    QTest::newRow("folder does not exist") << "fehlt/liste" << "fehlt/liste.txt";
    QTest::newRow("parent is a file") << "datei/liste.txt" << "datei/liste.txt";
    QTest::newRow("name is a folder") << "ordner.txt" << "ordner.txt";
    // clang-format on
}

void TestSaveListing::cannotCreate()
{
    QFETCH(QString, chosen);
    QFETCH(QString, path);

    QTemporaryDir folder, out;
    makeTree(folder.path(), {"a.txt", "b.txt"});
    writeFile(out.filePath(QStringLiteral("datei")), "alt");
    QVERIFY(QDir(out.path()).mkdir(QStringLiteral("ordner.txt")));
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(chosen));
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    setOptions(dialog, {false, true, false, {}});
    clickWeiter(dialog);

    QCOMPARE(stand.messageBox.shown.size(), 1);
    const auto &box = stand.messageBox.shown[0];
    QCOMPARE(box.kind, QStringLiteral("critical"));
    QCOMPARE(box.title, QStringLiteral("Speicherfehler"));
    const QString head =
        QStringLiteral("Datei kann nicht gespeichert werden !\n") + out.filePath(path) + QLatin1Char('\n');
    QVERIFY2(box.text.startsWith(head), qPrintable(box.text));
    QVERIFY2(box.text.size() > head.size(), "the system's reason is missing");

    QCOMPARE(allIn(out.path()), (QStringList{"datei", "ordner.txt"}));
    QCOMPARE(contents(out.filePath(QStringLiteral("datei"))), QByteArray("alt"));
    QVERIFY(allIn(out.filePath(QStringLiteral("ordner.txt"))).isEmpty());
    QCOMPARE(main.showCalls, 1);
    QVERIFY(main.visible);
    QTRY_VERIFY(dialog.isNull());
}

void TestSaveListing::failureKeepsExistingFile_data()
{
    QTest::addColumn<int>("failAtWrite");
    QTest::addColumn<bool>("failAtClose");
    QTest::addColumn<QString>("reason");
    QTest::newRow("first line") << 0 << false << "Kein Platz mehr auf dem Gerät";
    QTest::newRow("in the middle") << 2 << false << "Kein Platz mehr auf dem Gerät";
    QTest::newRow("on completion") << -1 << true << "Ein-/Ausgabefehler";
}

void TestSaveListing::failureKeepsExistingFile()
{
    QFETCH(int, failAtWrite);
    QFETCH(bool, failAtClose);
    QFETCH(QString, reason);

    QTemporaryDir folder, out;
    makeTree(folder.path(), {"a.txt", "b.txt", "c.txt", "d.txt"});
    const QString path = out.filePath(QStringLiteral("liste.txt"));
    writeFile(path, "alt\r\n");
    StandInPlatform stand;
    FailingTextFiles files;
    files.failAtWrite = failAtWrite;
    files.failAtClose = failAtClose;
    platform().textFiles = &files;
    stand.dialogs.saveAnswers.enqueue(path);
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    clickWeiter(dialog);

    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown[0].kind, QStringLiteral("critical"));
    QCOMPARE(stand.messageBox.shown[0].text,
             QStringLiteral("Datei kann nicht gespeichert werden !\n%1\n%2").arg(path, reason));
    QCOMPARE(stand.messageBox.shown[0].title, QStringLiteral("Speicherfehler"));
    QCOMPARE(files.discards, 1);
    QCOMPARE(contents(path), QByteArray("alt\r\n"));
    QCOMPARE(allIn(out.path()), QStringList{"liste.txt"});
    QVERIFY(main.visible);
    QTRY_VERIFY(dialog.isNull());
}

void TestSaveListing::spacingRefusedBeforeAnyDialog()
{
    QTemporaryDir folder, out;
    makeTree(folder.path(), {"ab.txt"});
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("liste")));
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    setOptions(dialog, {true, false, true, QStringLiteral("zwei")});
    clickWeiter(dialog);

    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown[0].text, QStringLiteral("Keine gültige Zahl für die Leerzeilen !"));
    QCOMPARE(stand.messageBox.shown[0].title, QStringLiteral("Eingabefehler"));
    QVERIFY(stand.dialogs.saveRequests.isEmpty());
    QVERIFY(allIn(out.path()).isEmpty());
    QVERIFY(!main.visible);
    QCOMPARE(main.showCalls, 0);
    QVERIFY(!dialog.isNull());
    QVERIFY(dialog->isVisible());
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("txt_zeile"));
    QCOMPARE(edit->text(), QStringLiteral("zwei"));
    QCOMPARE(dialog->focusWidget(), edit);
    QCOMPARE(dialog->findChild<QCheckBox *>(QStringLiteral("chk_endungen"))->checkState(), Qt::Checked);

    // Corrected, the same dialog saves.
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("1"));
    clickWeiter(dialog);
    QCOMPARE(contents(out.filePath(QStringLiteral("liste.txt"))), QByteArray("ab\r\n\r\n"));
    QTRY_VERIFY(dialog.isNull());
}

void TestSaveListing::exactlyMaxEntries()
{
    QTemporaryDir out;
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("liste")));
    StandInWindow main;
    CountingSource entries(9999);

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    setOptions(dialog, {true, true, false, {}});
    clickWeiter(dialog);

    QVERIFY(stand.messageBox.shown.isEmpty());
    QCOMPARE(stand.program.endRequests, 0);
    const QList<QByteArray> lines = contents(out.filePath(QStringLiteral("liste.txt"))).split('\n');
    QCOMPARE(lines.size(), 10000); // 9999 lines and what follows the last line end
    QCOMPARE(lines[0], QByteArray("001.) f1\r"));
    QCOMPARE(lines[9998], QByteArray("9999.) f9999\r"));
    QCOMPARE(lines[9999], QByteArray());
    QTRY_VERIFY(dialog.isNull());
}

void TestSaveListing::spaceBarSavesWithNoOptions()
{
    QTemporaryDir folder, out;
    makeTree(folder.path(), {"x.mp3", "y.mp3"});
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("liste")));
    StandInWindow main;
    FolderSource entries(folder.path());

    QPointer<SaveSettingsDialog> dialog = openSettings<SaveSettingsDialog>(main, entries);
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);

    QCOMPARE(contents(out.filePath(QStringLiteral("liste.txt"))), QByteArray("x.mp3\r\ny.mp3\r\n"));
    QTRY_VERIFY(dialog.isNull());
}

void TestSaveListing::throughTheMainWindow()
{
    QTemporaryDir folder, out;
    makeTree(folder.path(), {"c.txt", "a.txt", "b.txt"});
    StandInPlatform stand;
    stand.volumes.volumes = {Volume{QStringLiteral("/"), QString()}};
    stand.program.folder = folder.path();
    QVERIFY(QDir::setCurrent(folder.path())); // the main window opens on the working directory
    MainWindow main;
    main.showWindow();
    QVERIFY(settled(main));
    QCOMPARE(main.fileList().count(), 3);
    auto *cmdSave = main.findChild<QPushButton *>(QStringLiteral("cmd_save"));

    // No options: each name and CR LF.
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("liste")));
    QTest::mouseClick(cmdSave, Qt::LeftButton);
    QVERIFY(!main.isVisible());
    QPointer<SaveSettingsDialog> dialog = visibleTopLevel<SaveSettingsDialog>();
    QVERIFY(dialog);
    clickWeiter(dialog);
    QCOMPARE(contents(out.filePath(QStringLiteral("liste.txt"))), QByteArray("a.txt\r\nb.txt\r\nc.txt\r\n"));
    QCOMPARE(QFileInfo(out.filePath(QStringLiteral("liste.txt"))).size(), 21);
    QCOMPARE(stand.dialogs.saveRequests.last().initialFolder, folder.path());
    QVERIFY(main.isVisible());
    QTRY_VERIFY(dialog.isNull());

    // The next opening starts afresh; every option on.
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("alles.TXT")));
    QTest::mouseClick(cmdSave, Qt::LeftButton);
    dialog = visibleTopLevel<SaveSettingsDialog>();
    QVERIFY(dialog);
    for (const char *name : {"chk_endungen", "chk_nummer", "chk_zeilen"})
        QCOMPARE(dialog->findChild<QCheckBox *>(QLatin1String(name))->checkState(), Qt::Unchecked);
    QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("txt_zeile"))->text(), QStringLiteral("0"));
    setOptions(dialog, {true, true, true, QStringLiteral("2")});
    clickWeiter(dialog);
    // One character before the dot: the extension stays.
    QCOMPARE(contents(out.filePath(QStringLiteral("alles.TXT"))),
             QByteArray("001.) a.txt\r\n002.) b.txt\r\n\r\n003.) c.txt\r\n"));
    QVERIFY(main.isVisible());
    QTRY_VERIFY(dialog.isNull());

    // Closed with the close box: nothing written, the main window back.
    QTest::mouseClick(cmdSave, Qt::LeftButton);
    dialog = visibleTopLevel<SaveSettingsDialog>();
    QVERIFY(dialog);
    QVERIFY(!main.isVisible());
    dialog->close();
    QVERIFY(main.isVisible());
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(stand.dialogs.saveRequests.size(), 2);
    QCOMPARE(allIn(out.path()), (QStringList{"alles.TXT", "liste.txt"}));
    QVERIFY(stand.messageBox.shown.isEmpty());
    QVERIFY(QDir::setCurrent(mWork->path()));
}

void TestSaveListing::tooManyFilesInTheMainWindow()
{
    QTemporaryDir folder, out;
    QStringList names;
    for (int i = 1; i <= 10000; ++i)
        names.append(QStringLiteral("f%1.txt").arg(i));
    makeTree(folder.path(), names);
    StandInPlatform stand;
    stand.volumes.volumes = {Volume{QStringLiteral("/"), QString()}};
    stand.program.folder = folder.path();
    QVERIFY(QDir::setCurrent(folder.path()));
    MainWindow main;
    main.showWindow();
    QVERIFY(settled(main));
    QCOMPARE(main.fileList().count(), 10000);

    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("liste")));
    QTest::mouseClick(main.findChild<QPushButton *>(QStringLiteral("cmd_save")), Qt::LeftButton);
    QPointer<SaveSettingsDialog> dialog = visibleTopLevel<SaveSettingsDialog>();
    QVERIFY(dialog);
    clickWeiter(dialog);

    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown[0].text, QStringLiteral("Mehr als 9999 Files im Verzeichniss nicht möglich"));
    QCOMPARE(stand.messageBox.shown[0].title, QStringLiteral("Zu viele Files !"));
    QCOMPARE(stand.program.endRequests, 1);
    QVERIFY(allIn(out.path()).isEmpty());
    QVERIFY(!main.isVisible());
    delete dialog;
    QVERIFY(QDir::setCurrent(mWork->path()));
}

QTEST_MAIN(TestSaveListing)
#include "tst_savelisting.moc"
