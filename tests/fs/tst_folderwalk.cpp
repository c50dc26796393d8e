// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The lists' walk with a large folder's details asked by two threads gives
// what one thread gives: the same files, sizes and times, in the same order.

#include "fs/filedetails.h"
#include "fs/folderwalk.h"
#include "testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Lirabel;

class TestFolderWalk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sharedAsOne_data();
    void sharedAsOne();
};

void TestFolderWalk::sharedAsOne_data()
{
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<bool>("sizesAndTimes");
    QTest::newRow("tree, sizes and times") << true << true;
    QTest::newRow("tree, names") << true << false;
    QTest::newRow("one folder, sizes and times") << false << true;
}

void TestFolderWalk::sharedAsOne()
{
    QFETCH(bool, subfolders);
    QFETCH(bool, sizesAndTimes);
    QTemporaryDir root;
    makeTree(root.path(), {"a.txt", "sub/b.mp3", "sub/tief/c.txt", "leer/"});
    // Enough files that the second thread takes its part, each of its own size and time.
    for (int i = 0; i < 2000; ++i) {
        const QString path = root.filePath(QStringLiteral("viele/d%1.txt").arg(i));
        if (i == 0)
            QVERIFY(QDir().mkpath(root.filePath("viele")));
        writeFile(path, QByteArray(i % 7, 'x'));
        const struct timespec times[2] = {{0, UTIME_OMIT}, {1000000000 + i * 3600, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    }
    QVERIFY(QFile::link(root.filePath("a.txt"), root.filePath("viele/verweis.txt")));
    QCOMPARE(::mkfifo(QFile::encodeName(root.filePath("viele/fifo")).constData(), 0600), 0);

    const auto walked = [&](size_t shareFrom) {
        WalkSettings settings;
        settings.subfolders = subfolders;
        settings.sizesAndTimes = sizesAndTimes;
        settings.shareFrom = shareFrom;
        settings.sortFolders = [](QStringList &names) { names.sort(); };
        QStringList lines;
        const bool read = walkFolders(
            QFile::encodeName(subfolders ? root.path() : root.filePath("viele")), settings,
            [&lines](WalkedFolder &folder) {
                lines << QStringLiteral("[%1]").arg(folder.relativePath.join(QLatin1Char('/')));
                for (const WalkedFile &file : folder.files)
                    lines << QStringLiteral("%1 %2 %3").arg(folder.name(file)).arg(file.size).arg(file.modified);
            },
            [&lines](const WalkFailure &failure) { lines << QStringLiteral("failed %1").arg(int(failure.problem)); });
        return read ? lines : QStringList{};
    };
    const QStringList alone = walked(NeverShared);
    const QStringList shared = walked(0);
    QCOMPARE(shared, alone);
    // The folders, the three files of the tree and those of viele.
    QCOMPARE(alone.size(), subfolders ? 5 + 3 + 2001 : 1 + 2001);
    {
        const qsizetype at = alone.indexOf(QRegularExpression("d150\\.txt .*"));
        QCOMPARE(alone.value(at), sizesAndTimes ? QStringLiteral("d150.txt 3 1000540000") : "d150.txt -1 0");
        QVERIFY(alone.contains(sizesAndTimes
                                   ? QStringLiteral("verweis.txt 0 %1")
                                         .arg(QFileInfo(root.filePath("a.txt")).lastModified().toSecsSinceEpoch())
                                   : QStringLiteral("verweis.txt -1 0")));
    }
}

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
