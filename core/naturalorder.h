// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The order of names in the file and directory lists: as a person reads them.
// Case-insensitive German collation, runs of digits compared by their value
// ("Titel 2" before "Titel 10"), ties broken by the exact name so the order is
// total and the same on every run.

#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

namespace Lirabel {

// Negative, zero or positive as a sorts before, equal to or after b. Zero only
// for identical names. This is the order itself, asked of the collator.
[[nodiscard]] int naturalCompare(QStringView a, QStringView b);

// The positions of the names in natural order, four bytes each. Each name's sort key is built
// once; in lists of a few thousand names and more, most keys without the
// collator (naturalkey.h). Large lists are sorted in two halves at once,
// which are then merged.
[[nodiscard]] std::vector<quint32> naturalOrder(const QStringList &names);
[[nodiscard]] std::vector<quint32> naturalOrder(const std::vector<QStringView> &names);

// A part of a long list, sorted as soon as it is known, beside the reading
// of the rest; the parts are merged as they come.
class NaturalRun
{
public:
    // Sorts names, which must stay where they lie while the run is used.
    explicit NaturalRun(std::vector<QStringView> names);
    ~NaturalRun();
    NaturalRun(NaturalRun &&other) noexcept;
    NaturalRun &operator=(NaturalRun &&other) noexcept;

    // Takes in the names of later, which follow this run's in the list.
    void merge(NaturalRun &&later);
    [[nodiscard]] size_t size() const;
    // The names in natural order, as their places in the list.
    [[nodiscard]] std::vector<quint32> order() const;

private:
    struct Sorted;
    std::unique_ptr<Sorted> mSorted;
};

// Sorts in natural order.
void sortNatural(QStringList &names);

// Sorts names as nameFromBytes gives them in the natural order of the names
// as shown (printableName): "f\xfcr" between "fa" and "fz", as it reads "für".
void sortNaturalAsShown(QStringList &names);

} // namespace Lirabel
