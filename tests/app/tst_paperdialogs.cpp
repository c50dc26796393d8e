// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The file manager's "Dateiliste als PDF speichern …" and "Dateiliste
// drucken …": the dialogs asked, in order and with what, and the pages read
// back from the PDF written.

#include "app/listprint.h"
#include "app/listsave.h"
#include "core/standarddialogs.h"
#include "pdfreader.h"
#include "standins.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Lirabel;

class TestPaperDialogs : public QObject
{
    Q_OBJECT

private slots:
    void saveAsPdf();
    void printAfterTheDialogs_data();
    void printAfterTheDialogs();
};

namespace {

ListRequest requestFor(const QString &folder)
{
    ListRequest request;
    request.folders = {QFile::encodeName(folder)};
    request.subfolders = true;
    request.format = ListFormat::Pdf;
    return request;
}

} // namespace

void TestPaperDialogs::saveAsPdf()
{
    QTemporaryDir top, out;
    const QString folder = top.filePath(QStringLiteral("Bücher"));
    makeTree(folder, {"Brief.txt", "Alt/Lied.mp3"});
    writeFile(folder + QStringLiteral("/Brief.txt"), "1234");
    StandInPlatform stand;
    stand.dialogs.saveAnswers.enqueue(out.filePath(QStringLiteral("Liste")));
    ListRequest request = requestFor(folder);
    request.askForFile = true;
    QCOMPARE(saveListAsked(request), 0);
    QCOMPARE(stand.dialogs.saveRequests.size(), 1);
    QCOMPARE(stand.dialogs.saveRequests.at(0).fileName, QStringLiteral("Bücher.pdf"));
    const PdfDocument pdf = readPdf(out.filePath(QStringLiteral("Liste.pdf")));
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    const QString text = pdf.pageText(1).join(QLatin1Char('\n'));
    for (const char *shown : {"Brief.txt", "Alt/", "Lied.mp3", "Summe: 1 Datei, 4 Bytes", "Summe: 1 Datei, 0 Bytes",
                              "Gesamt: 2 Dateien in 2 Ordnern, 4 Bytes", "Seite 1 von 1"})
        QVERIFY2(text.contains(QString::fromUtf8(shown)), shown);
    QVERIFY(stand.messageBox.shown.isEmpty());
}

void TestPaperDialogs::printAfterTheDialogs_data()
{
    QTest::addColumn<bool>("font");
    QTest::addColumn<bool>("printer");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("gedruckt") << true << true << false;
    QTest::newRow("quer, auf aufrechten Seiten gedreht") << true << true << true;
    QTest::newRow("Schrift abgebrochen") << false << true << false;
    QTest::newRow("Drucker abgebrochen") << true << false << false;
}

void TestPaperDialogs::printAfterTheDialogs()
{
    QFETCH(bool, font);
    QFETCH(bool, printer);
    QFETCH(bool, landscape);
    QTemporaryDir top, out;
    makeTree(top.path(), {"Grüße aus Köln.txt"});
    StandInPlatform stand;
    if (font)
        stand.dialogs.fontAnswers.enqueue(FontChoice{QStringLiteral("Liberation Serif"), 12});
    stand.dialogs.printerAnswers.enqueue(printer);
    // The print dialog's choice, standing in for a queue: a PDF file.
    QPrinter device(QPrinter::HighResolution);
    device.setOutputFormat(QPrinter::PdfFormat);
    const QString file = out.filePath(QStringLiteral("druck.pdf"));
    device.setOutputFileName(file);
    ListRequest request = requestFor(top.path());
    request.paper.printer = QString();
    request.paper.askPrinter = true;
    request.paper.landscape = landscape;

    QCOMPARE(printListAsked(request, device), font && printer ? 0 : 1);
    QCOMPARE(stand.dialogs.fontRequests.size(), 1);
    const StandInDialogs::FontRequest &asked = stand.dialogs.fontRequests.at(0);
    QCOMPARE(asked.name, QStringLiteral("Liberation Sans"));
    QCOMPARE(asked.size, 9.0f);
    QCOMPARE(std::pair(asked.minSize, asked.maxSize), std::pair(6, 14));
    QVERIFY(asked.flags & StandardDialogs::FontLimitSize);
    QCOMPARE(stand.dialogs.printerRequests.size(), font ? 1 : 0);
    QCOMPARE(QFile::exists(file), font && printer);
    if (!QFile::exists(file))
        return;
    const PdfDocument pdf = readPdf(file);
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    // pdftotext -layout reads a turned page as a person turning it does.
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("Grüße aus Köln.txt")));
    // The queue gets upright pages whatever the table's orientation.
    QVERIFY(pdf.pageWidth < pdf.pageHeight);
    QVERIFY2(pdf.fonts.contains(QStringLiteral("LiberationSerif")), qPrintable(pdf.fonts.join(QLatin1Char(' '))));
}

QTEST_MAIN(TestPaperDialogs)
#include "tst_paperdialogs.moc"
