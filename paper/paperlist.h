// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Lists on paper: a PDF (QPdfWriter) or a printed list (QPrinter, CUPS).
//
// The walk hands the folders over as for every format; their rows are
// written to a spool file with each cell's width on one line (rowspool.h),
// and the widest value of each column is kept. At the end the columns get
// their widths (columnwidths.h), upright or on the side; a first reading of
// the spool counts each row's lines where a text wraps in its column, which
// gives the pages; a second reading draws them one after another, each with
// its header ("Seite n von m") and the column headings. Only the rows' line
// counts and the first row of every page are kept; the engine hands each
// page on when the next one begins.

#include "lists/listrequest.h"
#include "lists/listwriter.h"
#include "paper/rowspool.h"

#include <QDateTime>
#include <QFont>
#include <QPen>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;

namespace Lirabel {

class ListSink;
class SinkDevice;

class PaperList : public ListWriter
{
public:
    // A PDF into the sink, on the paper of the locale (LC_PAPER; A4 in C).
    PaperList(const ListRequest &request, const QStringList &shownFolders, ListSink &sink);
    // Printed on printer, on its paper; the job is sent when finish() ends.
    PaperList(const ListRequest &request, const QStringList &shownFolders, QPrinter &printer);
    ~PaperList() override;
    PaperList(const PaperList &) = delete;
    PaperList &operator=(const PaperList &) = delete;

    void folder(const ListedFolder &folder) override;
    void finish() override;

private:
    struct Column
    {
        const ListColumn *column = nullptr; // nothing for "Nr."
        QString heading;
        bool numeric = false;
        qreal widest = 0;
        qreal left = 0;
        qreal width = 0;
    };

    PaperList(const ListRequest &request, const QStringList &shownFolders);
    void setUpFonts();
    void placeColumns();
    void countLines();
    void paginate();
    void drawPages();
    void drawHeader(QPainter &painter, int page);
    void drawRecord(QPainter &painter, const RowSpool::Record &record, qreal top);
    [[nodiscard]] QPen rulePen() const;
    [[nodiscard]] qreal recordHeight(RowSpool::Kind kind, int lines) const;
    [[nodiscard]] int linesOf(const QString &text, const QFont &font, qreal width) const;
    void drawText(QPainter &painter, const QString &text, const QFont &font, const QPointF &at, qreal width, bool right,
                  qreal oneLineWidth = -1) const;
    // Whether each folder gets a heading and a total: with subfolders or several ORDNER.
    [[nodiscard]] bool sections() const { return mRequest.subfolders || mRequest.severalFolders(); }
    // "Summe: …" after a folder, "Gesamt: …" (grand) at the end.
    [[nodiscard]] QString totalText(bool grand, qint64 files, qint64 size, qint64 seconds) const;

    const ListRequest &mRequest;
    QString mShownFolder; // the listed folders, absolute, as a person reads them: "/a/b" or "/a, /c und /d"
    QString mTitle;       // the document's: the listed folders' names
    QDateTime mListedAt;
    std::unique_ptr<SinkDevice> mSinkDevice; // a PDF's
    std::unique_ptr<QPdfWriter> mPdf;
    QPrinter *mPrinter = nullptr;
    ListSink *mSink = nullptr;
    QPagedPaintDevice *mDevice = nullptr;

    QFont mFont;
    QFont mBold;
    qreal mLineHeight = 0;
    qreal mAscent = 0;
    qreal mRowGap = 0;
    bool mTurned = false; // a landscape table drawn turned on upright pages
    qreal mPageWidth = 0;
    qreal mPageHeight = 0;
    qreal mHeaderHeight = 0;
    int mFolderLines = 1;  // of the listed folder in the header
    int mHeadingLines = 1; // of the column headings
    qreal mPageLabelWidth = 0;
    qreal mFolderWidth = 0; // beside the page label

    std::vector<Column> mColumns;
    RowSpool mSpool;
    std::vector<quint16> mLines; // each record's lines, in spool order
    std::vector<RowSpool::Kind> mKinds;
    std::vector<qint64> mPageStarts; // the first record of each page
    QString mRoom;

    qint64 mNumber = 0;
    qint64 mFolders = 0;
    qint64 mTotalSize = 0;
    qint64 mTotalSeconds = 0;
    bool mDurations = false;
};

} // namespace Lirabel
