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

bool isSuffixPattern(const std::u32string &core)
{
    return core.size() > 1 && core.front() == U'*'
        && std::none_of(core.begin() + 1, core.end(), [](char32_t c) { return c == U'*' || c == U'?'; });
}

// Whether the name, folded as appendFolded folds it, ends with the folded
// suffix. Folding maps one character to one, so the name is walked backwards
// only as far as the suffix reaches, pairing surrogates as the forward walk does.
bool endsWithFolded(QStringView name, std::u32string_view suffix)
{
    qsizetype i = name.size();
    for (auto wanted = suffix.rbegin(); wanted != suffix.rend(); ++wanted) {
        if (i == 0)
            return false;
        char32_t c = name[--i].unicode();
        if (c < 0x80) {
            if (c >= U'A' && c <= U'Z')
                c += U'a' - U'A';
        } else {
            if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(name[i - 1].unicode())) {
                c = QChar::surrogateToUcs4(name[i - 1].unicode(), char16_t(c));
                --i;
            }
            c = QChar::toCaseFolded(c);
        }
        if (c != *wanted)
            return false;
    }
    return true;
}

} // namespace

WildcardMatcher::WildcardMatcher(QStringView patternList)
{
    for (QStringView piece : patternList.tokenize(u';', Qt::SkipEmptyParts)) {
        if (piece.contains(u'/'))
            continue;
        Folded folded;
        appendFolded(piece, folded);
        std::u32string text(folded.cbegin(), folded.cend());
        // Runs of stars match what one star matches.
        text.erase(std::unique(text.begin(), text.end(), [](char32_t a, char32_t b) { return a == U'*' && b == U'*'; }),
                   text.end());
        const auto dropBlanks = [&text] {
            while (text.ends_with(U' '))
                text.pop_back();
        };
        dropBlanks();

        Pattern pattern;
        // "x.*" matches "x." followed by anything, or what "x" matches. Where
        // "x" ends in ".*" too, the longer form matches nothing the shorter
        // one misses, so only the last form is kept.
        while (text.ends_with(U".*")) {
            pattern.alternative = text;
            text.resize(text.size() - 2);
            dropBlanks();
        }
        // "x." matches what "x" matches, without a dot. Below it, a form
        // ending in ".*" needs a dot, so only what stands before it counts.
        if (text.ends_with(U'.')) {
            pattern.noDot = true;
            for (;;) {
                if (text.ends_with(U'.'))
                    text.pop_back();
                else if (text.ends_with(U".*"))
                    text.resize(text.size() - 2);
                else
                    break;
                dropBlanks();
            }
        }
        pattern.core = std::move(text);
        if (pattern.core == U"*" && !pattern.noDot)
            mMatchesEverything = true;
        mPatterns.push_back(std::move(pattern));
    }
    mSuffixesOnly = !mPatterns.empty() && std::all_of(mPatterns.begin(), mPatterns.end(), [](const Pattern &pattern) {
        return pattern.alternative.empty() && !pattern.noDot && isSuffixPattern(pattern.core);
    });
}

bool WildcardMatcher::matches(QStringView name) const
{
    if (mMatchesEverything)
        return true;
    if (mPatterns.empty())
        return false;
    if (mSuffixesOnly) {
        return std::any_of(mPatterns.begin(), mPatterns.end(), [name](const Pattern &pattern) {
            return endsWithFolded(name, std::u32string_view(pattern.core).substr(1));
        });
    }
    Folded folded;
    appendFolded(name, folded);
    const char32_t *chars = folded.constData();
    const qsizetype length = folded.size();
    const bool hasDot = std::find(chars, chars + length, U'.') != chars + length;
    for (const Pattern &pattern : mPatterns) {
        if (!pattern.alternative.empty() && globMatch(chars, length, pattern.alternative))
            return true;
        if ((!pattern.noDot || !hasDot) && globMatch(chars, length, pattern.core))
            return true;
    }
    return false;
}

bool matchesPatternList(QStringView name, QStringView patternList)
{
    return WildcardMatcher(patternList).matches(name);
}

} // namespace Lirabel
