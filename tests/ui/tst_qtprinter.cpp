// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/lirabelerror.h"
#include "pdfreader.h"
#include "ui/qtprinter.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Lirabel;

namespace {

// "" stands for a blank line.
void printAll(QtPrinter &printer, const QStringList &lines)
{
    for (const QString &line : lines) {
        if (line.isEmpty())
            printer.printBlankLine();
        else
            printer.printLine(line);
    }
    printer.endDoc();
}

QStringList numbered(int count, int blankEvery)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines.append(QStringLiteral("Zeile %1.txt").arg(i, 4, 10, QLatin1Char('0')));
        if (blankEvery > 0 && i % blankEvery == 0)
            lines.append(QString());
    }
    return lines;
}

} // namespace

class TestQtPrinter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void linesInOrder_data();
    void linesInOrder();
    void pageBreaksLoseNothing_data();
    void pageBreaksLoseNothing();
    void fontAndSize_data();
    void fontAndSize();
    void longLineWrapsIndented_data();
    void longLineWrapsIndented();
    void emptyDocumentIsOnePage();
    void abortedDocumentLeavesNothing();
    void printerWithoutOutputRaises();
    void unopenableOutputRaisesAndPrinterStaysUsable();

private:
    QTemporaryDir mDir;
    QString mPdf;
};

void TestQtPrinter::init()
{
    QVERIFY(mDir.isValid());
    mPdf = mDir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentTestFunction()));
    QFile::remove(mPdf);
}

void TestQtPrinter::linesInOrder_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("plain names") << QStringList{"Brief.doc", "Foto.jpg", "Lied.mp3"};
    QTest::newRow("numbered with blank lines")
        << QStringList{"001.) Brief", "002.) Foto", "", "003.) Lied", "004.) Notiz", "", "005.) Plan"};
    QTest::newRow("two blank lines in a row") << QStringList{"oben.txt", "mitte.txt", "", "", "unten.txt"};
    QTest::newRow("umlauts and markup characters")
        << QStringList{"Grüße & Küsse <2024>.txt", "Straße \"neu\".odt", "€ 100 – Übersicht.xls"};
}

void TestQtPrinter::linesInOrder()
{
    QFETCH(QStringList, lines);
    QtPrinter printer;
    printer.printer().setOutputFileName(mPdf);
    printer.setFontName(QStringLiteral("Liberation Sans"));
    printer.setFontSize(10);
    printAll(printer, lines);

    const PdfDocument pdf = readPdf(mPdf);
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    QCOMPARE(pdf.pages, 1);
    QCOMPARE(pdf.textWithBlankLines(), lines);
    QVERIFY(!printer.documentStarted());
}

void TestQtPrinter::pageBreaksLoseNothing_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("300 lines") << numbered(300, 0);
    QTest::newRow("250 lines, blank after every 4th") << numbered(250, 4);
    QTest::newRow("200 lines, blank after every one") << numbered(200, 1);
}

void TestQtPrinter::pageBreaksLoseNothing()
{
    QFETCH(QStringList, lines);
    QtPrinter printer;
    printer.printer().setOutputFileName(mPdf);
    printer.setFontName(QStringLiteral("Times New Roman"));
    printer.setFontSize(14);
    printAll(printer, lines);

    const PdfDocument pdf = readPdf(mPdf);
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    QStringList expected = lines;
    expected.removeAll(QString());
    QStringList printed;
    for (const PdfLine &line : pdf.lines)
        printed.append(line.text);
    QCOMPARE(printed, expected);
    QVERIFY(pdf.pages >= 3);

    // Every page but the last is filled to its bottom: the next line would
    // not have fitted, so less than two line pitches stay free above the
    // margin the first line keeps at the top.
    const qreal pitch = pdf.linePitch();
    const qreal topMargin = pdf.lines.first().top;
    for (int page = 1; page <= pdf.pages; ++page) {
        qreal lowest = 0;
        for (const PdfLine &line : pdf.lines) {
            if (line.page == page)
                lowest = qMax(lowest, line.bottom);
        }
        QVERIFY2(lowest <= pdf.pageHeight - topMargin + pitch / 2, qPrintable(QString::number(page)));
        if (page < pdf.pages)
            QVERIFY2(lowest > pdf.pageHeight - topMargin - 2 * pitch, qPrintable(QString::number(page)));
    }
}

void TestQtPrinter::fontAndSize_data()
{
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<float>("size");
    QTest::addColumn<QString>("pdfFont");
    QTest::newRow("Times New Roman 6") << "Times New Roman" << 6.0f << "LiberationSerif";
    QTest::newRow("Times New Roman 14") << "Times New Roman" << 14.0f << "LiberationSerif";
    QTest::newRow("Liberation Sans 9") << "Liberation Sans" << 9.0f << "LiberationSans";
    QTest::newRow("Liberation Mono 12") << "Liberation Mono" << 12.0f << "LiberationMono";
}

void TestQtPrinter::fontAndSize()
{
    QFETCH(QString, fontName);
    QFETCH(float, size);
    QFETCH(QString, pdfFont);
    QtPrinter printer;
    printer.printer().setOutputFileName(mPdf);
    printer.setFontName(fontName);
    printer.setFontSize(size);
    printAll(printer, numbered(5, 0));

    const PdfDocument pdf = readPdf(mPdf);
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    QCOMPARE(pdf.fonts, QStringList{pdfFont});
    // Consecutive lines stand one line spacing apart, a little more than the
    // point size for these faces.
    const qreal pitch = pdf.linePitch();
    QVERIFY2(pitch > 1.05 * size && pitch < 1.25 * size, qPrintable(QString::number(pitch)));
}

void TestQtPrinter::longLineWrapsIndented_data()
{
    // One row a line, laid out by hand.
    // clang-format off
    QTest::addColumn<QString>("longName");
    QTest::addColumn<QString>("joiner");
    QTest::newRow("no blanks") << QString(QStringLiteral("Sehr_langer_Dateiname_").repeated(12) + "Ende.txt")
                               << QString();
    QTest::newRow("words") << QString(QStringLiteral("Urlaub am Meer mit der ganzen Familie ").repeated(6) + "Ende.jpg")
                           << QStringLiteral(" ");
    // clang-format on
}

void TestQtPrinter::longLineWrapsIndented()
{
    QFETCH(QString, longName);
    QFETCH(QString, joiner);
    QtPrinter printer;
    printer.printer().setOutputFileName(mPdf);
    printer.setFontName(QStringLiteral("Times New Roman"));
    printer.setFontSize(14);
    printAll(printer, {QStringLiteral("davor.txt"), longName, QStringLiteral("danach.txt")});

    const PdfDocument pdf = readPdf(mPdf);
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    QVERIFY(pdf.lines.size() >= 4);
    QCOMPARE(pdf.lines.first().text, QStringLiteral("davor.txt"));
    QCOMPARE(pdf.lines.last().text, QStringLiteral("danach.txt"));
    const qreal margin = pdf.lines.first().left;

    QStringList pieces;
    for (qsizetype i = 1; i + 1 < pdf.lines.size(); ++i) {
        const PdfLine &line = pdf.lines.at(i);
        pieces.append(line.text);
        QVERIFY2(line.right <= pdf.pageWidth - margin + 1, qPrintable(line.text));
        if (i == 1)
            QCOMPARE(line.left, margin);
        else
            QVERIFY2(line.left > margin + 5, qPrintable(line.text));
    }
    QCOMPARE(pieces.join(joiner), longName.trimmed());
    QCOMPARE(pdf.lines.last().left, margin);
    // The next entry follows on the line below the last piece.
    QCOMPARE(pdf.textWithBlankLines().size(), pdf.lines.size());
}

void TestQtPrinter::emptyDocumentIsOnePage()
{
    QtPrinter printer;
    printer.printer().setOutputFileName(mPdf);
    printer.endDoc();
    const PdfDocument pdf = readPdf(mPdf);
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    QCOMPARE(pdf.pages, 1);
    QVERIFY(pdf.lines.isEmpty());
}

void TestQtPrinter::abortedDocumentLeavesNothing()
{
    QtPrinter printer;
    printer.printer().setOutputFileName(mPdf);
    printer.setFontSize(10);
    printer.printLine(QStringLiteral("verworfen.txt"));
    printer.printBlankLine();
    QVERIFY(printer.documentStarted());
    printer.abortDoc();
    QVERIFY(!printer.documentStarted());
    QVERIFY(!QFileInfo::exists(mPdf));

    printer.printLine(QStringLiteral("gedruckt.txt"));
    printer.endDoc();
    const PdfDocument pdf = readPdf(mPdf);
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    QCOMPARE(pdf.textWithBlankLines(), QStringList{QStringLiteral("gedruckt.txt")});
}

void TestQtPrinter::printerWithoutOutputRaises()
{
    // What QPrinter turns into when no print system answers.
    QtPrinter printer;
    printer.printer().setOutputFileName(QString());
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    QVERIFY(printer.printer().outputFileName().isEmpty());
    QVERIFY_THROWS_EXCEPTION(LirabelError, printer.printLine(QStringLiteral("a.txt")));
    QVERIFY(!printer.documentStarted());
    QVERIFY_THROWS_EXCEPTION(LirabelError, printer.endDoc());
}

void TestQtPrinter::unopenableOutputRaisesAndPrinterStaysUsable()
{
    QtPrinter printer;
    printer.printer().setOutputFileName(mDir.filePath(QStringLiteral("fehlt/liste.pdf")));
    printer.printLine(QStringLiteral("a.txt"));
    QVERIFY_THROWS_EXCEPTION(LirabelError, printer.endDoc());
    QVERIFY(!printer.documentStarted());

    printer.printer().setOutputFileName(mPdf);
    printer.printLine(QStringLiteral("b.txt"));
    printer.endDoc();
    const PdfDocument pdf = readPdf(mPdf);
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    QCOMPARE(pdf.textWithBlankLines(), QStringList{QStringLiteral("b.txt")});
}

QTEST_MAIN(TestQtPrinter)
#include "tst_qtprinter.moc"
