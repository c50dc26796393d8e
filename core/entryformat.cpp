// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/entryformat.h"

#include "core/lirabelerror.h"
#include "core/listingrun.h"

#include <limits>

namespace Lirabel {

QString numberPrefix(int index)
{
    return QStringLiteral("%1.) ").arg(index, 3, 10, QLatin1Char('0'));
}

QString numberedEntry(const QString &entry, int index)
{
    return numberPrefix(index) + entry;
}

int lastDotPosition(QStringView entry)
{
    // A dot is never half of a surrogate pair, so the last dot found in UTF-16
    // units is the last dot in characters; only its character position counts.
    const qsizetype dot = entry.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return 0;
    int position = 1;
    for (qsizetype i = 0; i < dot; ++i) {
        if (!entry.at(i).isLowSurrogate())
            ++position;
    }
    return position;
}

QString withoutExtension(const QString &entry)
{
    if (lastDotPosition(entry) < 3)
        return entry;
    return entry.first(entry.lastIndexOf(QLatin1Char('.')));
}

std::optional<qint32> spacingFromText(QStringView text)
{
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    // Whole part without leading zeros; more than ten digits never fits.
    quint64 whole = 0;
    int wholeDigits = 0;
    bool anyDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        anyDigit = true;
        const int d = text[i].unicode() - '0';
        if (wholeDigits == 0 && d == 0)
            continue;
        if (++wholeDigits > 10)
            return std::nullopt;
        whole = whole * 10 + quint64(d);
    }
    // The fraction decides the rounding: its first digit, and whether any later one is not 0.
    int firstFraction = 0;
    bool restNonZero = false;
    if (i < text.size() && (text[i] == QLatin1Char(',') || text[i] == QLatin1Char('.'))) {
        ++i;
        bool first = true;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            anyDigit = true;
            const int d = text[i].unicode() - '0';
            if (first)
                firstFraction = d;
            else if (d != 0)
                restNonZero = true;
            first = false;
        }
    }
    if (!anyDigit || i != text.size())
        return std::nullopt;

    const bool roundUp = firstFraction > 5 || (firstFraction == 5 && (restNonZero || whole % 2 == 1));
    const quint64 magnitude = whole + (roundUp ? 1 : 0);
    const quint64 limit =
        negative ? quint64(std::numeric_limits<qint32>::max()) + 1 : quint64(std::numeric_limits<qint32>::max());
    if (magnitude > limit)
        return std::nullopt;
    // A number below 0, even one that rounds to 0, gives no spacing.
    if (negative)
        return 0;
    return qint32(magnitude);
}

namespace {

void readSpacing(RunState &run, const QString &text)
{
    const auto value = spacingFromText(text);
    if (!value)
        throw LirabelError(QStringLiteral("Keine gültige Zahl für die Leerzeilen !"));
    run.spacingInterval = *value;
}

} // namespace

void readPrintSpacing(RunState &run, const QString &spacingText)
{
    readSpacing(run, spacingText);
}

void readSaveSpacing(RunState &run, const QString &spacingText)
{
    readSpacing(run, spacingText);
}

} // namespace Lirabel
