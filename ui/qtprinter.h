// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "core/platform.h"

#include <QFont>
#include <QList>
#include <QPrinter>
#include <QString>

#include <memory>

namespace Lirabel {

// The one printer of the program: a high-resolution QPrinter, made at first
// use, that lives as long as the program, so its font, its queue and its page
// settings stay as set. The print dialog works on printer().
//
// Each line is laid out on the printer's page as it comes: it goes below the
// previous one, a new page starts when it would cross the printable area, and
// a line wider than the page continues, indented, on the next line. The laid
// out pages are painted onto the printer only by endDoc(). Qt's print engines
// on Linux cannot take back a started job (QPrinter::abort() does nothing and
// ending the painter queues what was painted), so keeping the pages until the
// end is what lets abortDoc() leave nothing half-printed in the queue.
class QtPrinter : public PrinterService
{
public:
    QtPrinter();
    ~QtPrinter() override;
    QtPrinter(const QtPrinter &) = delete;
    QtPrinter &operator=(const QtPrinter &) = delete;

    void setFontName(const QString &name) override { mFontName = name; }
    void setFontSize(float points) override { mFontSize = points; }
    [[nodiscard]] QString fontName() const override { return mFontName; }
    [[nodiscard]] float fontSize() const override { return mFontSize; }
    void printLine(const QString &text) override;
    void printBlankLine() override;
    void endDoc() override;
    void abortDoc() override;

    // The device the pages go to; tests and benchmarks set an output file on it.
    [[nodiscard]] QPrinter &printer();
    // A document has lines (or an end) pending since the last endDoc/abortDoc.
    [[nodiscard]] bool documentStarted() const { return mStarted; }

private:
    struct Piece
    {
        QString text;
        QPointF baseline; // where the text starts, in the page's printable area
    };
    using Page = QList<Piece>;

    void beginDoc();
    void advanceLine();
    void discardDoc();
    [[nodiscard]] QFont printerFont();

    std::unique_ptr<QPrinter> mPrinter; // made by printer() at first use
    QString mFontName;
    float mFontSize = 0;

    bool mStarted = false;
    QFont mDocFont;        // the font of the document in progress
    qreal mLineHeight = 0; // in printer pixels
    qreal mAscent = 0;
    qreal mPageWidth = 0;
    qreal mPageHeight = 0;
    qreal mIndent = 0; // of the continuation of a line too wide for the page
    qreal mY = 0;      // top of the next line on the current page
    QList<Page> mPages;
};

} // namespace Lirabel
