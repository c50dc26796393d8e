// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Print: the 9999 entries of a folder at 6 points through the printer service
// into a PDF file, next to enscript writing the same lines to PostScript in
// Times-Roman 6 on the same paper (A4). Reports pages per second of both.
//
//   bench_printer ROUNDS FOLDER WORKDIR

#include "bench/benchsupport.h"
#include "bench/readinto.h"
#include "ui/filelistmodel.h"
#include "ui/qtprinter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>

using namespace Lirabel;
using namespace LirabelBench;

namespace {

double printRun(QtPrinter &printer, const QStringList &lines)
{
    const auto start = std::chrono::steady_clock::now();
    for (const QString &line : lines)
        printer.printLine(line);
    printer.endDoc();
    return msSince(start);
}

double enscript(const QString &lines, const QString &postScript)
{
    return runChild({"enscript", "-q", "-B", "-M", "A4", "-f", "Times-Roman6", "-o",
                     QFile::encodeName(postScript).toStdString(), QFile::encodeName(lines).toStdString()})
        .ms;
}

int pdfPages(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished();
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(info.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

int postScriptPages(const QString &ps)
{
    QFile f(ps);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    int pages = 0;
    while (!f.atEnd()) {
        if (f.readLine().startsWith("%%Page:"))
            ++pages;
    }
    return pages;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: bench_printer ROUNDS FOLDER WORKDIR\n");
        return 2;
    }
    const int rounds = std::max(1, args.at(1).toInt());
    const QDir work(args.at(3));
    const QString pdf = work.filePath(QStringLiteral("liste.pdf"));
    const QString text = work.filePath(QStringLiteral("liste.txt"));
    const QString ps = work.filePath(QStringLiteral("liste.ps"));

    FileListModel list;
    readInto(list, args.at(2));
    QStringList lines;
    QByteArray bytes;
    for (qsizetype i = 0; i < list.count(); ++i) {
        lines.append(list.entry(i));
        bytes += list.entry(i).toUtf8() + '\n';
    }
    QFile textFile(text);
    if (!textFile.open(QIODevice::WriteOnly) || textFile.write(bytes) != bytes.size())
        return 1;
    textFile.close();

    // One printer for all rounds, as the program keeps one for its life.
    QtPrinter printer;
    printer.printer().setOutputFileName(pdf);
    printer.printer().setPageSize(QPageSize(QPageSize::A4));
    printer.setFontName(QStringLiteral("Times New Roman"));
    printer.setFontSize(6);

    const auto [program, reference] = alternate(
        rounds, [&] { return printRun(printer, lines); }, [&] { return enscript(text, ps); });
    const int pages = pdfPages(pdf);
    const int psPages = postScriptPages(ps);
    const double ratio = program / reference;
    printInfoRow("Print, " + std::to_string(lines.size()) + " entries at 6 points",
                 fixed(program, 0) + " ms, " + std::to_string(pages) + " pages PDF",
                 "`enscript` " + fixed(reference, 0) + " ms, " + std::to_string(psPages) + " pages PostScript",
                 fixed(ratio, 2) + "×");
    printInfoRow("Print, pages per second", fixed(pages / program * 1000, 1), fixed(psPages / reference * 1000, 1),
                 fixed((psPages / reference) / (pages / program), 2) + "× (time per page)");
    return 0;
}
