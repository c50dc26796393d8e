// How long the printer service takes to print the largest listing (9999
// entries, a blank line after every fifth, 6 points) to a PDF file, next to
// the same lines painted straight onto a QPrinter with QPainter::drawText, one
// below the other, with no layout of their own. Prints both times and their
// ratio; the median of five runs each.

#include "platform/qtprinter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace Lirabel;

namespace {

constexpr int Entries = 9999;
constexpr int Runs = 5;

QString line(int i)
{
    return QStringLiteral("%1.) Ein gewöhnlicher Dateiname %1.mp3").arg(i, 3, 10, QLatin1Char('0'));
}

qint64 printerService(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QtPrinter printer;
    printer.printer().setOutputFileName(path);
    printer.setFontName(QStringLiteral("Times New Roman"));
    printer.setFontSize(6);
    for (int i = 1; i <= Entries; ++i) {
        printer.printLine(line(i));
        if (i % 5 == 0)
            printer.printBlankLine();
    }
    printer.endDoc();
    return timer.elapsed();
}

qint64 plainPainter(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(path);
    QPainter painter(&printer);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(6);
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), &printer);
    qreal y = metrics.ascent();
    auto advance = [&] {
        y += metrics.lineSpacing();
        if (y + metrics.descent() > printer.height()) {
            printer.newPage();
            y = metrics.ascent();
        }
    };
    for (int i = 1; i <= Entries; ++i) {
        painter.drawText(QPointF(0, y), line(i));
        advance();
        if (i % 5 == 0)
            advance();
    }
    painter.end();
    return timer.elapsed();
}

qint64 median(QList<qint64> times)
{
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QList<qint64> service;
    QList<qint64> reference;
    for (int run = 0; run < Runs; ++run) {
        service.append(printerService(dir.filePath(QStringLiteral("service.pdf"))));
        reference.append(plainPainter(dir.filePath(QStringLiteral("reference.pdf"))));
    }
    const qint64 s = median(service);
    const qint64 r = qMax<qint64>(1, median(reference));
    std::printf("printer service: %lld ms, plain QPainter: %lld ms, ratio %.2f\n", s, r, double(s) / double(r));
    return 0;
}
