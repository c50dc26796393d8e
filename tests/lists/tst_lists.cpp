// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Lists without the window: `lirabel --liste` run as a user runs it, its
// output read back by the tools that open it (Python's csv module, an HTML
// parser, the playlist's lines), and its text against the window's save.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "standins.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Lirabel;

namespace {

// Debian's own, which has python3-mutagen, whatever else PATH holds.
const QString Python = QStringLiteral("/usr/bin/python3");

// Prints each row of a csv or html list as its cells joined by "|".
constexpr char Reader[] = R"(
import csv, html.parser, sys
data = sys.stdin.buffer.read()
if sys.argv[1].startswith('csv'):
    assert data.startswith(b'\xef\xbb\xbf')
    for row in csv.reader(data[3:].decode('utf-8').split('\r\n')[:-1], delimiter=sys.argv[2]):
        print('|'.join(row))
else:
    class Rows(html.parser.HTMLParser):
        cells = None
        def handle_starttag(self, tag, attrs):
            if tag == 'tr': self.cells = []
            if tag in ('td', 'th') and self.cells is not None: self.cells.append('')
        def handle_endtag(self, tag):
            if tag == 'tr': print('|'.join(self.cells)); self.cells = None
        def handle_data(self, text):
            if self.cells: self.cells[-1] += text
    Rows().feed(data.decode('utf-8'))
)";

QByteArray run(const QString &program, const QStringList &arguments, const QByteArray &input = {},
               int *exitCode = nullptr, const QString &workingDirectory = {})
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        qFatal("%s did not finish", qPrintable(program));
    if (exitCode)
        *exitCode = process.exitCode();
    return process.readAllStandardOutput();
}

// A silent MP3 of so many seconds, tagged where artist is given.
void makeMp3(const QString &path, int seconds, const QString &artist = {}, const QString &title = {})
{
    writeFile(path + ".raw", QByteArray(seconds * 44100 * 2, '\0'));
    run("lame",
        {"--silent", "-r", "-s", "44.1", "-m", "m", "--bitwidth", "16", "--signed", "--little-endian", path + ".raw",
         path});
    QFile::remove(path + ".raw");
    if (!artist.isEmpty())
        run(Python,
            {"-c",
             "import mutagen,sys; f = mutagen.File(sys.argv[1], easy=True); f.add_tags(); "
             "f['artist'] = sys.argv[2]; f['title'] = sys.argv[3]; "
             "f['tracknumber'] = '7/12'; f['date'] = '1998'; f['genre'] = 'Rock, Pop'; f.save()",
             path, artist, title});
    QVERIFY(QFileInfo(path).size() > 0);
}

} // namespace

class TestLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void formats_data();
    void formats();
    void sameAsWindow();
    void noEntryLimit();
    void playlists_data();
    void playlists();
    void outputTargets_data();
    void outputTargets();
    void withoutContentModule();
    void folderNotEntered();

private:
    QTemporaryDir mRoot;
    QString mFolder;
};

void TestLists::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
    mFolder = mRoot.filePath("Musik");
    makeTree(mFolder,
             {"b;c.txt", "quo\"te.txt", "zeile\nbruch.txt", "<&>.txt", "Ümlaut.txt", "=summe.txt", "sub/x.txt",
              ".versteckt/y.txt", "leer/"});
    ::close(::open(QFile::encodeName(mFolder) + "/f\xfc.txt", O_CREAT | O_WRONLY, 0644));
    QVERIFY(QFile::link("..", mFolder + "/sub/schleife"));
    makeMp3(mFolder + "/lied.mp3", 3, "Die \"Ärzte\"; Band", "<Lied & mehr>");
    makeMp3(mFolder + "/stille.mp3", 1);
    // One old file, one new one, the others alike.
    run("sh",
        {"-c", "cd \"$1\" && touch -d 2020-01-01 * && touch -d 2001-01-01 'b;c.txt' && touch -d 2030-01-01 q*", "sh",
         mFolder});
}

void TestLists::cleanupTestCase()
{
    ::unlink(QFile::encodeName(mFolder) + "/f\xfc.txt"); // QTemporaryDir cannot remove it
}

void TestLists::formats_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("read"); // text, text crlf, csv, html or m3u
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("csv") << QStringList{"--format",      "csv",       "--nummern",
                                        "--unterordner", "--spalten", "name,ordner,interpret,titel,dauer"}
                         << "csv"
                         << QStringList{"Nr.|Name|Ordner|Interpret|Titel|Dauer",
                                        "1|<&>.txt|.|||",
                                        "2|'=summe.txt|.|||",
                                        "3|b;c.txt|.|||",
                                        "4|fü.txt|.|||",
                                        "5|lied.mp3|.|Die \"Ärzte\"; Band|<Lied & mehr>|0:00:03",
                                        "6|quo\"te.txt|.|||",
                                        "7|stille.mp3|.|||0:00:01",
                                        "8|Ümlaut.txt|.|||",
                                        "9|zeile?bruch.txt|.|||",
                                        "10|x.txt|sub|||"};
    QTest::newRow("html") << QStringList{"--format",        "html",      "--unterordner",
                                         "--ohne-endungen", "--spalten", "name,titel,dauer"}
                          << "html"
                          << QStringList{"Name|Titel|Dauer",
                                         "%1",
                                         "<&>||",
                                         "=summe||",
                                         "b;c||",
                                         "fü||",
                                         "lied|<Lied & mehr>|0:00:03",
                                         "quo\"te||",
                                         "stille||0:00:01",
                                         "Ümlaut||",
                                         "zeile?bruch||",
                                         "sub/",
                                         "x.txt||"};
    // A playlist holds what plays; a filter chosen rules (the next row).
    QTest::newRow("m3u") << QStringList{"--format", "m3u", "--unterordner"} << "m3u"
                         << QStringList{"#EXTM3U", "#EXTINF:3,Die \"Ärzte\"; Band - <Lied & mehr>", "lied.mp3",
                                        "#EXTINF:1,stille.mp3", "stille.mp3"};
    QTest::newRow("m3u --endung *") << QStringList{"--format", "m3u", "--unterordner", "--endung", "*"} << "m3u"
                                    << QStringList{"#EXTM3U",
                                                   "#EXTINF:-1,<&>.txt",
                                                   "<&>.txt",
                                                   "#EXTINF:-1,=summe.txt",
                                                   "=summe.txt",
                                                   "#EXTINF:-1,b;c.txt",
                                                   "b;c.txt",
                                                   "#EXTINF:-1,fü.txt",
                                                   "f<FC>.txt",
                                                   "#EXTINF:3,Die \"Ärzte\"; Band - <Lied & mehr>",
                                                   "lied.mp3",
                                                   "#EXTINF:-1,quo\"te.txt",
                                                   "quo\"te.txt",
                                                   "#EXTINF:1,stille.mp3",
                                                   "stille.mp3",
                                                   "#EXTINF:-1,Ümlaut.txt",
                                                   "Ümlaut.txt",
                                                   "#EXTINF:-1,zeile?bruch.txt",
                                                   "file://%1/zeile%0Abruch.txt",
                                                   "#EXTINF:-1,x.txt",
                                                   "sub/x.txt"};
    // One blank line before a heading, also where the spacing has just written one.
    // Sizes: lied.mp3 with its tags is larger than stille.mp3, the rest empty.
    QTest::newRow("--sortierung groesse --umgekehrt")
        << QStringList{"--format", "csv", "--spalten", "name", "--sortierung", "groesse", "--umgekehrt"} << "csv"
        << QStringList{"Name",    "lied.mp3", "stille.mp3",  "<&>.txt",    "'=summe.txt",
                       "b;c.txt", "fü.txt",   "quo\"te.txt", "Ümlaut.txt", "zeile?bruch.txt"};
    QTest::newRow("--sortierung datum") << QStringList{"--format", "csv", "--spalten", "name", "--sortierung", "datum"}
                                        << "csv" << QStringList{"Name",        "b;c.txt",    "<&>.txt",
                                                                "'=summe.txt", "fü.txt",     "lied.mp3",
                                                                "stille.mp3",  "Ümlaut.txt", "zeile?bruch.txt",
                                                                "quo\"te.txt"};
    QTest::newRow("--ohne") << QStringList{"--unterordner", "--ohne", "*.mp3;=*", "--ohne", "su?"} << "text"
                            << QStringList{"<&>.txt",     "b;c.txt",    "fü.txt",
                                           "quo\"te.txt", "Ümlaut.txt", "zeile?bruch.txt"};
    QTest::newRow("--versteckte")
        << QStringList{"--versteckte", "--unterordner", "--endung", "txt"} << "text"
        << QStringList{"<&>.txt", "=summe.txt",  "b;c.txt", "fü.txt", "quo\"te.txt", "Ümlaut.txt", "zeile?bruch.txt",
                       "",        ".versteckt/", "y.txt",   "",       "sub/",        "x.txt"};
    QTest::newRow("--tiefe 0") << QStringList{"--tiefe", "0", "--endung", "txt"} << "text"
                               << QStringList{"<&>.txt",     "=summe.txt", "b;c.txt",        "fü.txt",
                                              "quo\"te.txt", "Ümlaut.txt", "zeile?bruch.txt"};
    QTest::newRow("--trenner ,") << QStringList{"--format", "csv", "--trenner", ",", "--spalten", "name,genre", "--mp3"}
                                 << "csv," << QStringList{"Name|Genre", "lied.mp3|Rock, Pop", "stille.mp3|"};
    QTest::newRow("pfad, titelnr, jahr, genre")
        << QStringList{"--format", "csv", "--unterordner", "--endung", "mp3", "--spalten", "pfad,titelnr,jahr,genre"}
        << "csv" << QStringList{"Pfad|Titelnr.|Jahr|Genre", "%1/lied.mp3|7|1998|Rock, Pop", "%1/stille.mp3|||"};
    QTest::newRow("text") << QStringList{"--unterordner", "--endung", "txt", "--nummern", "--leerzeile", "7"} << "text"
                          << QStringList{"001.) <&>.txt",
                                         "002.) =summe.txt",
                                         "003.) b;c.txt",
                                         "004.) fü.txt",
                                         "005.) quo\"te.txt",
                                         "006.) Ümlaut.txt",
                                         "007.) zeile?bruch.txt",
                                         "",
                                         "sub/",
                                         "008.) x.txt"};
    QTest::newRow("text --zeilenende crlf")
        << QStringList{"--zeilenende", "crlf", "--unterordner", "--endung", "txt"} << "text crlf"
        << QStringList{"<&>.txt",    "=summe.txt",      "b;c.txt", "fü.txt", "quo\"te.txt",
                       "Ümlaut.txt", "zeile?bruch.txt", "",        "sub/",   "x.txt"};
}

void TestLists::formats()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, read);
    QFETCH(QStringList, expected);
    int exitCode = -1;
    // A playlist on a pipe is relative to the working directory.
    const QByteArray out =
        run(LIRABEL_PROGRAM, QStringList{"--liste"} + arguments + QStringList{mFolder}, {}, &exitCode, mFolder);
    QCOMPARE(exitCode, 0);
    QByteArray got = out;
    if (read.startsWith("csv") || read == "html")
        got = run(Python, {"-c", Reader, read, read.mid(3, 1).isEmpty() ? ";" : read.mid(3, 1)}, out);
    // Text on standard output ends its lines with LF, as Unix tools expect.
    const char *end = read == "text crlf" ? "\r\n" : "\n";
    QByteArray want;
    for (const QString &line : expected)
        want += QString(line).replace("%1", mFolder).toUtf8().replace("<FC>", "\xfc") + end;
    QCOMPARE(got, want);
}

void TestLists::sameAsWindow()
{
    QTemporaryDir folder, out;
    makeTree(
        folder.path(),
        {"b;c.txt", "Ümlaut.txt", "zeile\nbruch.txt", "lied.mp3", "Titel 10.txt", "Titel 2.txt", "ab.c", "=summe"});
    const QByteArray latin1 = QFile::encodeName(folder.path())
        + "/gr\xfc\xdf"
          "e.txt";
    ::close(::open(latin1.constData(), O_CREAT | O_WRONLY, 0644));
    StandInPlatform stand;
    stand.volumes.volumes = {Volume{QStringLiteral("/"), QString()}};
    stand.program.folder = folder.path();
    QVERIFY(QDir::setCurrent(folder.path()));
    MainWindow main;
    main.showWindow();
    QVERIFY(settled(main));
    stand.dialogs.saveAnswers.enqueue(out.filePath("fenster.txt"));
    QTest::mouseClick(main.findChild<QPushButton *>("cmd_save"), Qt::LeftButton);
    auto *dialog = visibleTopLevel<SaveSettingsDialog>();
    for (const char *name : {"chk_endungen", "chk_nummer", "chk_zeilen"})
        QTest::mouseClick(dialog->findChild<QCheckBox *>(name), Qt::LeftButton);
    dialog->findChild<QLineEdit *>("txt_zeile")->setText("2,5");
    QTest::mouseClick(dialog->findChild<QPushButton *>("cmd_weiter"), Qt::LeftButton);

    int exitCode = -1;
    run(LIRABEL_PROGRAM,
        {"--liste", "--ohne-endungen", "--nummern", "--leerzeile", "2,5", "-o", out.filePath("liste.txt"),
         folder.path()},
        {}, &exitCode);
    QCOMPARE(exitCode, 0);
    const QByteArray listed = contents(out.filePath("liste.txt"));
    QCOMPARE(listed, contents(out.filePath("fenster.txt")));
    QVERIFY(listed.startsWith("001.) =summe\r\n002.) ab\r\n\r\n003.) b;c\r\n"));
    QVERIFY(listed.contains(") gr\xc3\xbc\xc3\x9f"
                            "e\r\n"));
    ::unlink(latin1.constData()); // QTemporaryDir cannot remove it
}

void TestLists::noEntryLimit()
{
    QTemporaryDir folder;
    run("sh", {"-c", "cd \"$1\" && seq 10000 | xargs touch", "sh", folder.path()});
    QProcess program;
    program.start(LIRABEL_PROGRAM, {"--liste", "--nummern", "-o", folder.filePath(".liste"), folder.path()});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(program.readAllStandardError(), QByteArray());
    const QByteArray listed = contents(folder.filePath(".liste"));
    QCOMPARE(listed.count("\r\n"), 10000);
    QVERIFY(listed.endsWith("\r\n9999.) 9999\r\n10000.) 10000\r\n"));
}

// A playlist's paths as a player resolves them: from the folder it is written
// to, "./" where a player would skip a comment or trim a blank.
void TestLists::playlists_data()
{
    QTest::addColumn<QString>("output"); // below the folder that holds Lieder; empty: a pipe from Lieder
    QTest::addColumn<QByteArray>("paths");
    QTest::newRow("Standardausgabe") << QString() << QByteArray("./ b.mp3\n./#a.mp3\nc.mp3\n");
    QTest::newRow("im Ordner") << "Lieder/liste.m3u" << QByteArray("./ b.mp3\n./#a.mp3\nc.mp3\n");
    QTest::newRow("daneben") << "liste.m3u" << QByteArray("Lieder/ b.mp3\nLieder/#a.mp3\nLieder/c.mp3\n");
    QTest::newRow("anderer Ordner") << "Listen/liste.m3u"
                                    << QByteArray("../Lieder/ b.mp3\n../Lieder/#a.mp3\n../Lieder/c.mp3\n");
}

void TestLists::playlists()
{
    QFETCH(QString, output);
    QFETCH(QByteArray, paths);
    QTemporaryDir top;
    makeTree(top.path(), {"Lieder/#a.mp3", "Lieder/ b.mp3", "Lieder/c.mp3", "Listen/"});
    QStringList arguments{"--liste", "--format", "m3u", top.filePath("Lieder")};
    if (!output.isEmpty())
        arguments += {"-o", top.filePath(output)};
    int exitCode = -1;
    QByteArray list = run(LIRABEL_PROGRAM, arguments, {}, &exitCode, top.filePath("Lieder"));
    QCOMPARE(exitCode, 0);
    if (!output.isEmpty())
        list = contents(top.filePath(output));
    QByteArray got;
    for (const QByteArray &line : list.split('\n'))
        got += line.startsWith("#EXT") || line.isEmpty() ? QByteArray() : line + '\n';
    QCOMPARE(got, paths);
}

// Where -o writes: what is no regular file is written into and stays what it
// is; a file that may not be written is refused in German and left alone.
void TestLists::outputTargets_data()
{
    QTest::addColumn<QString>("target"); // %1: a folder the user may list
    QTest::addColumn<bool>("asUser");    // as nobody where the test runs as root
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("said"); // standard error
    QTest::newRow("Zeichengerät") << "%1/null" << false << 0 << QByteArray();
    QTest::newRow("/dev/null als Benutzer") << "/dev/null" << true << 0 << QByteArray();
    QTest::newRow("FIFO") << "%1/fifo" << true << 0 << QByteArray();
    QTest::newRow("Ordner ohne Schreibrecht")
        << "%1/alt.txt" << true << 1
        << QByteArray("lirabel: Datei kann nicht gespeichert werden ! %1/alt.txt: kein Schreibrecht\n");
    QTest::newRow("Ordner fehlt")
        << "%1/fehlt/neu.txt" << false << 1
        << QByteArray("lirabel: Datei kann nicht gespeichert werden ! %1/fehlt/neu.txt: Ordner nicht vorhanden\n");
    QTest::newRow("Ordner, der keine Datei nimmt")
        << "/proc/neu.txt" << false << 1
        << QByteArray("lirabel: Datei kann nicht gespeichert werden ! /proc/neu.txt: In diesem Ordner kann keine "
                      "Datei angelegt werden\n");
}

void TestLists::outputTargets()
{
    QFETCH(QString, target);
    QFETCH(bool, asUser);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, said);
    QTemporaryDir folder;
    writeFile(folder.filePath("alt.txt"), "alt");
    target.replace("%1", folder.path());
    said.replace("%1", QFile::encodeName(folder.path()));
    const QByteArray path = QFile::encodeName(target);
    if (target.endsWith("/null") && target != "/dev/null" && ::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 3)))
        QSKIP("no device node without root");
    if (target.endsWith("/fifo"))
        QVERIFY(::mkfifo(path.constData(), 0666) == 0 && ::chmod(path.constData(), 0666) == 0);
    const QByteArray folderPath = QFile::encodeName(folder.path());
    QVERIFY(::chmod(folderPath.constData(), 0555) == 0);
    const auto writable = qScopeGuard([&folderPath] { ::chmod(folderPath.constData(), 0755); });
    const bool root = geteuid() == 0;
    QStringList arguments{LIRABEL_PROGRAM, "--liste", "-o", target, folder.path()};
    if (asUser && root)
        arguments = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"} + arguments;
    struct stat before
    {
    };
    const bool existed = ::stat(path.constData(), &before) == 0;
    QProcess reader; // the FIFO's other end
    if (target.endsWith("/fifo"))
        reader.start("cat", {target});
    QProcess program;
    program.start(asUser && root ? QStringLiteral("setpriv") : arguments.takeFirst(), arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.readAllStandardError(), said);
    QCOMPARE(program.exitCode(), exitCode);
    struct stat after
    {
    };
    QCOMPARE(::stat(path.constData(), &after) == 0, existed);
    if (!existed)
        return;
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_ino, before.st_ino);
    if (target.endsWith("/fifo")) {
        QVERIFY(reader.waitForFinished(30000));
        QCOMPARE(reader.readAllStandardOutput(), QByteArray("alt.txt\r\n"));
    }
    if (target.endsWith("/alt.txt"))
        QCOMPARE(contents(target), QByteArray("alt"));
}

// Checksums and tags are read by a module beside the program: a program
// without it says so and writes no list, rather than one without them.
void TestLists::withoutContentModule()
{
    QTemporaryDir folder;
    writeFile(folder.filePath("a.txt"), "a");
    QTemporaryDir alone;
    const QString program = alone.filePath("lirabel");
    QVERIFY(QFile::copy(LIRABEL_PROGRAM, program));
    QProcess run;
    run.start(program, {"--liste", "--format", "sha256", "-o", alone.filePath("liste.txt"), folder.path()});
    QVERIFY(run.waitForFinished(30000));
    const QByteArray said = run.readAllStandardError();
    QVERIFY2(said.startsWith("lirabel: Musikangaben und Pr\xc3\xbc"
                             "fsummen sind nicht zu lesen: ")
                 && said.endsWith("/lirabel-inhalte.so fehlt\n"),
             said.constData());
    QCOMPARE(run.exitCode(), 1);
    QVERIFY(!QFile::exists(alone.filePath("liste.txt")));
}

// A folder that can be read but not entered: its files listed without size,
// its link counted, and the list says so.
void TestLists::folderNotEntered()
{
    QTemporaryDir folder;
    makeTree(folder.path(), {"a.txt", "zu/b.txt", "zu/c.txt"});
    QVERIFY(QFile::link("b.txt", folder.filePath("zu/l.txt")));
    QVERIFY(::chmod(QFile::encodeName(folder.filePath("zu")).constData(), 0644) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder.path()).constData(), 0755) == 0);
    QStringList arguments{LIRABEL_PROGRAM, "--liste",   "--unterordner",       "--format",
                          "csv",           "--spalten", "name,ordner,groesse", "."};
    if (geteuid() == 0)
        arguments = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} + arguments;
    QProcess program;
    program.setWorkingDirectory(folder.path());
    program.start(arguments.takeFirst(), arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.readAllStandardError(),
             QByteArray("lirabel: Ordner lesbar, aber nicht zu betreten: ./zu (2 Dateien ohne Größe und Datum, 1 "
                        "Verknüpfungen oder Einträge unbekannter Art ausgelassen)\n"));
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(run(Python, {"-c", Reader, "csv", ";"}, program.readAllStandardOutput()),
             QByteArray("Name|Ordner|Größe\na.txt|.|0\nb.txt|zu|\nc.txt|zu|\n"));
}

QTEST_MAIN(TestLists)
#include "tst_lists.moc"
