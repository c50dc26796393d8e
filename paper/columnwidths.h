// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QtGlobal>

#include <vector>

namespace Lirabel {

// What the page's columns need: each column's widest value (its heading
// included), and which one is the name, which takes the room left over.
struct ColumnDemand
{
    std::vector<qreal> widest;
    int nameColumn = -1; // -1: none
    qreal gap = 0;       // between two columns
};

// Whether the page must lie on its side: when the other columns at their
// widest leave the name less than a third of the upright width, or, without
// a name column, when the columns do not fit upright.
[[nodiscard]] bool needsLandscape(const ColumnDemand &demand, qreal uprightWidth);

// The columns' widths on a page of that width: a column that fits in its
// share gets its widest value, the room left is shared among the others
// (a column of numbers thus keeps its digits on one line wherever it can),
// and the name, where it is shown, takes whatever stays over.
[[nodiscard]] std::vector<qreal> columnWidths(const ColumnDemand &demand, qreal width);

} // namespace Lirabel
