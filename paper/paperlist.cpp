// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "paper/paperlist.h"

#include "core/lirabelerror.h"
#include "lists/listsink.h"
#include "paper/cellformat.h"
#include "paper/columnwidths.h"
#include "paper/papersize.h"
#include "paper/sinkdevice.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextLayout>
#include <QTextOption>
#include <QTransform>

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Lirabel {

namespace {

// Away from the edge that many printers cannot reach, as the window prints.
const QMarginsF Margins(15, 15, 15, 15);

// Qt's PDF engine allocates a page's buffers and its compressor at every
// page and frees them after it; the C library would hand the top of the heap
// back to the system each time and fault it in again at the next page (half
// the system time of a long list).
void keepFreedMemory()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

// The ORDNER as given made absolute: on paper, "." would say nothing.
QString absoluteShown(const QString &shownFolder)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(shownFolder));
}

QString folderName(const QString &absolute)
{
    const QString name = QFileInfo(absolute).fileName();
    return name.isEmpty() ? absolute : name;
}

} // namespace

PaperList::PaperList(const ListRequest &request, const QStringList &shownFolders)
    : mRequest(request)
    , mListedAt(QDateTime::currentDateTime())
{
    QStringList absolute, names;
    for (const QString &folder : shownFolders) {
        absolute.append(absoluteShown(folder));
        names.append(folderName(absolute.back()));
    }
    mShownFolder = spokenList(absolute);
    mTitle = spokenList(names);
    if (request.numberEntries)
        mColumns.push_back({nullptr, QStringLiteral("Nr."), true});
    for (const ListColumn *column : request.columns) {
        mColumns.push_back({column, column->heading.toString(), isNumeric(column->kind)});
        mDurations = mDurations || column->kind == ColumnKind::Duration;
    }
}

PaperList::PaperList(const ListRequest &request, const QStringList &shownFolders, ListSink &sink)
    : PaperList(request, shownFolders)
{
    mSink = &sink;
    mSinkDevice = std::make_unique<SinkDevice>(sink);
    mPdf = std::make_unique<QPdfWriter>(mSinkDevice.get());
    mPdf->setPageSize(localePaperSize());
    mPdf->setPageMargins(Margins, QPageLayout::Millimeter);
    mPdf->setTitle(mTitle);
    mPdf->setCreator(QStringLiteral("Lirabel"));
    mDevice = mPdf.get();
    setUpFonts();
}

PaperList::PaperList(const ListRequest &request, const QStringList &shownFolders, QPrinter &printer)
    : PaperList(request, shownFolders)
{
    mPrinter = &printer;
    printer.setPageMargins(Margins, QPageLayout::Millimeter);
    printer.setDocName(mTitle);
    printer.setCreator(QStringLiteral("Lirabel"));
    mDevice = &printer;
    setUpFonts();
}

PaperList::~PaperList() = default;

void PaperList::setUpFonts()
{
    QFont font(mRequest.paper.fontFamily);
    font.setPointSizeF(mRequest.paper.fontPoints);
    mFont = QFont(font, mDevice);
    mBold = mFont;
    mBold.setBold(true);
    const QFontMetricsF metrics(mFont, mDevice);
    mLineHeight = metrics.lineSpacing();
    mAscent = metrics.ascent();
    mRowGap = mLineHeight / 4;
    const QFontMetricsF bold(mBold, mDevice);
    for (Column &column : mColumns)
        column.widest = bold.horizontalAdvance(column.heading);
}

QString PaperList::totalText(bool grand, qint64 files, qint64 size, qint64 seconds) const
{
    QString text = QStringLiteral("%1: %2 %3")
                       .arg(grand ? QStringLiteral("Gesamt") : QStringLiteral("Summe"), germanNumber(files),
                            files == 1 ? QStringLiteral("Datei") : QStringLiteral("Dateien"));
    if (grand && sections())
        text += QStringLiteral(" in %1 %2")
                    .arg(germanNumber(mFolders), mFolders == 1 ? QStringLiteral("Ordner") : QStringLiteral("Ordnern"));
    text += QStringLiteral(", ") + paperSizeText(size, mRequest.paper.readableSizes)
        + (mRequest.paper.readableSizes ? QString() : QStringLiteral(" Bytes"));
    if (mDurations)
        text += QStringLiteral(", Spieldauer ") + durationText(seconds);
    return text;
}

void PaperList::folder(const ListedFolder &folder)
{
    ++mFolders;
    // Each ORDNER's top folder by its absolute path, the folders below it as
    // the other formats name them.
    if (sections())
        mSpool.append(
            {RowSpool::Kind::Heading,
             {folder.relativePath.isEmpty() ? absoluteShown(folder.shownRoot) : folder.shownFolder + QLatin1Char('/')},
             {}});
    const QFontMetricsF metrics(mFont, mDevice);
    RowSpool::Record row;
    row.texts.resize(mColumns.size());
    row.widths.resize(mColumns.size());
    qint64 size = 0;
    qint64 seconds = 0;
    for (const ListedFile &file : folder.files) {
        ++mNumber;
        for (size_t i = 0; i < mColumns.size(); ++i) {
            Column &column = mColumns[i];
            row.texts[i] = column.column
                ? paperCellText(column.column->kind,
                                column.column->value({folder, file, mRequest.stripExtensions, mRoom}),
                                mRequest.paper.readableSizes)
                : QString::number(mNumber);
            row.widths[i] = float(metrics.horizontalAdvance(row.texts[i]));
            column.widest = std::max(column.widest, qreal(row.widths[i]));
        }
        mSpool.append(row);
        size += std::max<qint64>(file.size, 0);
        seconds += std::max<qint64>(file.tags->seconds, 0);
    }
    if (sections())
        mSpool.append({RowSpool::Kind::Total, {totalText(false, qint64(folder.files.size()), size, seconds)}, {}});
    mTotalSize += size;
    mTotalSeconds += seconds;
}

void PaperList::finish()
{
    mSpool.append({RowSpool::Kind::Total, {totalText(true, mNumber, mTotalSize, mTotalSeconds)}, {}});
    placeColumns();
    countLines();
    paginate();
    keepFreedMemory();
    drawPages();
    if (mSinkDevice) {
        if (mSinkDevice->failure())
            throw LirabelError(*mSinkDevice->failure());
        mSink->finish();
    }
}

int PaperList::linesOf(const QString &text, const QFont &font, qreal width) const
{
    QTextLayout layout(text, font, mDevice);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++lines;
    }
    layout.endLayout();
    return std::max(lines, 1);
}

void PaperList::placeColumns()
{
    const QFontMetricsF metrics(mFont, mDevice);
    ColumnDemand demand;
    demand.gap = 1.5 * metrics.horizontalAdvance(QLatin1Char('M'));
    for (size_t i = 0; i < mColumns.size(); ++i) {
        demand.widest.push_back(mColumns[i].widest);
        if (mColumns[i].column && mColumns[i].column->name == u"name")
            demand.nameColumn = int(i);
    }
    mDevice->setPageOrientation(QPageLayout::Portrait);
    const bool landscape = mRequest.paper.landscape || needsLandscape(demand, mDevice->width());
    // A print queue is handed upright pages, the table turned on them: given
    // pages on their side, CUPS shrinks them onto its upright paper.
    mTurned = landscape && mPrinter;
    if (!mTurned)
        mDevice->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    mPageWidth = mTurned ? mDevice->height() : mDevice->width();
    mPageHeight = mTurned ? mDevice->width() : mDevice->height();
    const std::vector<qreal> widths = columnWidths(demand, mPageWidth);
    qreal left = 0;
    for (size_t i = 0; i < mColumns.size(); ++i) {
        mColumns[i].left = left;
        mColumns[i].width = widths[i];
        left += widths[i] + demand.gap;
    }

    // The header: the folder beside the page number, the time of the list,
    // the column headings, a rule.
    mPageLabelWidth = metrics.horizontalAdvance(QStringLiteral("Seite 88888 von 88888"));
    mFolderWidth = std::max(mPageWidth - mPageLabelWidth - demand.gap, mPageWidth / 3);
    mFolderLines = linesOf(mShownFolder, mBold, mFolderWidth);
    mHeadingLines = 1;
    for (const Column &column : mColumns)
        mHeadingLines = std::max(mHeadingLines, linesOf(column.heading, mBold, column.width));
    mHeaderHeight = (mFolderLines + 1.5 + mHeadingLines + 0.6) * mLineHeight;
}

QPen PaperList::rulePen() const
{
    QPen rule(Qt::gray);
    rule.setWidthF(mDevice->logicalDpiY() / 144.0); // half a point
    return rule;
}

qreal PaperList::recordHeight(RowSpool::Kind kind, int lines) const
{
    switch (kind) {
    case RowSpool::Kind::Heading:
        return (lines + 0.5) * mLineHeight + mRowGap;
    case RowSpool::Kind::Row:
        return lines * mLineHeight + mRowGap;
    case RowSpool::Kind::Total:
        return lines * mLineHeight + 2 * mRowGap;
    }
    return 0;
}

void PaperList::countLines()
{
    mLines.reserve(size_t(mSpool.count()));
    mKinds.reserve(size_t(mSpool.count()));
    mSpool.rewind();
    RowSpool::Record record;
    while (mSpool.next(record)) {
        int lines = 1;
        if (record.kind != RowSpool::Kind::Row) {
            lines = linesOf(record.texts.front(), mBold, mPageWidth);
        } else {
            for (size_t i = 0; i < mColumns.size(); ++i) {
                if (record.widths[i] > mColumns[i].width)
                    lines = std::max(lines, linesOf(record.texts[i], mFont, mColumns[i].width));
            }
        }
        mLines.push_back(quint16(std::min(lines, 0xffff)));
        mKinds.push_back(record.kind);
    }
}

void PaperList::paginate()
{
    const qreal room = mPageHeight - mHeaderHeight;
    mPageStarts = {0};
    qreal y = 0;
    for (size_t i = 0; i < mLines.size(); ++i) {
        const qreal height = recordHeight(mKinds[i], mLines[i]);
        // A folder's heading stays with its first row.
        const qreal needed = height
            + (mKinds[i] == RowSpool::Kind::Heading && i + 1 < mLines.size()
                   ? recordHeight(mKinds[i + 1], mLines[i + 1])
                   : 0);
        // The first record of a page stays, however tall it is.
        if (y > 0 && y + needed > room) {
            mPageStarts.push_back(qint64(i));
            y = 0;
        }
        y += height;
    }
}

void PaperList::drawText(QPainter &painter, const QString &text, const QFont &font, const QPointF &at, qreal width,
                         bool right, qreal oneLineWidth) const
{
    if (oneLineWidth >= 0 && oneLineWidth <= width) {
        painter.setFont(font);
        painter.drawText(QPointF(right ? at.x() + width - oneLineWidth : at.x(), at.y() + mAscent), text);
        return;
    }
    QTextLayout layout(text, font, mDevice);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(right ? Qt::AlignRight : Qt::AlignLeft);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y + mAscent - line.ascent()));
        y += mLineHeight;
    }
    layout.endLayout();
    layout.draw(&painter, at);
}

void PaperList::drawHeader(QPainter &painter, int page)
{
    const QString pageLabel = QStringLiteral("Seite %1 von %2").arg(page + 1).arg(mPageStarts.size());
    painter.setPen(Qt::black);
    drawText(painter, mShownFolder, mBold, QPointF(0, 0), mFolderWidth, false);
    drawText(painter, pageLabel, mFont, QPointF(mPageWidth - mPageLabelWidth, 0), mPageLabelWidth, true);
    qreal y = mFolderLines * mLineHeight;
    drawText(painter, QStringLiteral("Dateiliste vom %1").arg(mListedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm"))),
             mFont, QPointF(0, y), mPageWidth, false);
    y += 1.5 * mLineHeight;
    for (const Column &column : mColumns)
        drawText(painter, column.heading, mBold, QPointF(column.left, y), column.width, column.numeric);
    y += (mHeadingLines + 0.2) * mLineHeight;
    painter.setPen(rulePen());
    painter.drawLine(QPointF(0, y), QPointF(mPageWidth, y));
}

void PaperList::drawRecord(QPainter &painter, const RowSpool::Record &record, qreal top)
{
    switch (record.kind) {
    case RowSpool::Kind::Heading:
        drawText(painter, record.texts.front(), mBold, QPointF(0, top + mLineHeight / 2), mPageWidth, false);
        return;
    case RowSpool::Kind::Total:
        painter.setPen(rulePen());
        painter.drawLine(QPointF(0, top + mRowGap / 2), QPointF(mPageWidth, top + mRowGap / 2));
        painter.setPen(Qt::black);
        drawText(painter, record.texts.front(), mBold, QPointF(0, top + mRowGap), mPageWidth, false);
        return;
    case RowSpool::Kind::Row:
        for (size_t i = 0; i < mColumns.size(); ++i) {
            const Column &column = mColumns[i];
            drawText(painter, record.texts[i], mFont, QPointF(column.left, top), column.width, column.numeric,
                     record.widths[i]);
        }
        return;
    }
}

void PaperList::drawPages()
{
    const auto failed = [this](const QString &reason) {
        return LirabelError(mPrinter ? QStringLiteral("Drucken nicht möglich !\n%1").arg(reason) : reason);
    };
    QPainter painter;
    if (!painter.begin(mDevice))
        throw failed(mPrinter ? QStringLiteral("Der Drucker lässt sich nicht öffnen.")
                              : QStringLiteral("Das PDF lässt sich nicht anlegen."));
    mSpool.rewind();
    RowSpool::Record record;
    size_t index = 0;
    for (size_t page = 0; page < mPageStarts.size(); ++page) {
        if (page > 0 && !mDevice->newPage())
            break;
        // The top of the table along the sheet's left edge, as landscape prints.
        if (mTurned)
            painter.setTransform(QTransform().translate(0, mPageWidth).rotate(-90));
        drawHeader(painter, int(page));
        qreal y = mHeaderHeight;
        const size_t end = page + 1 < mPageStarts.size() ? size_t(mPageStarts[page + 1]) : mLines.size();
        for (; index < end && mSpool.next(record); ++index) {
            painter.setPen(Qt::black);
            drawRecord(painter, record, y);
            y += recordHeight(mKinds[index], mLines[index]);
        }
        if (mPrinter && mPrinter->printerState() == QPrinter::Error)
            break;
    }
    const bool complete = index == mLines.size();
    if (!complete && mPrinter)
        mPrinter->abort();
    const bool ended = painter.end();
    if (!complete || !ended || (mPrinter && mPrinter->printerState() == QPrinter::Error))
        throw failed(QStringLiteral("Fehler beim Schreiben der Seiten."));
}

} // namespace Lirabel
