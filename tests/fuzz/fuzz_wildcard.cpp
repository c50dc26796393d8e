// Feeds arbitrary pattern lists and names to the wildcard matcher. Besides
// crashes, undefined behaviour and slow inputs (libFuzzer's -timeout), it
// checks the matcher against a plain reference that follows the rules
// literally: the endings read off one by one, and a table over the characters
// of pattern and name, case-folded, for what is left. And, for any
// name: "*" and "*.*" match it, a pattern holding "/" does not.
//
// The input is the pattern list, a NUL byte, then the name. The first byte
// chooses how the two are read: UTF-8 (invalid bytes become U+FFFD, as a
// folder's non-UTF-8 names do) or raw UTF-16, which brings unpaired
// surrogates and characters beyond the Basic Multilingual Plane.

#include "platform/files/wildcard.h"

#include <QChar>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

QString decode(const uint8_t *data, size_t size, bool utf16)
{
    if (!utf16)
        return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QString text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
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

// matches[i][j]: the first i pattern characters match the first j name characters.
bool tableMatch(const std::u32string &pattern, const std::u32string &name)
{
    std::vector<char> previous(name.size() + 1, 0);
    std::vector<char> current(name.size() + 1, 0);
    previous[0] = 1;
    for (size_t i = 1; i <= pattern.size(); ++i) {
        const char32_t p = pattern[i - 1];
        current[0] = p == U'*' && previous[0];
        for (size_t j = 1; j <= name.size(); ++j) {
            if (p == U'*')
                current[j] = previous[j] || current[j - 1];
            else
                current[j] = previous[j - 1] && (p == U'?' || p == name[j - 1]);
        }
        std::swap(previous, current);
    }
    return previous[name.size()];
}

// One pattern, as the rules read it: blanks at the end dropped; an ending
// ".*" or "." read off, and what stands before it read by the same rules.
bool referenceRules(std::u32string pattern, const std::u32string &name)
{
    while (!pattern.empty() && pattern.back() == U' ')
        pattern.pop_back();
    if (pattern.ends_with(U".*"))
        return tableMatch(pattern, name) || referenceRules(pattern.substr(0, pattern.size() - 2), name);
    if (pattern.ends_with(U'.'))
        return name.find(U'.') == std::u32string::npos && referenceRules(pattern.substr(0, pattern.size() - 1), name);
    return tableMatch(pattern, name);
}

// Runs of stars are one star, so the endings are looked for after they are
// joined.
bool referenceMatch(QStringView patternText, const std::u32string &name)
{
    if (patternText.contains(u'/'))
        return false;
    std::u32string pattern = folded(patternText);
    pattern.erase(
        std::unique(pattern.begin(), pattern.end(), [](char32_t a, char32_t b) { return a == U'*' && b == U'*'; }),
        pattern.end());
    return referenceRules(std::move(pattern), name);
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
    const bool utf16 = data[0] & 1;
    ++data;
    --size;
    const uint8_t *separator = static_cast<const uint8_t *>(memchr(data, 0, size));
    const size_t listSize = separator ? size_t(separator - data) : size;
    const QString list = decode(data, listSize, utf16);
    const QString name = separator ? decode(separator + 1, size - listSize - 1, utf16) : QString();
    // The matcher takes length times length steps. The reference builds a
    // table for every ending it reads off, so it gets shorter inputs only.
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
