#pragma once

// The order of names in the file and directory lists: as a person reads them.
// Case-insensitive German collation, runs of digits compared by their value
// ("Titel 2" before "Titel 10"), ties broken by the exact name so the order is
// total and the same on every run.

#include <QStringList>

namespace Lirabel {

// Negative, zero or positive as a sorts before, equal to or after b. Zero only
// for identical names.
[[nodiscard]] int naturalCompare(const QString &a, const QString &b);

// Sorts in natural order. Each name's collation key is built once, so large
// lists sort in n log n cheap comparisons.
void sortNatural(QStringList &names);

} // namespace Lirabel
