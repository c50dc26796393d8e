// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Feeds arbitrary pattern lists and names to the wildcard matcher. Besides
// crashes, undefined behaviour and slow inputs (libFuzzer's -timeout), it
// checks the matcher against a plain reference that follows the rules
// literally: the pattern's end read first, then a table over the characters
// of pattern and name, case-folded. And, for any name: "*" and "*.*" match
// it, a pattern holding "/" does not.
//
// The input is the pattern list, a NUL byte, then the name. The first byte
// chooses how the two are read: as a folder's name bytes (invalid UTF-8 bytes
// become lone surrogates U+DC80 to U+DCFF), as raw UTF-16, which brings any
// unpaired surrogate and characters beyond the Basic Multilingual Plane, or
// each byte as one of a few characters that the rules treat apart, so that
// short inputs meet the rules for stars, "?" and dots often.

#include "core/bytenames.h"
#include "core/wildcard.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

enum class Reading { NameBytes, Utf16, FewCharacters };

QString decode(const uint8_t *data, size_t size, Reading reading)
{
    static const QStringList few = {u"*"_s, u"?"_s, u"."_s,      u" "_s,      u";"_s,          u"a"_s,
                                    u"A"_s, u"b"_s, u"\u00e9"_s, u"\u00c9"_s, u"\U0001F600"_s, QString(QChar(0xdcfc))};
    QString text;
    switch (reading) {
    case Reading::NameBytes:
        return Lirabel::nameFromBytes(QByteArrayView(data, qsizetype(size)));
    case Reading::Utf16:
        for (size_t i = 0; i + 1 < size; i += 2)
            text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
        break;
    case Reading::FewCharacters:
        for (size_t i = 0; i < size; ++i)
            text.append(few.at(data[i] % few.size()));
        break;
    }
    return text;
}

// Characters, not UTF-16 units: a surrogate pair is one, a lone surrogate one.
std::u32string folded(QStringView text)
{
    std::u32string out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
            ++i;
        }
        out.push_back(QChar::toCaseFolded(c));
    }
    return out;
}

// One pattern, the rules read off its characters: the run of blanks and dots
// at its end first, then fits[i][j], whether the pattern from i on matches
// the name from j on, filled from the ends backwards.
bool referenceMatch(QStringView patternText, const std::u32string &name)
{
    if (patternText.contains(u'/'))
        return false;
    std::u32string pattern = folded(patternText);
    size_t kept = pattern.size();
    while (kept > 0 && (pattern[kept - 1] == U' ' || pattern[kept - 1] == U'.'))
        --kept;
    if (kept < pattern.size()) {
        const bool endsWithDot = pattern.back() == U'.';
        pattern.resize(kept);
        if (endsWithDot)
            pattern.push_back(U'.');
    }
    if (pattern.empty())
        return false;

    const size_t m = pattern.size();
    const size_t n = name.size();
    const size_t lastDot = name.rfind(U'.');
    std::vector<std::vector<char>> fits(m + 1, std::vector<char>(n + 1, 0));
    fits[m][n] = 1;
    for (size_t i = m; i-- > 0;) {
        const char32_t p = pattern[i];
        const char32_t next = i + 1 < m ? pattern[i + 1] : U'\0';
        for (size_t j = n + 1; j-- > 0;) {
            const bool atEnd = j == n;
            const bool atDot = !atEnd && name[j] == U'.';
            if (p == U'*' && next == U'.' && i + 2 == m) // "*." at the very end
                fits[i][j] = name.find(U'.', j) == std::u32string::npos;
            else if (p == U'*') // before ".", not over the last dot
                fits[i][j] = fits[i + 1][j] || (!atEnd && (next != U'.' || j != lastDot) && fits[i][j + 1]);
            else if (p == U'?')
                fits[i][j] = (!atEnd && !atDot && fits[i + 1][j + 1]) || ((atEnd || atDot) && fits[i + 1][j]);
            else if (p == U'.' && (i + 1 == m || next == U'?' || next == U'*'))
                fits[i][j] = (atDot && fits[i + 1][j + 1]) || (atEnd && fits[i + 1][j]);
            else
                fits[i][j] = !atEnd && name[j] == p && fits[i + 1][j + 1];
        }
    }
    return fits[0][0];
}

bool referenceListMatch(QStringView list, const std::u32string &name)
{
    for (QStringView piece : list.tokenize(u';')) {
        if (!piece.isEmpty() && referenceMatch(piece, name))
            return true;
    }
    return false;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const Reading reading = data[0] % 3 == 0 ? Reading::NameBytes
        : data[0] % 3 == 1                   ? Reading::Utf16
                                             : Reading::FewCharacters;
    ++data;
    --size;
    const uint8_t *separator = static_cast<const uint8_t *>(memchr(data, 0, size));
    const size_t listSize = separator ? size_t(separator - data) : size;
    const QString list = decode(data, listSize, reading);
    const QString name = separator ? decode(separator + 1, size - listSize - 1, reading) : QString();
    // The matcher takes length times length steps, and so does the
    // reference, but with a table of that size: it gets shorter inputs only.
    if (list.size() > 2000 || name.size() > 2000)
        return 0;

    const Lirabel::WildcardMatcher matcher(list);
    const bool matched = matcher.matches(name);
    check(matched == Lirabel::matchesPatternList(name, list));
    if (list.size() <= 300 && name.size() <= 300)
        check(matched == referenceListMatch(list, folded(name)));
    if (matcher.matchesEverything())
        check(matched);

    // Whatever else the list holds, "*" or "*.*" beside it matches every name;
    // a lone pattern holding "/" matches none.
    check(Lirabel::WildcardMatcher(list + QStringLiteral(";*")).matches(name));
    check(Lirabel::WildcardMatcher(QStringLiteral("*.*;") + list).matches(name));
    if (!list.contains(u';'))
        check(!Lirabel::WildcardMatcher(list + QStringLiteral("/")).matches(name));
    return 0;
}
