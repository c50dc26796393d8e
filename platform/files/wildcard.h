#pragma once

// File name patterns as the file list understands them.
//
// A pattern list holds patterns separated by ";"; a name matches the list when
// it matches any pattern in it, empty patterns are ignored. Matching is
// case-insensitive over the whole name and counts characters, not UTF-16
// units. "*" matches any run of characters (dots included), "?" exactly one
// character, every other character (also "[" and "\") only itself.
// "*" and "*.*" match every name; a pattern ending in ".*" also matches what
// matches the part before ".*"; a pattern ending in "." matches only names
// without a dot that match the part before it. A pattern holding "/" matches
// nothing. Matching takes at most name length times pattern length steps.

#include <QStringView>

#include <string>
#include <vector>

namespace Lirabel {

class WildcardMatcher
{
public:
    explicit WildcardMatcher(QStringView patternList);

    [[nodiscard]] bool matches(QStringView name) const;
    // True when every name matches, so a caller may skip matching.
    [[nodiscard]] bool matchesEverything() const { return mMatchesEverything; }

private:
    enum class Ending { Plain, DotStar, Dot };
    struct Pattern
    {
        std::u32string body; // case-folded, without the ".*" or "." ending
        std::u32string full; // case-folded, as written
        Ending ending = Ending::Plain;
    };
    std::vector<Pattern> mPatterns;
    bool mMatchesEverything = false;
};

[[nodiscard]] bool matchesPatternList(QStringView name, QStringView patternList);

} // namespace Lirabel
