// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/wildcard.h"

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

// The end of a pattern as Windows reads it: a run of blanks and
// dots there is dropped when it ends with a blank, and is one "." when it ends
// with a dot ("*. " is "*", "*. ." is "*.").
void readEnd(std::u32string &pattern)
{
    const size_t kept = pattern.find_last_not_of(U" .") + 1; // npos + 1 is 0
    if (kept == pattern.size())
        return;
    const bool endsWithDot = pattern.back() == U'.';
    pattern.resize(kept);
    if (endsWithDot)
        pattern.push_back(U'.');
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

WildcardMatcher::Steps WildcardMatcher::stepsOf(std::u32string_view pattern)
{
    Steps steps;
    const size_t length = pattern.size();
    for (size_t i = 0; i < length; ++i) {
        const char32_t c = pattern[i];
        const char32_t next = i + 1 < length ? pattern[i + 1] : U'\0';
        StepKind kind = StepKind::Character;
        if (c == U'?') {
            kind = StepKind::OneOrNothing;
        } else if (c == U'*' && next == U'.' && i + 2 == length) {
            kind = StepKind::RunWithoutDot;
            ++i; // the final dot belongs to it
        } else if (c == U'*') {
            kind = next == U'.' ? StepKind::RunBeforeLastDot : StepKind::AnyRun;
        } else if (c == U'.' && (i + 1 == length || next == U'?' || next == U'*')) {
            kind = StepKind::DotOrEnd;
        }
        // After "*", a run of any kind adds nothing: "**." is "*".
        if (kind != StepKind::Character && kind != StepKind::OneOrNothing && kind != StepKind::DotOrEnd
            && !steps.empty() && steps.back().kind == StepKind::AnyRun)
            continue;
        steps.push_back({kind, kind == StepKind::Character ? c : U'\0'});
    }
    return steps;
}

// True only where that is certain; a pattern it does not recognise is simply
// matched name by name. Without a plain character a pattern depends only on
// where the name's dots are. Then "?"s and a "*" take every name; so do a
// "*" that stops before the last dot and a "." that takes it (or the end),
// followed by "?"s and any run for what follows the last dot, which holds no
// dot. What follows a run may match nothing at the name's end, as every
// step but a plain character does.
bool WildcardMatcher::matchesEveryName(const Steps &steps)
{
    if (std::any_of(steps.begin(), steps.end(), [](Step step) { return step.kind == StepKind::Character; }))
        return false;
    auto it = steps.begin();
    bool restHoldsNoDot = false;
    if (steps.size() >= 2 && it[0].kind == StepKind::RunBeforeLastDot && it[1].kind == StepKind::DotOrEnd) {
        it += 2;
        restHoldsNoDot = true;
    }
    while (it != steps.end() && it->kind == StepKind::OneOrNothing)
        ++it;
    if (it == steps.end())
        return false;
    return it->kind == StepKind::AnyRun
        || (restHoldsNoDot && (it->kind == StepKind::RunBeforeLastDot || it->kind == StepKind::RunWithoutDot));
}

// The pattern positions the name has reached so far, moved on one character
// at a time: name length times pattern length steps at most.
bool WildcardMatcher::runSteps(const Steps &steps, std::u32string_view name)
{
    const size_t count = steps.size();
    const size_t length = name.size();
    const size_t lastDot = name.rfind(U'.');
    QVarLengthArray<char, 64> reached(qsizetype(count + 1), 0);
    QVarLengthArray<char, 64> following(qsizetype(count + 1), 0);
    reached[0] = 1;
    for (size_t at = 0;; ++at) {
        const bool atEnd = at == length;
        const char32_t c = atEnd ? U'\0' : name[at];
        const bool atDot = !atEnd && c == U'.';
        // Steps that may match nothing here pass their position on.
        bool alive = false;
        for (size_t i = 0; i < count; ++i) {
            if (!reached[i])
                continue;
            alive = true;
            switch (steps[i].kind) {
            case StepKind::AnyRun:
            case StepKind::RunBeforeLastDot:
            case StepKind::RunWithoutDot:
                reached[i + 1] = 1;
                break;
            case StepKind::OneOrNothing:
                if (atDot || atEnd)
                    reached[i + 1] = 1;
                break;
            case StepKind::DotOrEnd:
                if (atEnd)
                    reached[i + 1] = 1;
                break;
            case StepKind::Character:
                break;
            }
        }
        if (atEnd)
            return reached[count];
        if (!alive)
            return false;
        std::fill(following.begin(), following.end(), 0);
        for (size_t i = 0; i < count; ++i) {
            if (!reached[i])
                continue;
            switch (steps[i].kind) {
            case StepKind::Character:
                if (c == steps[i].character)
                    following[i + 1] = 1;
                break;
            case StepKind::AnyRun:
                following[i] = 1;
                break;
            case StepKind::RunBeforeLastDot:
                if (at != lastDot)
                    following[i] = 1;
                break;
            case StepKind::RunWithoutDot:
                if (!atDot)
                    following[i] = 1;
                break;
            case StepKind::OneOrNothing:
                if (!atDot)
                    following[i + 1] = 1;
                break;
            case StepKind::DotOrEnd:
                if (atDot)
                    following[i + 1] = 1;
                break;
            }
        }
        std::swap(reached, following);
    }
}

WildcardMatcher::WildcardMatcher(QStringView patternList)
{
    for (QStringView piece : patternList.tokenize(u';', Qt::SkipEmptyParts)) {
        if (piece.contains(u'/'))
            continue;
        Folded folded;
        appendFolded(piece, folded);
        std::u32string text(folded.cbegin(), folded.cend());
        readEnd(text);
        if (text.empty())
            continue;
        Pattern pattern;
        pattern.steps = stepsOf(text);
        if (matchesEveryName(pattern.steps))
            mMatchesEverything = true;
        // A star that stops before the last dot is followed by a dot here,
        // and the name's last dot lies in the suffix: it stops in time.
        const Steps &steps = pattern.steps;
        if (steps.size() > 1
            && (steps.front().kind == StepKind::AnyRun || steps.front().kind == StepKind::RunBeforeLastDot)
            && std::all_of(steps.begin() + 1, steps.end(),
                           [](Step step) { return step.kind == StepKind::Character; })) {
            for (auto step = steps.begin() + 1; step != steps.end(); ++step)
                pattern.suffix.push_back(step->character);
        }
        mPatterns.push_back(std::move(pattern));
    }
}

bool WildcardMatcher::matches(QStringView name) const
{
    if (mMatchesEverything)
        return true;
    Folded folded;
    bool isFolded = false;
    for (const Pattern &pattern : mPatterns) {
        if (!pattern.suffix.empty()) {
            if (endsWithFolded(name, pattern.suffix))
                return true;
            continue;
        }
        if (!isFolded) {
            appendFolded(name, folded);
            isFolded = true;
        }
        if (runSteps(pattern.steps, std::u32string_view(folded.constData(), size_t(folded.size()))))
            return true;
    }
    return false;
}

bool matchesPatternList(QStringView name, QStringView patternList)
{
    return WildcardMatcher(patternList).matches(name);
}

} // namespace Lirabel
