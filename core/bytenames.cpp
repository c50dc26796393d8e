// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/bytenames.h"

#include <algorithm>

namespace Lirabel {

namespace {

// A byte that is not part of valid UTF-8 stands as this plus the byte.
constexpr char16_t EscapeBase = 0xdc00;

// Windows-1252 from 0x80 to 0x9f; 0 where the code page assigns nothing.
// From 0xa0 on it is Latin-1, the byte's own code point.
constexpr char16_t Windows1252High[32] = {
    0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178,
};

char16_t windows1252(unsigned char byte)
{
    if (byte < 0x80 || byte >= 0xa0)
        return byte;
    const char16_t mapped = Windows1252High[byte - 0x80];
    return mapped ? mapped : u'?';
}

// The escaped byte a character stands for; 0 where it stands for none. A
// lone low surrogate from U+DC80 on is one; in a pair it is part of a
// character outside the Basic Multilingual Plane.
unsigned char escapedByte(QStringView name, qsizetype i)
{
    const char16_t c = name.at(i).unicode();
    if (c < EscapeBase + 0x80 || c > EscapeBase + 0xff)
        return 0;
    if (i > 0 && QChar::isHighSurrogate(name.at(i - 1).unicode()))
        return 0;
    return static_cast<unsigned char>(c - EscapeBase);
}

// The length of the valid UTF-8 sequence that starts at i; 0 where none
// starts there. Overlong forms, surrogates and code points past U+10FFFF are
// not valid.
int sequenceAt(QByteArrayView bytes, qsizetype i)
{
    const auto at = [&bytes](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    int length = 0;
    char32_t codePoint = 0;
    char32_t minimum = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        codePoint = lead & 0x1f;
        minimum = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        codePoint = lead & 0x0f;
        minimum = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = at(i + k);
        if ((next & 0xc0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3f);
    }
    if (codePoint < minimum || codePoint > 0x10ffff || (codePoint >= 0xd800 && codePoint <= 0xdfff))
        return 0;
    return length;
}

} // namespace

QString nameFromBytes(QByteArrayView bytes)
{
    // Nearly every name is valid UTF-8: Qt's decoder then gives it at once.
    QString decoded = QString::fromUtf8(bytes);
    if (!decoded.contains(QChar::ReplacementCharacter))
        return decoded;
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = sequenceAt(bytes, i);
        if (length == 0) {
            name.append(QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes[i]))));
            ++i;
        } else {
            name.append(QString::fromUtf8(bytes.sliced(i, length)));
            i += length;
        }
    }
    return name;
}

QByteArray nameBytes(QStringView name)
{
    if (!holdsForeignBytes(name))
        return name.toUtf8();
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (const unsigned char byte = escapedByte(name, i)) {
            bytes.append(name.sliced(runStart, i - runStart).toUtf8());
            bytes.append(char(byte));
            runStart = i + 1;
        }
    }
    bytes.append(name.sliced(runStart).toUtf8());
    return bytes;
}

QString readableName(const QString &name)
{
    if (!holdsForeignBytes(name))
        return name;
    QString readable = name;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (const unsigned char byte = escapedByte(name, i))
            readable[i] = QChar(windows1252(byte));
    }
    return readable;
}

bool holdsForeignBytes(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (escapedByte(name, i))
            return true;
    }
    return false;
}

namespace {

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

} // namespace

QString printableName(const QString &name)
{
    QString shown = readableName(name);
    if (std::none_of(shown.cbegin(), shown.cend(), isControl))
        return shown;
    std::replace_if(shown.begin(), shown.end(), isControl, QLatin1Char('?'));
    return shown;
}

bool isShownAsItIs(QStringView name)
{
    // Every character looked at, without a branch each: the loop runs on
    // several characters at once, and nearly every name is shown as it is.
    bool changed = false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        changed |= (u < 0x20) | (u == 0x7f) | (char16_t(u - 0xdc80) < 0x80);
    }
    return !changed;
}

} // namespace Lirabel
