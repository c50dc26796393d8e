// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/lirabelerror.h"
#include "fs/folderscan.h"
#include "testsupport.h"
#include "ui/filelistmodel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <ctime>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace Lirabel;

namespace {

QStringList shownRows(const FileListModel &model)
{
    QStringList list;
    for (int row = 0; row < model.rowCount(); ++row)
        list.append(model.data(model.index(row)).toString());
    return list;
}

} // namespace

namespace {

// What the window does with a folder read in the background.
void readInto(FileListModel &model, const QString &path)
{
    if (const std::optional<FolderEntries> scanned = scanFolder(path, ScanFor::Files))
        model.showFiles(path, scanned->files);
    else
        model.markUnread(path);
}

} // namespace

class TestFileListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyFilesAndLinksToFiles();
    void patterns_data();
    void patterns();
    void typedMp3IsTheMp3Filter();
    void naturalOrder();
    void controlCharactersShownAsQuestionMarks();
    void unreadableFolder();
    void rememberedFolderShowsItsChanges();
    void countIsTheTrueCount();
};

void TestFileListModel::onlyFilesAndLinksToFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString p = dir.path();
    touch(p + "/datei.txt");
    touch(p + "/.versteckt");
    touch(p + "/ohne Endung");
    QVERIFY(QDir(p).mkdir("ordner"));
    QVERIFY(QDir(p).mkdir(".versteckter ordner"));
    QVERIFY(QFile::link(p + "/datei.txt", p + "/verweis.txt"));
    QVERIFY(QFile::link(p + "/ordner", p + "/ordnerverweis"));
    QVERIFY(QFile::link(p + "/gibt es nicht", p + "/kaputt.txt"));
#if defined(Q_OS_UNIX)
    QCOMPARE(mkfifo(QFile::encodeName(p + "/rohr").constData(), 0600), 0);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(sock >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = QFile::encodeName(p + "/steckdose");
    QVERIFY(size_t(socketPath.size()) < sizeof(address.sun_path));
    memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    QCOMPARE(bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
#endif

    FileListModel model;
    readInto(model, p);
    QCOMPARE(entriesOf(model), (QStringList{"datei.txt", "ohne Endung", "verweis.txt"}));
    QCOMPARE(shownRows(model), entriesOf(model));

    const std::optional<FolderEntries> scanned = scanFolder(p);
    QVERIFY(scanned);
    QStringList folders = scanned->folders;
    folders.sort();
    QCOMPARE(folders, (QStringList{"ordner", "ordnerverweis"}));
#if defined(Q_OS_UNIX)
    close(sock);
#endif
}

void TestFileListModel::patterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("*.*") << "*.*" << QStringList{"[1].txt",     "Brief.TXT", "Lied 2.mp3",
                                                 "Lied 10.MP3", "Makefile",  "noten.txt.bak"};
    QTest::newRow("*.mp3") << "*.mp3" << QStringList{"Lied 2.mp3", "Lied 10.MP3"};
    QTest::newRow("*.txt") << "*.txt" << QStringList{"[1].txt", "Brief.TXT"};
    QTest::newRow("*. eigene empty") << "*." << QStringList{"Makefile"};
    QTest::newRow("two patterns") << "*.mp3;*.bak" << QStringList{"Lied 2.mp3", "Lied 10.MP3", "noten.txt.bak"};
    QTest::newRow("[ literal") << "[1]*" << QStringList{"[1].txt"};
    QTest::newRow("?") << "Lied ?.*" << QStringList{"Lied 2.mp3"};
    QTest::newRow("slash") << "*/*" << QStringList{};
    QTest::newRow("unknown extension") << "*.ogg" << QStringList{};
}

void TestFileListModel::patterns()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    for (const char *name : {"Brief.TXT", "Lied 2.mp3", "Lied 10.MP3", "Makefile", "noten.txt.bak", "[1].txt"})
        touch(dir.path() + "/" + QString::fromUtf8(name));
    QVERIFY(QDir(dir.path()).mkdir("ordner.mp3"));

    FileListModel model;
    readInto(model, dir.path());
    model.setPattern(pattern);
    QCOMPARE(entriesOf(model), expected);
}

void TestFileListModel::typedMp3IsTheMp3Filter()
{
    QTemporaryDir dir;
    for (const char *name : {"a.mp3", "b.MP3", "c.mp3x", "mp3", "d.txt"})
        touch(dir.path() + "/" + QString::fromUtf8(name));
    FileListModel mp3;
    readInto(mp3, dir.path());
    mp3.setPattern(QStringLiteral("*.mp3"));
    FileListModel typed;
    readInto(typed, dir.path());
    typed.setPattern(QStringLiteral("*.") + QStringLiteral("mp3"));
    QCOMPARE(entriesOf(typed), entriesOf(mp3));
    QCOMPARE(entriesOf(mp3), (QStringList{"a.mp3", "b.MP3"}));
}

void TestFileListModel::naturalOrder()
{
    QTemporaryDir dir;
    const QStringList expected{"apfel.txt",    "Äpfel.txt",    "Birne.txt",     "Titel 1.mp3", "Titel 2.mp3",
                               "Titel 10.mp3", "titel 11.mp3", "Titel 100.mp3", "zebra"};
    for (const QString &name : expected)
        touch(dir.path() + "/" + name);
    FileListModel model;
    readInto(model, dir.path());
    QCOMPARE(entriesOf(model), expected);
}

void TestFileListModel::controlCharactersShownAsQuestionMarks()
{
    QTemporaryDir dir;
    touch(dir.path() + QStringLiteral("/zeile\numbruch.txt"));
    touch(dir.path()
          + QStringLiteral("/tab\tund\x7f"
                           "del.txt"));
    FileListModel model;
    readInto(model, dir.path());
    QCOMPARE(model.count(), 2);
    QCOMPARE(entriesOf(model), (QStringList{"tab?und?del.txt", "zeile?umbruch.txt"}));
    QCOMPARE(shownRows(model), entriesOf(model));
}

void TestFileListModel::unreadableFolder()
{
    QTemporaryDir dir;
    touch(dir.path() + "/a.txt");
    FileListModel model;
    readInto(model, dir.path());
    QCOMPARE(model.count(), 1);
    readInto(model, dir.path() + "/gibt es nicht");
    QVERIFY(!model.isRead());
    QCOMPARE(model.count(), 0);
    QCOMPARE(model.rowCount(), 0);
}

void TestFileListModel::rememberedFolderShowsItsChanges()
{
#if defined(Q_OS_UNIX)
    // A folder unchanged for a while is remembered after one read, with the
    // names of the kind the reader did not want; the next reader gets them,
    // and a change is seen at the next read.
    QTemporaryDir dir;
    touch(dir.path() + "/a.txt");
    touch(dir.path() + "/c.txt");
    QVERIFY(QDir(dir.path()).mkdir("ordner"));
    const timespec hourAgo[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(dir.path()).constData(), hourAgo, 0), 0);
    QCOMPARE(scanFolder(dir.path(), ScanFor::Folders)->folders, QStringList{"ordner"});
    QStringList files = scanFolder(dir.path(), ScanFor::Files)->files;
    files.sort();
    QCOMPARE(files, (QStringList{"a.txt", "c.txt"}));
    touch(dir.path() + "/b.txt");
    FileListModel model;
    readInto(model, dir.path());
    QCOMPARE(entriesOf(model), (QStringList{"a.txt", "b.txt", "c.txt"}));
#endif
}

void TestFileListModel::countIsTheTrueCount()
{
    QTemporaryDir dir;
    constexpr int files = 40000;
    for (int i = 0; i < files; ++i) {
        QFile file(dir.path() + QStringLiteral("/f%1.txt").arg(i));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    FileListModel model;
    readInto(model, dir.path());
    QCOMPARE(model.count(), qsizetype(files));
    QCOMPARE(model.rowCount(), files);
    QCOMPARE(model.entry(0), QStringLiteral("f0.txt"));
    QCOMPARE(model.entry(1), QStringLiteral("f1.txt"));
    QCOMPARE(model.entry(files - 1), QStringLiteral("f%1.txt").arg(files - 1));
}

QTEST_GUILESS_MAIN(TestFileListModel)
#include "tst_filelistmodel.moc"
