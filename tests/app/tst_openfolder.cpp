// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Opening a folder from outside the window: a path on the command line, a
// file or folder dropped on the window, and the command line's own options.

#include "app/applicationsetup.h"
#include "app/listsave.h"
#include "app/mainwindow.h"
#include "core/bytenames.h"
#include "standins.h"
#include "ui/drivecombobox.h"
#include "ui/filelistview.h"
#include "ui/folderlistview.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Lirabel;

namespace {

// Drive A holds the program, drive B a music folder with a file whose name is
// not UTF-8. The working directory lies on neither.
struct Drives
{
    QTemporaryDir root;
    QString a;
    QString b;
    QByteArray rawFile; // B/musik/Lied-ä.mp3 in Latin-1

    explicit Drives(StandInPlatform &stand)
    {
        const QString top = QFileInfo(root.path()).canonicalFilePath();
        a = top + "/laufwerkA";
        b = top + "/laufwerkB";
        makeTree(top, {"laufwerkA/programm/", "laufwerkA/a.txt", "laufwerkB/gesperrt/", "laufwerkB/musik/titel.mp3"});
        stand.volumes.volumes = {Volume{a, QString()}, Volume{b, QString()}};
        stand.program.folder = a + "/programm";
        rawFile = QFile::encodeName(b) + "/musik/Lied-\xe4.mp3";
        const int fd = ::open(rawFile.constData(), O_WRONLY | O_CREAT, 0644);
        if (fd >= 0)
            ::close(fd);
        ::mkdir(rawFolder().constData(), 0755);
        ::close(::open((rawFolder() + "/Lied 1.mp3").constData(), O_WRONLY | O_CREAT, 0644));
    }
    // B/Lieder für Mutter in Latin-1, as an old archive gives it
    QByteArray rawFolder() const { return QFile::encodeName(b) + "/Lieder f\xfcr Mutter"; }
    ~Drives() // QTemporaryDir cannot remove them
    {
        ::unlink(rawFile.constData());
        ::unlink((rawFolder() + "/Lied 1.mp3").constData());
        ::rmdir(rawFolder().constData());
    }
};

} // namespace

class TestOpenFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startFolder_data();
    void startFolder();
    void drop_data();
    void drop();
    void commandLine_data();
    void commandLine();
    void saveNotEntered();
    void argumentBytes_data();
    void argumentBytes();
};

void TestOpenFolder::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void TestOpenFolder::startFolder_data()
{
    QTest::addColumn<QByteArray>("below");  // the argument below the drives' folder
    QTest::addColumn<QByteArray>("folder"); // below it too; empty: start as without argument
    QTest::newRow("Ordner") << QByteArray("laufwerkB/musik") << QByteArray("laufwerkB/musik");
    QTest::newRow("Datei") << QByteArray("laufwerkB/musik/titel.mp3") << QByteArray("laufwerkB/musik");
    QTest::newRow("Name nicht UTF-8") << QByteArray("laufwerkB/musik/Lied-\xe4.mp3") << QByteArray("laufwerkB/musik");
    QTest::newRow("Ordner nicht UTF-8") << QByteArray("laufwerkB/Lieder f\xfcr Mutter")
                                        << QByteArray("laufwerkB/Lieder f\xfcr Mutter");
    QTest::newRow("fehlt") << QByteArray("laufwerkB/fehlt") << QByteArray();
    QTest::newRow("nicht lesbar") << QByteArray("laufwerkB/gesperrt") << QByteArray();
}

void TestOpenFolder::startFolder()
{
    QFETCH(QByteArray, below);
    QFETCH(QByteArray, folder);
    StandInPlatform stand;
    Drives drives(stand);
    stand.volumes.notReady.insert(drives.b + "/gesperrt");
    const QString top = QFileInfo(drives.a).path();
    const QString expected = folder.isEmpty() ? drives.a : nameFromBytes(QFile::encodeName(top) + '/' + folder);
    const QString drive = folder.isEmpty() ? drives.a : drives.b;

    MainWindow window(QFile::encodeName(top) + '/' + below);
    QVERIFY(settled(window));
    auto *driveList = child<DriveComboBox>(window, "Drive1");
    auto *folderList = child<FolderListView>(window, "Dir1");
    QCOMPARE(driveList->drive(), drive);
    QCOMPARE(folderList->path(), expected);
    QCOMPARE(child<FileListView>(window, "File1")->path(), expected);
    QVERIFY(stand.messageBox.shown.isEmpty()); // not before the window is up
    QCOMPARE(window.fallBackDrive(), folder.isEmpty() ? QString() : drive);

    window.showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    if (folder.isEmpty()) {
        QCOMPARE(stand.messageBox.shown.size(), 1);
        QCOMPARE(stand.messageBox.shown.at(0).text, QStringLiteral("Verzeichnis nicht lesbar !"));
        QCOMPARE(stand.messageBox.shown.at(0).title, QStringLiteral("Verzeichnisfehler"));
        return;
    }
    QVERIFY(stand.messageBox.shown.isEmpty());
    QCOMPARE(rowsOf(*folderList).last(), readableName(expected.section('/', -1))); // "Lieder für Mutter"
    // The folder is its drive's current one: away and back comes back to it.
    driveList->setCurrentIndex(0);
    QVERIFY(settled(window));
    driveList->setCurrentIndex(1);
    QVERIFY(settled(window));
    QCOMPARE(folderList->path(), expected);
}

void TestOpenFolder::drop_data()
{
    QTest::addColumn<QByteArray>("url"); // %1: the drives' folder
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("folder"); // below the drives' folder; empty: the lists stay
    QTest::newRow("Ordner") << QByteArray("file://%1/laufwerkB/musik") << true << "laufwerkB/musik";
    QTest::newRow("Name nicht UTF-8") << QByteArray("file://%1/laufwerkB/musik/Lied-%E4.mp3") << true
                                      << "laufwerkB/musik";
    QTest::newRow("fehlt") << QByteArray("file://%1/laufwerkB/fehlt") << true << QString();
    QTest::newRow("Webadresse") << QByteArray("https://example.org/musik/") << false << QString();
}

void TestOpenFolder::drop()
{
    QFETCH(QByteArray, url);
    QFETCH(bool, accepted);
    QFETCH(QString, folder);
    StandInPlatform stand;
    Drives drives(stand);
    const QString top = QFileInfo(drives.a).path();
    MainWindow window;
    QVERIFY(settled(window));
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *folderList = child<FolderListView>(window, "Dir1");
    QCOMPARE(folderList->path(), drives.a);

    // Onto the file list, which takes no drops itself: the window does.
    QWidget *target = child<FileListView>(window, "File1")->viewport();
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), url.replace("%1", QUrl::toPercentEncoding(top, "/")) + "\r\n");
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    if (!accepted)
        return;
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    QVERIFY(settled(window));
    QVERIFY(dropped.isAccepted());

    if (folder.isEmpty()) {
        QTRY_COMPARE(stand.messageBox.shown.size(), 1);
        QCOMPARE(stand.messageBox.shown.at(0).text, QStringLiteral("Verzeichnis nicht lesbar !"));
        QCOMPARE(folderList->path(), drives.a);
        return;
    }
    QTRY_COMPARE(folderList->path(), top + '/' + folder);
    QCOMPARE(child<DriveComboBox>(window, "Drive1")->drive(), drives.b);
}

void TestOpenFolder::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    // A pattern: standard error then standard output for 0, standard error otherwise.
    QTest::addColumn<QString>("said");
    QTest::newRow("--help")
        << QStringList{"--help"} << 0
        << R"(^Aufruf: (\S+) \[Optionen\] \[ORDNER\]\n +\1 --liste \[Optionen\] ORDNER\.\.\.\n(.|\n)*\n  -h, --help +Zeigt diese Hilfe an\.\n)";
    QTest::newRow("--version") << QStringList{"--version"} << 0
                               << R"(^Lirabel )" LIRABEL_VERSION R"(\nLizenz GPL-3\.0-or-later: )";
    QTest::newRow("unbekannte Option") << QStringList{"--bunt", "/"} << 2 << "^lirabel: Unbekannte Option 'bunt'.\n";
    QTest::newRow("unbekannte Option, ein Strich")
        << QStringList{"-bunt"} << 2 << "^lirabel: Unbekannte Option 'bunt'.\n";
    // %1: a folder holding a.txt and b.mp3.
    QTest::newRow("--help nennt die Listen") << QStringList{"--help"} << 0 << R"(\n  --spalten <LISTE> +Die Spalten)";
    QTest::newRow("--help nennt Sortierung, Auslassen, Trenner")
        << QStringList{"--help"} << 0
        << R"(\n  --sortierung <NACH> +Die(.|\n)*\n  --umgekehrt +Die(.|\n)*\n  --ohne <MUSTER> +Dateien(.|\n)*\n  )"
           R"(--trenner <ZEICHEN> +Das)";
    QTest::newRow("Qt-Optionen") << QStringList{"-style", "Fusion", "-reverse", "--platform=xcb", "--liste", "%1"} << 0
                                 << "^a\\.txt\nb\\.mp3\n$";
    QTest::newRow("--mp3") << QStringList{"--liste", "--mp3", "%1"} << 0 << "^b\\.mp3\n$";
    QTest::newRow("Ordner fehlt") << QStringList{"--liste", "%1/fehlt"} << 1
                                  << "^lirabel: Verzeichnis nicht lesbar: .*/fehlt \\(existiert nicht\\)\n$";
    QTest::newRow("kein Ordner") << QStringList{"--liste", "%1/a.txt"} << 1
                                 << "^lirabel: Verzeichnis nicht lesbar: .*/a\\.txt \\(ist kein Ordner\\)\n$";
    QTest::newRow("-o -") << QStringList{"--liste", "-o", "-", "%1"} << 0 << "^a\\.txt\nb\\.mp3\n$";
    QTest::newRow("--endung mit Punkt")
        << QStringList{"--liste", "--endung", ".txt", "%1"} << 0
        << "^lirabel: Hinweis: --endung setzt den Punkt selbst davor; „\\.txt“ ergibt das Muster „\\*\\.\\.txt“\\. "
           "Gemeint ist wohl --endung txt\\.\n$";
    QTest::newRow("--speichern ohne Anzeige")
        << QStringList{"--liste", "--speichern", "%1"} << 1
        << "^lirabel: --speichern braucht eine Anzeige für den Dialog „Speichern unter“; DISPLAY und "
           "WAYLAND_DISPLAY sind leer\\.\n$";
    // "@allein": `lirabel` copied into a folder of its own, without the window program.
    QTest::newRow("Liste ohne Fensterprogramm")
        << QStringList{"@allein", "--liste", "%1"} << 0 << "^a\\.txt\nb\\.mp3\n$";
    QTest::newRow("Fensterprogramm fehlt")
        << QStringList{"@allein", "%1"} << 1
        << "^lirabel: Das Fenster kann nicht starten: .*/libexec/lirabel/lirabel-fenster "
           "\\(existiert nicht\\)\n$";
    QTest::newRow("--help nennt --speichern")
        << QStringList{"--help"} << 0 << R"(\n  --speichern +Die Datei im Dialog)";
    const auto wrong = [](const char *row, const QStringList &arguments, const QString &message) {
        QTest::newRow(row) << arguments << 2 << "^lirabel: " + QRegularExpression::escape(message) + "\n";
    };
    wrong("ohne --liste", {"--mp3", "%1"}, "--mp3 gilt nur mit --liste.");
    wrong("ohne Ordner", {"--liste"}, "--liste braucht einen ORDNER.");
    wrong("--mp3 und --endung", {"--liste", "--mp3", "--endung", "txt", "%1"},
          "--mp3 und --endung schließen einander aus.");
    wrong("--speichern und -o", {"--liste", "--speichern", "-o", "%1/liste.txt", "%1"},
          "--speichern und --ausgabe schließen einander aus.");
    wrong("--zwischenablage und -o", {"--liste", "--zwischenablage", "-o", "%1/liste.txt", "%1"},
          "--zwischenablage und --ausgabe schließen einander aus.");
    wrong("zwei ORDNER ohne --liste", {"%1", "%1"}, "Nur ein ORDNER ist möglich; mehrere mit --liste.");
    wrong("--zwischenablage mit pdf", {"--liste", "--zwischenablage", "--format", "pdf", "%1"},
          "--zwischenablage gilt nicht für das Format pdf.");
    wrong("--drucken und --zwischenablage", {"--liste", "--drucken", "--zwischenablage", "%1"},
          "--drucken und --zwischenablage schließen einander aus.");
    wrong("zwei Formate", {"--liste", "--format", "csv", "--format", "html", "%1"}, "Nur ein Format ist möglich.");
    wrong("unbekanntes Format", {"--liste", "--format", "docx", "%1"},
          "Unbekanntes Format „docx“; möglich sind text, csv, html, m3u, json, jsonl, md, pdf und sha256.");
    wrong("--spalten mit text", {"--liste", "--spalten", "name", "%1"},
          "--spalten gilt nicht für die Formate text, m3u und sha256.");
    wrong("unbekannte Spalte", {"--liste", "--format", "csv", "--spalten", "name,farbe", "%1"},
          "Unbekannte Spalte „farbe“; möglich sind name, ordner, pfad, laufwerk, groesse, datum, interpret, titel, "
          "album, "
          "titelnr, "
          "jahr, genre, dauer und pruefsumme.");
    wrong("--trenner mit text", {"--liste", "--trenner", ",", "%1"}, "--trenner gilt nur für das Format csv.");
    wrong("unbekannter Trenner", {"--liste", "--format", "csv", "--trenner", "|", "%1"},
          "Unbekannter Trenner „|“; möglich sind „;“, „,“ und tab.");
    wrong("unbekannte Sortierung", {"--liste", "--sortierung", "alter", "%1"},
          "Unbekannte Sortierung „alter“; möglich sind name, groesse und datum.");
    wrong("doppelte Spalte", {"--liste", "--format", "csv", "--spalten", "name,datum,name", "%1"},
          "Die Spalte „name“ steht zweimal in --spalten.");
    wrong("--nummern mit m3u", {"--liste", "--format", "m3u", "--nummern", "%1"},
          "--nummern gilt nicht für die Formate m3u, json, jsonl und sha256.");
    wrong("--ohne-endungen mit json", {"--liste", "--format", "json", "--ohne-endungen", "%1"},
          "--ohne-endungen gilt nicht für die Formate json, jsonl und sha256.");
    wrong("--leerzeile mit csv", {"--liste", "--format", "csv", "--leerzeile", "2", "%1"},
          "--leerzeile gilt nur für das Format text.");
    wrong("--leerzeile keine Zahl", {"--liste", "--leerzeile", "zwei", "%1"},
          "Keine gültige Zahl für die Leerzeilen !");
}

void TestOpenFolder::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    // Without any display: a program that tried to open a window would fail.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    QTemporaryDir folder;
    makeTree(folder.path(), {"b.mp3", "a.txt"});
    arguments.replaceInStrings("%1", folder.path());
    QString path = QStringLiteral(LIRABEL_PROGRAM);
    if (arguments.value(0) == QLatin1String("@allein")) {
        arguments.removeFirst();
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("allein")));
        const QString alone = folder.path() + QStringLiteral("/allein/lirabel");
        QVERIFY(QFile::copy(path, alone));
        path = alone;
    }
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(path, arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    QByteArray output = program.readAllStandardError();
    if (exitCode == 0)
        output += program.readAllStandardOutput();
    const QString text = QString::fromUtf8(output);
    QVERIFY2(text.contains(QRegularExpression(said)), qPrintable(text));
}

// --speichern over a folder with a subfolder that can be read but not
// entered: the message box says so, as standard error does without it.
void TestOpenFolder::saveNotEntered()
{
    QTemporaryDir folder, out;
    makeTree(folder.path(), {"a.txt", "zu/b.txt"});
    for (const auto &[path, mode] : {std::pair{folder.filePath("zu"), 0644}, {folder.path(), 0755}, {out.path(), 0777}})
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0);
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath("liste.csv"));
    ListRequest request;
    request.folders = {QFile::encodeName(folder.path())};
    request.subfolders = true;
    request.format = ListFormat::Csv;
    request.askForFile = true;
    // Root enters every folder; the list is read as nobody, the file manager's user.
    const bool root = geteuid() == 0;
    if (root)
        QVERIFY(::setegid(65534) == 0 && ::seteuid(65534) == 0);
    const auto back = qScopeGuard([root] {
        if (root && (::seteuid(0) != 0 || ::setegid(0) != 0))
            qFatal("cannot become root again");
    });
    QCOMPARE(saveListAsked(request), 1);
    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown.at(0).title, QStringLiteral("Dateiliste speichern"));
    QCOMPARE(stand.messageBox.shown.at(0).text,
             "Die Liste ist gespeichert, aber nicht alles war lesbar:\nOrdner lesbar, aber nicht zu betreten: "
                 + folder.filePath("zu")
                 + " (1 Dateien ohne Größe und Datum, 0 Verknüpfungen oder Einträge unbekannter Art ausgelassen)");
}

// Two arguments that read alike, "x\xff" and "x\xfe", each keep their own bytes.
void TestOpenFolder::argumentBytes_data()
{
    QTest::addColumn<QString>("call"); // $1 the folder x\xff, $2 the output x\xfe
    QTest::newRow("-o") << R"(--liste "$1" -o "$2")";
    QTest::newRow("--ausgabe=") << R"(--liste --ausgabe="$2" "$1")";
    QTest::newRow("nach --") << R"(--liste -o "$2" -- "$1")";
}

void TestOpenFolder::argumentBytes()
{
    QFETCH(QString, call);
    QTemporaryDir folder;
    const QByteArray top = QFile::encodeName(folder.path());
    QVERIFY(::mkdir(top + "/x\xff", 0755) == 0);
    ::close(::open(top + "/x\xff/a.txt", O_CREAT | O_WRONLY, 0644));
    const auto removed = qScopeGuard([&top] { // QTemporaryDir cannot remove them
        ::unlink(top + "/x\xff/a.txt");
        ::rmdir(top + "/x\xff");
        ::unlink(top + "/x\xfe");
    });
    QProcess program;
    program.setWorkingDirectory(folder.path());
    program.start(
        "sh",
        {"-c", R"sh(p=$0; set -- "$(printf 'x\377')" "$(printf 'x\376')"; exec "$p" )sh" + call, LIRABEL_PROGRAM});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.readAllStandardError(), QByteArray());
    QCOMPARE(program.exitCode(), 0);
    QFile list;
    QVERIFY(list.open(::open(top + "/x\xfe", O_RDONLY), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    QCOMPARE(list.readAll(), QByteArray("a.txt\r\n"));
}

QTEST_MAIN(TestOpenFolder)
#include "tst_openfolder.moc"
