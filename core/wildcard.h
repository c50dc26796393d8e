// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// File name patterns as the file list understands them, by the Windows
// wildcard rules rather than the shell's.
//
// A pattern list holds patterns separated by ";"; a name matches the list when
// it matches any pattern in it, empty patterns are ignored. Matching is
// case-insensitive over the whole name and counts characters, not UTF-16
// units (a lone surrogate standing for a raw byte of a name is one character).
//
// A run of blanks and dots at a pattern's end is dropped when it ends with a
// blank and becomes one "." when it ends with a dot. Then each character of
// the pattern is one step:
// - "*" matches any run of characters, dots included; directly followed by
//   "." it matches a run that does not take the name's last dot, and "*." at
//   the very end matches a run without a dot;
// - "?" matches one character but a dot, or nothing where the name is at a
//   dot or at its end;
// - "." followed by "?" or "*", or ending the pattern, matches a dot or the
//   end of the name;
// - every other character, "[" and "\" included, matches itself.
// So "*" and "*.*" match every name, "*." the names without a dot, "*.mp?"
// also names ending in ".mp". A pattern holding "/" matches nothing.
//
// The steps run side by side over the name (a set of pattern positions, one
// character at a time), so matching takes at most name length times pattern
// length steps, whatever the pattern.

#include <QStringView>

#include <string>
#include <string_view>
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
    enum class StepKind : unsigned char {
        Character,        // this character, case-folded
        AnyRun,           // "*"
        RunBeforeLastDot, // "*" followed by "."
        RunWithoutDot,    // "*." at the end
        OneOrNothing,     // "?"
        DotOrEnd,         // "." before "?" or "*", or at the end
    };
    struct Step
    {
        StepKind kind;
        char32_t character = 0;
    };
    using Steps = std::vector<Step>;

    [[nodiscard]] static Steps stepsOf(std::u32string_view pattern);
    [[nodiscard]] static bool matchesEveryName(const Steps &steps);
    [[nodiscard]] static bool runSteps(const Steps &steps, std::u32string_view name);

    struct Pattern
    {
        Steps steps;
        // Set where the pattern is a star followed by plain characters
        // ("*.mp3", what the eigene box gives): then only the end of a name
        // needs folding and comparing. Case-folded, without the star.
        std::u32string suffix;
    };
    std::vector<Pattern> mPatterns;
    bool mMatchesEverything = false;
};

[[nodiscard]] bool matchesPatternList(QStringView name, QStringView patternList);

} // namespace Lirabel
