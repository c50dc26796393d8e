#include "platform/files/bytenames.h"

namespace Lirabel {

namespace {

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

// The length of the valid UTF-8 sequence that starts at i, and its code
// point; 0 where none starts there. Overlong forms, surrogates and code
// points past U+10FFFF are not valid.
int sequenceAt(QByteArrayView bytes, qsizetype i, char32_t &codePoint)
{
    const auto at = [&bytes](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
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

QString readableName(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        const int length = sequenceAt(bytes, i, codePoint);
        if (length == 0) {
            name.append(QChar(windows1252(static_cast<unsigned char>(bytes[i]))));
            ++i;
            continue;
        }
        if (codePoint >= 0x10000) {
            const char32_t bmp[1] = {codePoint};
            name.append(QString::fromUcs4(bmp, 1));
        } else {
            name.append(QChar(char16_t(codePoint)));
        }
        i += length;
    }
    return name;
}

bool isUtf8Name(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        const int length = sequenceAt(bytes, i, codePoint);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

} // namespace Lirabel
