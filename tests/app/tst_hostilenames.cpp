// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Names a folder may hold that break naive listings: control characters,
// bytes that are not UTF-8, the longest names, bidirectional marks, combining
// characters, blanks at either end, dots and blanks only. Each is made on
// disk with its exact bytes, listed by the file list, saved through the save
// target and printed through the Qt printer to PDF. Every entry stays one
// line; control characters become "?", nothing else changes.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "fs/folderscan.h"
#include "pdfreader.h"
#include "standins.h"
#include "ui/filelistmodel.h"
#include "ui/printsettingsdialog.h"
#include "ui/qtprinter.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

using namespace Lirabel;

namespace {

// Creates a file under its exact bytes, whatever Qt would make of them.
bool makeRawFile(const QString &folder, const QByteArray &name)
{
    const QByteArray path = QFile::encodeName(folder) + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// A temporary folder whose files are removed by their bytes: QTemporaryDir
// cannot remove names that are not UTF-8.
class RawFolder
{
public:
    RawFolder() = default;
    RawFolder(const RawFolder &) = delete;
    RawFolder &operator=(const RawFolder &) = delete;
    ~RawFolder()
    {
        const QByteArray folder = QFile::encodeName(mDir.path());
        if (DIR *dir = ::opendir(folder.constData())) {
            while (const dirent *entry = ::readdir(dir)) {
                const QByteArray name(entry->d_name);
                if (name != "." && name != "..")
                    ::unlink((folder + '/' + name).constData());
            }
            ::closedir(dir);
        }
    }
    [[nodiscard]] QString path() const { return mDir.path(); }

private:
    QTemporaryDir mDir;
};

QPushButton *weiterOf(QWidget *dialog)
{
    return dialog->findChild<QPushButton *>(QStringLiteral("cmd_weiter"));
}

// Saves the entries through the save settings dialog, no options.
void save(const EntrySource &entries, StandInPlatform &stand, const QString &path)
{
    StandInWindow main;
    main.hideWindow();
    stand.dialogs.saveAnswers.enqueue(path);
    QPointer<SaveSettingsDialog> dialog = new SaveSettingsDialog(main, entries);
    dialog->showWindow();
    QTest::mouseClick(weiterOf(dialog), Qt::LeftButton);
    QVERIFY(main.visible);
    delete dialog;
}

// Prints the entries through the print settings dialog, no options, to a PDF.
PdfDocument print(const EntrySource &entries, StandInPlatform &stand, const QString &pdfPath)
{
    PdfPrinter printer(pdfPath);
    // Small enough that a 255-byte name fits the width of the page.
    stand.dialogs.fontAnswers.enqueue(FontChoice{QStringLiteral("Liberation Sans"), 6});
    stand.dialogs.printerAnswers.enqueue(true);
    StandInWindow main;
    main.hideWindow();
    QPointer<PrintSettingsDialog> dialog = new PrintSettingsDialog(main, entries);
    dialog->showWindow();
    QTest::mouseClick(weiterOf(dialog), Qt::LeftButton);
    delete dialog;
    return readPdf(pdfPath);
}

// The characters a reader finds on a printed line. pdftotext puts the
// glyphs of right-to-left runs in the order they stand on the page and a
// blank after combining marks; the printer draws bidirectional marks, which
// are invisible. So: composed, without blanks and format characters, sorted.
QString printedCharacters(const QString &text)
{
    QString kept;
    for (const QChar c : text.normalized(QString::NormalizationForm_C)) {
        if (!c.isSpace() && c.category() != QChar::Other_Format)
            kept.append(c);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

QByteArray repeated(const QByteArray &piece, int times)
{
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

const QByteArray Nfc = "M\xc3\xbcller.txt";  // ü as one character
const QByteArray Nfd = "Mu\xcc\x88ller.txt"; // u and a combining diaeresis

} // namespace

class TestHostileNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void oneName_data();
    void oneName();
    void wholeFolderThroughTheMainWindow();
};

void TestHostileNames::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void TestHostileNames::oneName_data()
{
    // One row a line, laid out by hand.
    // clang-format off
    QTest::addColumn<QByteArray>("onDisk");
    // The line as listed and saved, in UTF-8; empty: the name is hidden.
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("newline") << QByteArray("zeile\nzwei.txt") << QByteArray("zeile?zwei.txt");
    QTest::newRow("carriage return") << QByteArray("wagen\rlauf.txt") << QByteArray("wagen?lauf.txt");
    QTest::newRow("CR LF") << QByteArray("a\r\nb.txt") << QByteArray("a??b.txt");
    QTest::newRow("newline at the end") << QByteArray("ende.txt\n") << QByteArray("ende.txt?");
    QTest::newRow("tab") << QByteArray("tab\tstop.txt") << QByteArray("tab?stop.txt");
    QTest::newRow("escape sequence") << QByteArray("\x1b[31mrot.txt") << QByteArray("?[31mrot.txt");
    QTest::newRow("delete") << QByteArray("entf\x7f.txt") << QByteArray("entf?.txt");
    QTest::newRow("form feed and bell") << QByteArray("seite\x0c\x07.txt") << QByteArray("seite??.txt");
    QTest::newRow("Latin-1 bytes") << QByteArray("gr\xfc\xdf" "e.txt") << QByteArray("gr\xc3\xbc\xc3\x9f" "e.txt");
    QTest::newRow("cut UTF-8 sequence") << QByteArray("ende\xc3") << QByteArray("ende\xc3\x83");
    QTest::newRow("Windows-1252 dash") << QByteArray("a\x96" "b.mp3") << QByteArray("a\xe2\x80\x93" "b.mp3");
    QTest::newRow("byte Windows-1252 leaves open") << QByteArray("a\x81" "b.mp3") << QByteArray("a?b.mp3");
    QTest::newRow("255 bytes ASCII") << repeated("l", 251) + ".txt" << repeated("l", 251) + ".txt";
    QTest::newRow("255 bytes umlauts") << repeated("\xc3\xa4", 125) + "x.txt" << repeated("\xc3\xa4", 125) + "x.txt";
    QTest::newRow("255 bytes euro signs") << repeated("\xe2\x82\xac", 84) + "abc" << repeated("\xe2\x82\xac", 84) + "abc";
    QTest::newRow("right-to-left mark") << QByteArray("\xe2\x80\x8f" "brief.txt")
                                        << QByteArray("\xe2\x80\x8f" "brief.txt");
    QTest::newRow("right-to-left override") << QByteArray("rechnung\xe2\x80\xaetxt.exe")
                                            << QByteArray("rechnung\xe2\x80\xaetxt.exe");
    QTest::newRow("NFC") << Nfc << Nfc;
    QTest::newRow("NFD") << Nfd << Nfd;
    QTest::newRow("leading blanks") << QByteArray("  vorne.txt") << QByteArray("  vorne.txt");
    QTest::newRow("trailing blanks") << QByteArray("hinten.txt  ") << QByteArray("hinten.txt  ");
    QTest::newRow("blank dot blank") << QByteArray("  . ") << QByteArray("  . ");
    QTest::newRow("blanks only") << QByteArray("   ") << QByteArray("   ");
    QTest::newRow("three dots, hidden") << QByteArray("...") << QByteArray();
    QTest::newRow("dot blank, hidden") << QByteArray(". ") << QByteArray();
    QTest::newRow("dot newline, hidden") << QByteArray(".\n") << QByteArray();
    // clang-format on
}

void TestHostileNames::oneName()
{
    QFETCH(QByteArray, onDisk);
    QFETCH(QByteArray, line);

    RawFolder folder;
    QTemporaryDir out;
    QVERIFY(makeRawFile(folder.path(), onDisk));
    QVERIFY(makeRawFile(folder.path(), "zuletzt.txt")); // a plain neighbour
    StandInPlatform stand;

    FileListModel list;
    list.showFiles(folder.path(), scanFolder(folder.path(), ScanFor::Files)->files);
    const QString shown = QString::fromUtf8(line);
    const QStringList entries = entriesOf(list);
    if (line.isEmpty()) {
        QCOMPARE(entries, QStringList{"zuletzt.txt"});
    } else {
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries.contains(shown));
        QVERIFY(entries.contains(QStringLiteral("zuletzt.txt")));
    }
    QCOMPARE(list.rowCount(), int(entries.size()));
    QCOMPARE(list.data(list.index(0)).toString(), entries.first());

    const QString textPath = out.filePath(QStringLiteral("liste.txt"));
    save(list, stand, textPath);
    QVERIFY(stand.messageBox.shown.isEmpty());
    QByteArray expectedFile;
    for (const QString &entry : entries)
        expectedFile += (entry == shown ? line : entry.toUtf8()) + "\r\n";
    QCOMPARE(contents(textPath), expectedFile);

    const PdfDocument pdf = print(list, stand, out.filePath(QStringLiteral("liste.pdf")));
    QVERIFY(stand.messageBox.shown.isEmpty());
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    QCOMPARE(pdf.pages, 1);
    QStringList printed;
    for (const PdfLine &printedLine : pdf.lines)
        printed.append(printedCharacters(printedLine.text));
    QStringList expectedPrinted;
    for (const QString &entry : entries) {
        if (!printedCharacters(entry).isEmpty()) // a line of blanks prints nothing to read
            expectedPrinted.append(printedCharacters(entry));
    }
    QCOMPARE(printed, expectedPrinted);
    // Where nothing needs reordering, the line reads exactly as the entry.
    if (line == "  vorne.txt" || line.startsWith("lll") || line.contains('?'))
        QVERIFY(pdf.lines.first().text == shown.simplified() || pdf.lines.last().text == shown.simplified());
}

// Every name in one folder, shown in the main window and saved from it: one
// line for each visible name, the two forms of "Müller" side by side.
void TestHostileNames::wholeFolderThroughTheMainWindow()
{
    RawFolder folder;
    QTemporaryDir out;
    // The escapes end where the next literal starts.
    // clang-format off
    const QList<QByteArray> names{"zeile\nzwei.txt", "wagen\rlauf.txt", "tab\tstop.txt", "gr\xfc\xdf" "e.txt", "gr\xe4\xdf" "e.txt",
                                  repeated("l", 251) + ".txt", "\xe2\x80\x8f" "brief.txt", Nfc, Nfd,
                                  "  vorne.txt", "hinten.txt  ", "  . ", "...", ". "};
    // clang-format on
    for (const QByteArray &name : names)
        QVERIFY(makeRawFile(folder.path(), name));
    StandInPlatform stand;
    stand.volumes.volumes = {Volume{folder.path(), QString()}};
    stand.program.folder = folder.path();
    MainWindow main;
    QVERIFY(settled(main));
    main.showWindow();
    QCOMPARE(main.fileList().count(), names.size() - 2);

    const QString path = out.filePath(QStringLiteral("liste.txt"));
    stand.dialogs.saveAnswers.enqueue(path);
    QTest::mouseClick(main.findChild<QPushButton *>(QStringLiteral("cmd_save")), Qt::LeftButton);
    SaveSettingsDialog *dialog = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *d = qobject_cast<SaveSettingsDialog *>(w); d && d->isVisible())
            dialog = d;
    }
    QVERIFY(dialog);
    QPointer<SaveSettingsDialog> guard(dialog);
    QTest::mouseClick(weiterOf(dialog), Qt::LeftButton);
    QVERIFY(stand.messageBox.shown.isEmpty());
    QVERIFY(main.isVisible());

    QByteArray saved = contents(path);
    QVERIFY(saved.endsWith("\r\n"));
    saved.chop(2);
    const QList<QByteArray> lines = saved.split('\n');
    QCOMPARE(lines.size(), names.size() - 2);
    QList<QByteArray> bare;
    for (const QByteArray &l : lines) {
        QVERIFY(l.endsWith('\r') || &l == &lines.last());
        bare.append(l.endsWith('\r') ? l.chopped(1) : l);
        QVERIFY2(!bare.last().contains('\r'), bare.last().constData());
    }
    // In the order the list shows them.
    QStringList fromFile;
    for (const QByteArray &l : bare)
        fromFile.append(QString::fromUtf8(l));
    QCOMPARE(fromFile, entriesOf(main.fileList()));
    QVERIFY(bare.contains(Nfc));
    QVERIFY(bare.contains(Nfd));
    QVERIFY(bare.contains("zeile?zwei.txt"));
    QVERIFY(bare.contains("gr\xc3\xbc\xc3\x9f"
                          "e.txt")
            && bare.contains("gr\xc3\xa4\xc3\x9f"
                             "e.txt"));
    QVERIFY(bare.contains("  vorne.txt"));
    QVERIFY(bare.contains("hinten.txt  "));
    QVERIFY(bare.contains("  . "));
    QVERIFY(!bare.contains("..."));
    QTRY_VERIFY(guard.isNull());
}

QTEST_MAIN(TestHostileNames)
#include "tst_hostilenames.moc"
