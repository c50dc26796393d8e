#include "platform/files/wildcard.h"

#include <QChar>
#include <QVarLengthArray>

#include <algorithm>

namespace Lirabel {

namespace {

using Folded = QVarLengthArray<char32_t, 256>;

void appendFolded(QStringView text, Folded &out)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            // Most names are ASCII; the filter folds every name at every key typed.
            out.append(c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
            ++i;
        }
        out.append(QChar::toCaseFolded(c));
    }
}

// "*" any run, "?" one character. Backs up only to the last star seen, so the
// work is bounded by name length times pattern length.
bool globMatch(const char32_t *name, qsizetype nameLength, const std::u32string &pattern)
{
    const qsizetype patternLength = qsizetype(pattern.size());
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starPattern = -1;
    qsizetype starName = 0;
    while (n < nameLength) {
        if (p < patternLength && pattern[p] == U'*') {
            starPattern = p++;
            starName = n;
        } else if (p < patternLength && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starPattern >= 0) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < patternLength && pattern[p] == U'*')
        ++p;
    return p == patternLength;
}

} // namespace

WildcardMatcher::WildcardMatcher(QStringView patternList)
{
    for (QStringView piece : patternList.tokenize(u';', Qt::SkipEmptyParts)) {
        if (piece.contains(u'/'))
            continue;
        Folded folded;
        appendFolded(piece, folded);
        Pattern pattern;
        pattern.body.assign(folded.cbegin(), folded.cend());
        // Runs of stars match what one star matches.
        pattern.body.erase(std::unique(pattern.body.begin(), pattern.body.end(),
                                       [](char32_t a, char32_t b) { return a == U'*' && b == U'*'; }),
                           pattern.body.end());
        pattern.full = pattern.body;
        const std::u32string &body = pattern.full;
        if (body.size() >= 2 && body.ends_with(U".*")) {
            pattern.ending = Ending::DotStar;
            pattern.body.resize(body.size() - 2);
        } else if (body.ends_with(U'.')) {
            pattern.ending = Ending::Dot;
            pattern.body.pop_back();
        }
        if (pattern.body == U"*" && pattern.ending != Ending::Dot)
            mMatchesEverything = true;
        mPatterns.push_back(std::move(pattern));
    }
}

bool WildcardMatcher::matches(QStringView name) const
{
    if (mMatchesEverything)
        return true;
    if (mPatterns.empty())
        return false;
    Folded folded;
    appendFolded(name, folded);
    const char32_t *chars = folded.constData();
    const qsizetype length = folded.size();
    for (const Pattern &pattern : mPatterns) {
        switch (pattern.ending) {
        case Ending::Plain:
            if (globMatch(chars, length, pattern.body))
                return true;
            break;
        case Ending::DotStar:
            // "x.*" is "x" followed by a dot and anything, or "x" alone.
            if (globMatch(chars, length, pattern.full) || globMatch(chars, length, pattern.body))
                return true;
            break;
        case Ending::Dot:
            if (std::find(chars, chars + length, U'.') == chars + length && globMatch(chars, length, pattern.body))
                return true;
            break;
        }
    }
    return false;
}

bool matchesPatternList(QStringView name, QStringView patternList)
{
    return WildcardMatcher(patternList).matches(name);
}

} // namespace Lirabel
