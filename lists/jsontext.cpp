// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/jsontext.h"

#include "lists/listwriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace Lirabel {

void appendJsonString(QByteArray &out, QStringView text)
{
    // Most names are ASCII that needs no escape: their UTF-16 units are their bytes.
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u >= 0x20 && u < 0x7f && u != u'"' && u != u'\\';
    });
    qsizetype at = out.size();
    if (plain) {
        out.resize(at + text.size() + 2);
        char *to = out.data() + at;
        *to++ = '"';
        to = std::transform(text.cbegin(), text.cend(), to, [](QChar c) { return char(c.unicode()); });
        *to = '"';
        return;
    }
    const QByteArray bytes = text.toUtf8();
    out.reserve(at + bytes.size() * 2 + 2);
    out.append('"');
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (c == '"' || c == '\\') {
            out.append('\\').append(c);
        } else if (u < 0x20 || u == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(u));
            out.append(escaped, 6);
        } else {
            out.append(c);
        }
    }
    out.append('"');
}

void appendJsonNumber(QByteArray &out, qint64 number)
{
    char digits[24];
    char *end = digits + sizeof digits;
    char *at = end;
    quint64 rest = number < 0 ? 0 - quint64(number) : quint64(number);
    do {
        *--at = char('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (number < 0)
        *--at = '-';
    appendFewBytes(out, QByteArrayView(at, end - at));
}

QByteArray isoTimeText(qint64 seconds)
{
    struct tm local
    {
    };
    if (!toLocalTime(seconds, local))
        return {};
    const long offset = local.tm_gmtoff / 60;
    const long minutes = offset < 0 ? -offset : offset;
    char text[48];
    const int length = std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                                     local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                                     local.tm_sec, offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return QByteArray(text, length);
}

void appendJsonBytes(QByteArray &out, const QByteArray &bytes)
{
    out.append('"').append(bytes.toBase64()).append('"');
}

} // namespace Lirabel
