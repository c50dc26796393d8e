// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// `lirabel --liste ORDNER…`: several folders in one list, run as a user runs
// it from a shell in the folder that holds them.

#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestSeveralFolders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void lists_data();
    void lists();

private:
    QTemporaryDir mRoot;
    QString mDrive; // the drive of mRoot, as the window's drive list shows it
};

void TestSeveralFolders::initTestCase()
{
    makeTree(mRoot.path(), {"A/a1.txt", "A/sub/s.txt", "A/.versteckt/v.txt", "B/b.txt", "f\u00fc/utf8.txt"});
    QVERIFY(QFile::link("A", mRoot.filePath("L")));
    // A name that is not UTF-8 and reads as the one that is.
    const QByteArray latin1 = QFile::encodeName(mRoot.path()) + "/f\xfc";
    QVERIFY(::mkdir(latin1.constData(), 0755) == 0);
    ::close(::open(latin1 + "/latin1.txt", O_CREAT | O_WRONLY, 0644));
    QProcess findmnt;
    findmnt.start("findmnt", {"-n", "-o", "TARGET,LABEL", "--target", mRoot.path()});
    QVERIFY(findmnt.waitForFinished());
    const QStringList mount = QString::fromUtf8(findmnt.readAllStandardOutput()).simplified().split(' ');
    mDrive = mount.value(0) + (mount.size() > 1 ? " [" + mount.mid(1).join(' ') + "]" : QString());
}

void TestSeveralFolders::cleanupTestCase()
{
    // QTemporaryDir cannot remove what it cannot name.
    const QByteArray latin1 = QFile::encodeName(mRoot.path()) + "/f\xfc";
    ::unlink(latin1 + "/latin1.txt");
    ::rmdir(latin1.constData());
}

void TestSeveralFolders::lists_data()
{
    QTest::addColumn<QString>("arguments"); // shell words after --liste
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("errors");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("A and B, each a section") << "A B"
                                             << "A/\na1.txt\n\nB/\nb.txt\n"
                                             << "" << 0;
    QTest::newRow("inside or equal to an earlier one: skipped")
        << "--unterordner A B A/sub L"
        << "A/\na1.txt\n\nA/sub/\ns.txt\n\nB/\nb.txt\n"
        << "lirabel: Übersprungen: A/sub liegt im schon gelisteten Ordner A.\n"
           "lirabel: Übersprungen: L ist derselbe Ordner wie A.\n"
        << 0;
    // Where the earlier walk does not go, nothing is left out.
    QTest::newRow("inside, not entered") << "A A/sub A/.versteckt"
                                         << "A/\na1.txt\n\nA/sub/\ns.txt\n\nA/.versteckt/\nv.txt\n"
                                         << "" << 0;
    QTest::newRow("an earlier one inside a later one: not again") << "--unterordner A/sub A"
                                                                  << "A/sub/\ns.txt\n\nA/\na1.txt\n"
                                                                  << "" << 0;
    QTest::newRow("csv: ordner and laufwerk")
        << "--format csv --spalten name,ordner,laufwerk --unterordner A B"
        << "\xef\xbb\xbfName;Ordner;Laufwerk\r\na1.txt;A;%D\r\ns.txt;A/sub;%D\r\nb.txt;B;%D\r\n"
        << "" << 0;
    QTest::newRow("m3u: each from its own folder")
        << "--format m3u --endung txt A B"
        << "#EXTM3U\n#EXTINF:-1,a1.txt\nA/a1.txt\n#EXTINF:-1,b.txt\nB/b.txt\n"
        << "" << 0;
    QTest::newRow("hidden, entered with --versteckte")
        << "--unterordner --versteckte A A/.versteckt"
        << "A/\na1.txt\n\nA/.versteckt/\nv.txt\n\nA/sub/\ns.txt\n"
        << "lirabel: Übersprungen: A/.versteckt liegt im schon gelisteten Ordner A.\n"
        << 0;
    QTest::newRow("jsonl: each folder's path") << "--format jsonl --spalten name A B"
                                               << "{\"verzeichnis\":{\"pfad\":\"%R/A\"},\"name\":\"a1.txt\"}\n"
                                                  "{\"verzeichnis\":{\"pfad\":\"%R/B\"},\"name\":\"b.txt\"}\n"
                                               << "" << 0;
    QTest::newRow("md: a heading for each") << "--format md --spalten name A B"
                                            << "## A\n\n| Name |\n| --- |\n| a1\\.txt |\n\n"
                                               "## B\n\n| Name |\n| --- |\n| b\\.txt |\n\n"
                                            << "" << 0;
    QTest::newRow("names that read alike keep their bytes") << "\"$(printf 'f\\374')\" f\u00fc"
                                                            << "f\u00fc/\nlatin1.txt\n\nf\u00fc/\nutf8.txt\n"
                                                            << "" << 0;
    QTest::newRow("one not readable: the others listed") << "nix B"
                                                         << "B/\nb.txt\n"
                                                         << "lirabel: Verzeichnis nicht lesbar: nix (existiert nicht)\n"
                                                         << 1;
    QTest::newRow("none readable: nothing written") << "nix nix2"
                                                    << ""
                                                    << "lirabel: Verzeichnis nicht lesbar: nix (existiert nicht)\n"
                                                       "lirabel: Verzeichnis nicht lesbar: nix2 (existiert nicht)\n"
                                                    << 1;
}

void TestSeveralFolders::lists()
{
    QFETCH(QString, arguments);
    QFETCH(QString, output);
    QFETCH(QString, errors);
    QFETCH(int, exitCode);
    QProcess process;
    process.setWorkingDirectory(mRoot.path());
    process.start("sh", {"-c", "exec \"$0\" --liste " + arguments, LIRABEL_PROGRAM});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), errors);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()),
             output.replace("%D", mDrive).replace("%R", mRoot.path()));
    QCOMPARE(process.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestSeveralFolders)
#include "tst_severalfolders.moc"
