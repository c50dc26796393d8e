// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "paper/cellformat.h"

#include "lists/listcolumn.h"
#include "lists/listwriter.h"

#include <QLocale>

#include <array>

namespace Lirabel {

namespace {

const QLocale &german()
{
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

// Decimal units, as disks and file managers count: 1,2 MB is 1.200.000 bytes.
QString readableSize(qint64 bytes)
{
    static constexpr std::array<const char *, 6> Units{"B", "kB", "MB", "GB", "TB", "PB"};
    if (bytes < 1000)
        return QStringLiteral("%1 B").arg(bytes);
    double value = double(bytes);
    size_t unit = 0;
    // 999.950 bytes read "1,0 MB", not "1.000,0 kB".
    while (value >= 999.95 && unit + 1 < Units.size()) {
        value /= 1000;
        ++unit;
    }
    return german().toString(value, 'f', 1) + QLatin1Char(' ') + QLatin1String(Units[unit]);
}

} // namespace

QString germanNumber(qint64 number)
{
    return german().toString(number);
}

QString paperSizeText(qint64 bytes, bool readableSizes)
{
    return readableSizes ? readableSize(bytes) : germanNumber(bytes);
}

QString paperCellText(ColumnKind kind, const ColumnValue &value, bool readableSizes)
{
    if (!value.known)
        return {};
    // Sizes and times as German paper shows them; the rest as in the plain lists.
    if (kind == ColumnKind::Bytes)
        return paperSizeText(value.number, readableSizes);
    if (kind == ColumnKind::Time) {
        // "JJJJ-MM-TT hh:mm:ss", read without the time zone's cost at every file.
        const QByteArray local = localTimeText(value.number);
        if (local.size() < 16)
            return {};
        return QString::fromLatin1(local.mid(8, 2) + '.' + local.mid(5, 2) + '.' + local.left(4) + ' '
                                   + local.mid(11, 5));
    }
    return plainText(kind, value);
}

} // namespace Lirabel
