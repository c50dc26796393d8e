// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "core/bytenames.h"
#include "core/wildcard.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <vector>

namespace Lirabel {

// The --ohne patterns; a copy may live on with a reader thread left behind.
class ExcludedNames
{
public:
    explicit ExcludedNames(const QStringList &patterns)
    {
        for (const QString &pattern : patterns)
            mMatchers.emplace_back(pattern);
    }
    [[nodiscard]] bool isEmpty() const { return mMatchers.empty(); }
    // The name as nameFromBytes gives it.
    [[nodiscard]] bool matches(QStringView name) const
    {
        return isShownAsItIs(name) ? matchesReadable(name) : matchesReadable(readableName(name.toString()));
    }
    // The name as readableName gives it.
    [[nodiscard]] bool matchesReadable(QStringView readable) const
    {
        return std::any_of(mMatchers.cbegin(), mMatchers.cend(),
                           [readable](const WildcardMatcher &matcher) { return matcher.matches(readable); });
    }
    [[nodiscard]] bool holdsAny(const QStringList &relativePath) const
    {
        return !isEmpty() && std::any_of(relativePath.cbegin(), relativePath.cend(), [this](const QString &name) {
            return matches(name);
        });
    }

private:
    std::vector<WildcardMatcher> mMatchers;
};

} // namespace Lirabel
