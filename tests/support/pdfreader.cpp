// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "pdfreader.h"

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

bool run(const QString &program, const QStringList &arguments, QString &output, QString &error)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error =
            program + QStringLiteral(": ") + QString::fromUtf8(process.readAllStandardError()) + process.errorString();
        return false;
    }
    output = QString::fromUtf8(process.readAllStandardOutput());
    return true;
}

QString unescape(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

} // namespace

PdfDocument readPdf(const QString &path)
{
    PdfDocument doc;
    QString boxes;
    if (!run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}, boxes, doc.error))
        return doc;

    static const QRegularExpression tag(QStringLiteral(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>)re"));
    for (auto it = tag.globalMatch(boxes); it.hasNext();) {
        const auto match = it.next();
        if (match.capturedLength(1) > 0) {
            ++doc.pages;
            doc.pageWidth = match.captured(1).toDouble();
            doc.pageHeight = match.captured(2).toDouble();
            continue;
        }
        const qreal left = match.captured(3).toDouble();
        const qreal top = match.captured(4).toDouble();
        const qreal right = match.captured(5).toDouble();
        const qreal bottom = match.captured(6).toDouble();
        const QString word = unescape(match.captured(7));
        // pdftotext lists words line by line; a word belongs to the line
        // before it when it sits at the same height on the same page.
        if (!doc.lines.isEmpty() && doc.lines.last().page == doc.pages
            && std::abs(doc.lines.last().top - top) < (bottom - top) / 2) {
            doc.lines.last().text += QLatin1Char(' ') + word;
            doc.lines.last().right = right;
            continue;
        }
        doc.lines.append({doc.pages, left, right, top, bottom, word});
    }

    QString fonts;
    if (!run(QStringLiteral("pdffonts"), {path}, fonts, doc.error))
        return doc;
    const QStringList rows = fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < rows.size(); ++i) {
        QString name = rows.at(i).section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        if (name.size() > 7 && name.at(6) == QLatin1Char('+'))
            name = name.mid(7);
        doc.fonts.append(name);
    }
    doc.readable = true;
    return doc;
}

qreal PdfDocument::linePitch() const
{
    qreal pitch = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines.at(i).page != lines.at(i - 1).page)
            continue;
        const qreal gap = lines.at(i).top - lines.at(i - 1).top;
        if (gap > 0 && (pitch == 0 || gap < pitch))
            pitch = gap;
    }
    return pitch;
}

QStringList PdfDocument::textWithBlankLines() const
{
    const qreal pitch = linePitch();
    QStringList text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0 && pitch > 0 && lines.at(i).page == lines.at(i - 1).page) {
            const int blanks = int(std::lround((lines.at(i).top - lines.at(i - 1).top) / pitch)) - 1;
            for (int b = 0; b < blanks; ++b)
                text.append(QString());
        }
        text.append(lines.at(i).text);
    }
    return text;
}

QStringList PdfDocument::pageText(int page) const
{
    QStringList text;
    for (const PdfLine &line : lines) {
        if (line.page == page)
            text.append(line.text);
    }
    return text;
}
