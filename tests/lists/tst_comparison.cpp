// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Checksum lists and the comparison of a saved list with the folder now,
// through the real program.

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum Change {
    None,
    Add,
    Remove,
    Grow,
    Touch,
    Rewrite,
    Rename,
    RenameAndCopy,
    RenameEmpty,
    GrowForeign,
    AddForeignTwin,
    AddManyAndGrow
};

// A file by its bytes, its content and, where given, its time (2020-01-01 00:00 UTC).
void put(const QByteArray &path, const QByteArray &content, bool oldTime = true)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0 && ::write(fd, content.constData(), size_t(content.size())) == content.size());
    const struct timespec times[2] = {{1577836800, 0}, {1577836800, 0}};
    QVERIFY(!oldTime || ::futimens(fd, times) == 0);
    ::close(fd);
}

int run(const QStringList &arguments, QByteArray *out, const QString &folder = {}, QByteArray *err = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TZ", "UTC");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(arguments.first(), arguments.mid(1));
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        qFatal("%s did not finish", qPrintable(arguments.join(' ')));
    *out = process.readAllStandardOutput();
    if (err)
        *err = process.readAllStandardError();
    return process.exitCode();
}

QByteArray sha256(const QByteArray &content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex();
}

} // namespace

class TestComparison : public QObject
{
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void sha256ListChecks();
    void severalFolders_data();
    void severalFolders();
    void htmlPage();
};

void TestComparison::compare_data()
{
    QTest::addColumn<QStringList>("listed");  // how the saved list was written
    QTest::addColumn<int>("change");          // what happened since
    QTest::addColumn<QStringList>("compare"); // more options of the comparison
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("exitCode");
    const QStringList full{"--format", "json", "--spalten", "name,groesse,datum,pruefsumme"};
    const QStringList sizes{"--format", "json", "--spalten", "name,groesse,datum"};
    const QStringList sums{"--format", "sha256"};
    QTest::newRow("unchanged") << full << int(None) << QStringList() << QByteArray() << 0;
    QTest::newRow("added") << full << int(Add) << QStringList() << QByteArray("+ neu.txt\n") << 1;
    QTest::newRow("removed") << full << int(Remove) << QStringList() << QByteArray("- b.txt\n") << 1;
    QTest::newRow("grown") << full << int(Grow) << QStringList() << QByteArray("~ b.txt\n") << 1;
    QTest::newRow("touched") << full << int(Touch) << QStringList() << QByteArray("~ b.txt\n") << 1;
    QTest::newRow("touched, sha256 list: content only") << sums << int(Touch) << QStringList() << QByteArray() << 0;
    QTest::newRow("same size and date, other content")
        << full << int(Rewrite) << QStringList() << QByteArray("~ b.txt\n") << 1;
    QTest::newRow("same size and date, other content, sha256 list")
        << sums << int(Rewrite) << QStringList() << QByteArray("~ b.txt\n") << 1;
    QTest::newRow("same size and date, other content, no checksums")
        << sizes << int(Rewrite) << QStringList() << QByteArray() << 0;
    QTest::newRow("renamed") << full << int(Rename) << QStringList() << QByteArray("> c.txt (vorher b.txt)\n") << 1;
    QTest::newRow("renamed, as csv") << full << int(Rename) << QStringList{"--format", "csv"}
                                     << QByteArray("\xef\xbb\xbf\xc3\x84nderung;Name;Ordner;Gr\xc3\xb6\xc3\x9f"
                                                   "e;Ge\xc3\xa4ndert;Pr\xc3\xbc"
                                                   "fsumme;Vorher\r\numbenannt;c.txt;.;5;2020-01-01 00:00:00;"
                                                   + sha256("bbbbb") + ";b.txt\r\n")
                                     << 1;
    QTest::newRow("renamed and copied: not one new file with its checksum")
        << full << int(RenameAndCopy) << QStringList() << QByteArray("- b.txt\n+ c.txt\n+ d.txt\n") << 1;
    QTest::newRow("empty file renamed") << full << int(RenameEmpty) << QStringList() << QByteArray("- leer\n+ leer2\n")
                                        << 1;
    QTest::newRow("name not UTF-8, grown")
        << full << int(GrowForeign) << QStringList() << QByteArray("~ f\xc3\xbc.txt\n") << 1;
    QTest::newRow("name not UTF-8, another beside it")
        << sums << int(AddForeignTwin) << QStringList() << QByteArray("+ f\xc3\xa4.txt\n") << 1;
    QByteArray many;
    for (int i = 0; i < 20; ++i)
        many += QByteArray("+ aa") + QByteArray::number(i).rightJustified(2, '0') + ".txt\n";
    QTest::newRow("more files added than the lists' walk in step looks ahead")
        << full << int(AddManyAndGrow) << QStringList() << many + "~ b.txt\n"
        << 1;
    QTest::newRow("jsonl refused") << QStringList{"--format", "jsonl"} << int(None) << QStringList() << QByteArray()
                                   << 2;
    QTest::newRow("options beside the saved list's")
        << full << int(None) << QStringList{"--unterordner"} << QByteArray() << 2;
}

void TestComparison::compare()
{
    QFETCH(QStringList, listed);
    QFETCH(int, change);
    QFETCH(QStringList, compare);
    QFETCH(QByteArray, expected);
    QFETCH(int, exitCode);
    QTemporaryDir top;
    const QByteArray t = QFile::encodeName(top.filePath("t")) + '/';
    QVERIFY(::mkdir(t.constData(), 0755) == 0);
    put(t + "a.txt", "aaaa");
    put(t + "b.txt", "bbbbb");
    put(t + "f\xfc.txt", "xyz");
    put(t + "leer", "");
    const QString saved = top.filePath("alt");
    QByteArray out;
    QCOMPARE(run(QStringList{LIRABEL_PROGRAM, "--liste", "-o", saved} + listed + QStringList{top.filePath("t")}, &out),
             0);

    const auto rename = [&t](const char *from, const char *to) {
        QVERIFY(::rename((t + from).constData(), (t + to).constData()) == 0);
    };
    switch (Change(change)) {
    case None:
        break;
    case Add:
        put(t + "neu.txt", "neu");
        break;
    case Remove:
        QVERIFY(::unlink((t + "b.txt").constData()) == 0);
        break;
    case Grow:
        put(t + "b.txt", "bbbbbb");
        break;
    case Touch:
        put(t + "b.txt", "bbbbb", false);
        break;
    case Rewrite:
        put(t + "b.txt", "BBBBB");
        break;
    case Rename:
        rename("b.txt", "c.txt");
        break;
    case RenameAndCopy:
        rename("b.txt", "c.txt");
        put(t + "d.txt", "bbbbb");
        break;
    case RenameEmpty:
        rename("leer", "leer2");
        break;
    case GrowForeign:
        put(t + "f\xfc.txt", "xyzz");
        break;
    case AddForeignTwin:
        put(t + "f\xe4.txt", "xyz");
        break;
    case AddManyAndGrow:
        for (int i = 0; i < 20; ++i)
            put(t + "aa" + QByteArray::number(i).rightJustified(2, '0') + ".txt", "neu");
        put(t + "b.txt", "bbbbbb");
        break;
    }
    QCOMPARE(
        run(QStringList{LIRABEL_PROGRAM, "--liste", "--vergleichen", saved} + compare + QStringList{top.filePath("t")},
            &out),
        exitCode);
    QCOMPARE(out, expected);
}

// sha256sum -c accepts the list from within the folder, names with a line
// feed, a carriage return and a backslash among them.
void TestComparison::sha256ListChecks()
{
    QTemporaryDir top;
    const QString folder = top.filePath("ordner");
    const QByteArray t = QFile::encodeName(folder) + '/';
    QVERIFY(::mkdir(t.constData(), 0755) == 0 && ::mkdir((t + "unter").constData(), 0755) == 0);
    put(t + "a\nb", "1");
    put(t + "c\\d", "2");
    put(t + "e\rf", "3");
    put(t + "unter/g\xfch", "4");
    QByteArray list;
    QCOMPARE(run({LIRABEL_PROGRAM, "--liste", "--unterordner", "--format", "sha256", folder}, &list), 0);
    QCOMPARE(list,
             "\\" + sha256("1") + "  a\\nb\n\\" + sha256("2") + "  c\\\\d\n\\" + sha256("3") + "  e\\rf\n" + sha256("4")
                 + "  unter/g\xfch\n");
    put(t + "../liste", list, false);
    QByteArray out;
    QCOMPARE(run({"sha256sum", "-c", "--quiet", "../liste"}, &out, folder), 0);
    put(t + "c\\d", "X");
    QCOMPARE(run({"sha256sum", "-c", "--quiet", "../liste"}, &out, folder), 1);
}

// The checksums and the comparison beside several ORDNER: a checksum list and
// a comparison are relative to one folder, the column fits every table.
void TestComparison::severalFolders_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("both"); // both folders, or the first
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("exitCode");
    const QByteArray help = "\n\xe2\x80\x9elirabel --help\xe2\x80\x9c zeigt den Aufruf.\n";
    QTest::newRow("sha256 list refused")
        << QStringList{"--format", "sha256"} << true << QByteArray()
        << "lirabel: Das Format sha256 gilt f\xc3\xbcr einen einzigen ORDNER, nicht f\xc3\xbcr mehrere." + help << 2;
    QTest::newRow("comparison refused") << QStringList{"--vergleichen", "alt"} << true << QByteArray()
                                        << "lirabel: --vergleichen vergleicht einen einzigen ORDNER, nicht mehrere."
            + help << 2;
    QTest::newRow("comparison not to the clipboard")
        << QStringList{"--vergleichen", "alt", "--zwischenablage"} << false << QByteArray()
        << "lirabel: --vergleichen nimmt die Optionen der gespeicherten Liste; --zwischenablage passt nicht dazu."
            + help
        << 2;
    QTest::newRow("checksum column") << QStringList{"--format", "csv", "--spalten", "ordner,name,pruefsumme"} << true
                                     << "\xef\xbb\xbfOrdner;Name;Pr\xc3\xbc"
                                        "fsumme\r\nA;x;"
            + sha256("1") + "\r\nB;y;" + sha256("22") + "\r\n"
                                     << QByteArray() << 0;
}

void TestComparison::severalFolders()
{
    QFETCH(QStringList, options);
    QFETCH(bool, both);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, message);
    QFETCH(int, exitCode);
    QTemporaryDir top;
    QVERIFY(::mkdir(QFile::encodeName(top.filePath("A")).constData(), 0755) == 0);
    QVERIFY(::mkdir(QFile::encodeName(top.filePath("B")).constData(), 0755) == 0);
    put(QFile::encodeName(top.filePath("A/x")), "1");
    put(QFile::encodeName(top.filePath("B/y")), "22");
    QByteArray out, err;
    QCOMPARE(run(QStringList{LIRABEL_PROGRAM, "--liste"} + options + (both ? QStringList{"A", "B"} : QStringList{"A"}),
                 &out, top.path(), &err),
             exitCode);
    QCOMPARE(out, expected);
    QCOMPARE(err, message);
}

// The html page reads the column table: the checksums of several folders,
// and a comparison's changes.
void TestComparison::htmlPage()
{
    QTemporaryDir top;
    QVERIFY(::mkdir(QFile::encodeName(top.filePath("A")).constData(), 0755) == 0);
    QVERIFY(::mkdir(QFile::encodeName(top.filePath("B")).constData(), 0755) == 0);
    put(QFile::encodeName(top.filePath("A/x")), "1");
    put(QFile::encodeName(top.filePath("B/y")), "22");
    QByteArray page;
    QCOMPARE(run({LIRABEL_PROGRAM, "--liste", "--format", "html", "--spalten", "name,pruefsumme", "A", "B"}, &page,
                 top.path()),
             0);
    QVERIFY(page.contains(R"({"id":"pruefsumme","heading":"Prüfsumme","kind":"text","perFolder":false})"));
    QVERIFY(page.contains("[\"x\",\"" + sha256("1") + "\"]"));
    QVERIFY(page.contains("[\"y\",\"" + sha256("22") + "\"]"));

    QCOMPARE(run({LIRABEL_PROGRAM, "--liste", "--format", "sha256", "-o", "alt", "A"}, &page, top.path()), 0);
    put(QFile::encodeName(top.filePath("A/x")), "3");
    QCOMPARE(run({LIRABEL_PROGRAM, "--liste", "--vergleichen", "alt", "--format", "html", "A"}, &page, top.path()), 1);
    QVERIFY(page.contains(R"({"id":"aenderung","heading":"Änderung","kind":"text","perFolder":false})"));
    QVERIFY(page.contains("[\"geändert\",\"x\",\"" + sha256("3") + "\",\"\"]"));
}

QTEST_GUILESS_MAIN(TestComparison)
#include "tst_comparison.moc"
