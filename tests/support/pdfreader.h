// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Reads a printed PDF back the way a reader sees it, through poppler's
// pdftotext and pdffonts: the text lines with their place on the page, and
// the fonts the document uses.

#include <QList>
#include <QString>
#include <QStringList>

struct PdfLine
{
    int page = 0;   // from 1
    qreal left = 0; // points from the left edge of the page
    qreal right = 0;
    qreal top = 0; // points from the top edge of the page
    qreal bottom = 0;
    QString text; // the words of the line, one blank between them
};

struct PdfDocument
{
    bool readable = false;
    QString error;
    int pages = 0;
    qreal pageWidth = 0;
    qreal pageHeight = 0;
    QList<PdfLine> lines;
    QStringList fonts; // base font names, subset tags removed

    // The lines in reading order with the blank lines between them: a gap of
    // two line pitches on a page is one empty line. Pages are not marked.
    [[nodiscard]] QStringList textWithBlankLines() const;
    // The distance between the tops of two consecutive lines, the smallest seen.
    [[nodiscard]] qreal linePitch() const;
    [[nodiscard]] QStringList pageText(int page) const;
};

[[nodiscard]] PdfDocument readPdf(const QString &path);
