#pragma once

// File name patterns as the file list understands them.
//
// A pattern list holds patterns separated by ";"; a name matches the list when
// it matches any pattern in it, empty patterns are ignored. Matching is
// case-insensitive over the whole name and counts characters, not UTF-16
// units. "*" matches any run of characters (dots included), "?" exactly one
// character, every other character (also "[" and "\") only itself.
// Blanks at the end of a pattern are dropped. "*" and "*.*" match every name;
// a pattern ending in ".*" also matches what matches the part before ".*"; a
// pattern ending in "." matches only names without a dot that match the part
// before it. The part before is read by the same rules, so the endings
// combine: "*.*." and "*.." match the names without a dot, "* ." is "*.",
// "*.*.*" matches every name. A pattern holding "/" matches nothing. Matching
// takes at most twice name length times pattern length steps.

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
    // A name matches when it matches the alternative (where there is one),
    // or when it matches the core and, where noDot is set, holds no dot.
    struct Pattern
    {
        std::u32string alternative; // case-folded, a form ending in ".*", or empty
        std::u32string core;        // case-folded, without its endings
        bool noDot = false;
    };
    std::vector<Pattern> mPatterns;
    bool mMatchesEverything = false;
    // Every pattern is a star followed by plain characters ("*.mp3", what the
    // eigene box gives): only the end of a name needs folding and comparing.
    bool mSuffixesOnly = false;
};

[[nodiscard]] bool matchesPatternList(QStringView name, QStringView patternList);

} // namespace Lirabel
