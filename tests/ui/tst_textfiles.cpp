// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/lirabelerror.h"
#include "testsupport.h"
#include "ui/qttextfiles.h"

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
    const std::unique_ptr<TextFileWriter> file = files.openForOutput(path);
    file->writeLine(QString::fromUtf8("ÄÖÜß €"));
    file->writeLine(QString());
    file->writeLine(QString::fromUtf8("😀"));
    file->close();
    QCOMPARE(contents(path), QByteArray("\xc3\x84\xc3\x96\xc3\x9c\xc3\x9f \xe2\x82\xac\r\n\r\n\xf0\x9f\x98\x80\r\n"));
}

void TestTextFiles::fileAppearsOnlyWhenClosed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liste.txt"));
    QtTextFiles files;
    const std::unique_ptr<TextFileWriter> file = files.openForOutput(path);
    file->writeLine(QStringLiteral("a"));
    QVERIFY(!QFile::exists(path));
    file->close();
    QCOMPARE(contents(path), QByteArray("a\r\n"));
    // Closed, the file takes no more lines.
    QVERIFY_THROWS_EXCEPTION(LirabelError, file->writeLine(QStringLiteral("b")));
    QCOMPARE(contents(path), QByteArray("a\r\n"));
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
    {
        const std::unique_ptr<TextFileWriter> file = files.openForOutput(path);
        file->writeLine(QStringLiteral("neu"));
        file->discard();
        QCOMPARE(contents(path), QByteArray("alt\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
    // A writer let go without close() drops its file too.
    files.openForOutput(path)->writeLine(QStringLiteral("neu"));
    QCOMPARE(contents(path), QByteArray("alt\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestTextFiles::unwritableFolderRaises()
{
    QtTextFiles files;
    QVERIFY_THROWS_EXCEPTION(LirabelError,
                             (void)files.openForOutput(QStringLiteral("/nonexistent-folder-lirabel/liste.txt")));
}

// A device is written into, never replaced (as root, a replaced /dev/null
// breaks the system); a FIFO nobody reads is refused at once, not waited for.
void TestTextFiles::specialFilesStay()
{
    QtTextFiles files;
    const std::unique_ptr<TextFileWriter> device = files.openForOutput(QStringLiteral("/dev/null"));
    device->writeLine(QStringLiteral("weg"));
    device->close();
    struct stat status
    {
    };
    QVERIFY(::stat("/dev/null", &status) == 0 && S_ISCHR(status.st_mode));

    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo")));
    QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
    try {
        (void)files.openForOutput(QFile::decodeName(fifo));
        QFAIL("a FIFO without a reader was opened");
    } catch (const LirabelError &error) {
        QCOMPARE(error.message(), QFile::decodeName(fifo) + QStringLiteral("\nkein Gerät oder Leser vorhanden"));
    }
    QVERIFY(::stat(fifo.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
}

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
