// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/lirabelerror.h"
#include "testsupport.h"
#include "ui/textfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Lirabel;

class TestTextFiles : public QObject
{
    Q_OBJECT

private slots:
    void writesUtf8LinesWithCrLf();
    void fileAppearsOnlyWhenClosed();
    void discardKeepsTheOldFile();
    void unwritableFolderRaises();
    void specialFilesStay();
};

void TestTextFiles::writesUtf8LinesWithCrLf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liste.txt"));
    QtTextFiles files;
    const int number = files.freeFile();
    files.openForOutput(number, path);
    files.writeLine(number, QString::fromUtf8("ÄÖÜß €"));
    files.writeLine(number, QString());
    files.writeLine(number, QString::fromUtf8("😀"));
    files.closeAll();
    QCOMPARE(contents(path), QByteArray("\xc3\x84\xc3\x96\xc3\x9c\xc3\x9f \xe2\x82\xac\r\n\r\n\xf0\x9f\x98\x80\r\n"));
}

void TestTextFiles::fileAppearsOnlyWhenClosed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liste.txt"));
    QtTextFiles files;
    files.openForOutput(1, path);
    files.writeLine(1, QStringLiteral("a"));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(files.freeFile(), 2);
    files.closeAll();
    QCOMPARE(contents(path), QByteArray("a\r\n"));
    QCOMPARE(files.freeFile(), 1);
}

void TestTextFiles::discardKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liste.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt\r\n");
    }
    QtTextFiles files;
    files.openForOutput(1, path);
    files.writeLine(1, QStringLiteral("neu"));
    files.discardAll();
    QCOMPARE(contents(path), QByteArray("alt\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestTextFiles::unwritableFolderRaises()
{
    QtTextFiles files;
    QVERIFY_THROWS_EXCEPTION(LirabelError,
                             files.openForOutput(1, QStringLiteral("/nonexistent-folder-lirabel/liste.txt")));
    QVERIFY_THROWS_EXCEPTION(LirabelError, files.writeLine(1, QStringLiteral("x")));
}

// A device is written into, never replaced (as root, a replaced /dev/null
// breaks the system); a FIFO nobody reads is refused at once, not waited for.
void TestTextFiles::specialFilesStay()
{
    QtTextFiles files;
    files.openForOutput(1, QStringLiteral("/dev/null"));
    files.writeLine(1, QStringLiteral("weg"));
    files.closeAll();
    struct stat status
    {
    };
    QVERIFY(::stat("/dev/null", &status) == 0 && S_ISCHR(status.st_mode));

    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo")));
    QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
    try {
        files.openForOutput(1, QFile::decodeName(fifo));
        QFAIL("a FIFO without a reader was opened");
    } catch (const LirabelError &error) {
        QCOMPARE(error.message(), QFile::decodeName(fifo) + QStringLiteral("\nkein Gerät oder Leser vorhanden"));
    }
    QVERIFY(::stat(fifo.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
}

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
