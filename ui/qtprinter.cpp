// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/qtprinter.h"

#include "core/lirabelerror.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace Lirabel {

namespace {

constexpr qreal DefaultPointSize = 10;

LirabelError printerError(const QString &reason)
{
    return LirabelError(QStringLiteral("Drucken nicht möglich: %1").arg(reason));
}

} // namespace

QtPrinter::QtPrinter() = default;

QtPrinter::~QtPrinter() = default;

QPrinter &QtPrinter::printer()
{
    // Made at first use, not with the program: a QPrinter loads the print
    // system's plugin and its libraries, a fifth of the program's start-up.
    if (!mPrinter) {
        mPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Qt's 10 point default margin lies inside the area many printers cannot reach.
        mPrinter->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        // The name the job has in the print queue.
        mPrinter->setDocName(QStringLiteral("Dateiliste"));
    }
    return *mPrinter;
}

QFont QtPrinter::printerFont()
{
    QFont font;
    if (!mFontName.isEmpty())
        font.setFamily(mFontName);
    font.setPointSizeF(mFontSize > 0 ? qreal(mFontSize) : DefaultPointSize);
    return QFont(font, &printer());
}

void QtPrinter::beginDoc()
{
    // Without a print system Qt quietly turns the printer into a PDF writer
    // that has no file to write: the listing would vanish without a word.
    QPrinter &device = printer();
    if (device.outputFormat() == QPrinter::PdfFormat && device.outputFileName().isEmpty())
        throw printerError(QStringLiteral("kein Drucker eingerichtet"));

    mDocFont = printerFont();
    const QFontMetricsF metrics(mDocFont, mPrinter.get());
    mLineHeight = metrics.lineSpacing();
    mAscent = metrics.ascent();
    mPageWidth = mPrinter->width();
    mPageHeight = mPrinter->height();
    if (mPageWidth <= 0 || mPageHeight <= 0)
        throw printerError(QStringLiteral("kein druckbarer Bereich"));
    mIndent = qMin(2 * metrics.horizontalAdvance(QLatin1Char('M')), mPageWidth / 4);
    mPages = {Page()};
    mY = 0;
    mStarted = true;
}

void QtPrinter::advanceLine()
{
    // The first line of a page always stays, however tall it is.
    if (mY > 0 && mY + mLineHeight > mPageHeight) {
        mPages.append(Page());
        mY = 0;
    }
}

void QtPrinter::printLine(const QString &text)
{
    if (!mStarted)
        beginDoc();
    if (text.isEmpty()) {
        printBlankLine();
        return;
    }

    QTextLayout layout(text, mDocFont, mPrinter.get());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (bool first = true;; first = false) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        const qreal x = first ? 0 : mIndent;
        line.setLineWidth(mPageWidth - x);
        advanceLine();
        mPages.last().append({text.mid(line.textStart(), line.textLength()), QPointF(x, mY + mAscent)});
        mY += mLineHeight;
    }
    layout.endLayout();
}

void QtPrinter::printBlankLine()
{
    if (!mStarted)
        beginDoc();
    advanceLine();
    mY += mLineHeight;
}

void QtPrinter::endDoc()
{
    if (!mStarted)
        beginDoc(); // an empty listing is still a document: one empty page

    QPainter painter;
    if (!painter.begin(mPrinter.get())) {
        discardDoc();
        throw printerError(QStringLiteral("der Drucker lässt sich nicht öffnen"));
    }
    painter.setFont(mDocFont);
    bool failed = false;
    for (qsizetype page = 0; page < mPages.size() && !failed; ++page) {
        if (page > 0 && !mPrinter->newPage()) {
            failed = true;
            break;
        }
        for (const Piece &piece : std::as_const(mPages.at(page)))
            painter.drawText(piece.baseline, piece.text);
        failed = mPrinter->printerState() == QPrinter::Error;
    }
    if (failed)
        mPrinter->abort();
    const bool ended = painter.end();
    discardDoc();
    if (failed || !ended || mPrinter->printerState() == QPrinter::Error)
        throw printerError(QStringLiteral("Fehler beim Drucken"));
}

void QtPrinter::abortDoc()
{
    // Nothing has reached the printer yet: dropping the pages drops the job.
    discardDoc();
}

void QtPrinter::discardDoc()
{
    mPages.clear();
    mY = 0;
    mStarted = false;
}

} // namespace Lirabel
