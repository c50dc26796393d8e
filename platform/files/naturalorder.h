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

// Sorts in natural order. Within runs of a few thousand names each name's
// collation key is built once, so the runs sort in cheap comparisons; the
// runs are merged by comparing names. Large lists sort fast without holding
// a key for every name at once.
void sortNatural(QStringList &names);

} // namespace Lirabel
