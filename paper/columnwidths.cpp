// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "paper/columnwidths.h"

#include <algorithm>
#include <numeric>

namespace Lirabel {

namespace {

qreal gaps(const ColumnDemand &demand)
{
    return demand.widest.empty() ? 0 : demand.gap * qreal(demand.widest.size() - 1);
}

} // namespace

bool needsLandscape(const ColumnDemand &demand, qreal uprightWidth)
{
    qreal others = gaps(demand);
    for (size_t i = 0; i < demand.widest.size(); ++i) {
        if (int(i) != demand.nameColumn)
            others += demand.widest[i];
    }
    if (demand.nameColumn < 0)
        return others > uprightWidth;
    return uprightWidth - others < uprightWidth / 3;
}

std::vector<qreal> columnWidths(const ColumnDemand &demand, qreal width)
{
    const size_t count = demand.widest.size();
    const std::vector<qreal> &wanted = demand.widest;
    // Shares filled from the smallest demand up: whoever wants less than an
    // equal share of what is left gets it, the rest share the remainder.
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&wanted](size_t a, size_t b) { return wanted[a] < wanted[b]; });
    std::vector<qreal> widths(count, 0);
    qreal room = std::max<qreal>(width - gaps(demand), 0);
    for (size_t k = 0; k < count; ++k) {
        const size_t column = order[k];
        const qreal share = room / qreal(count - k);
        widths[column] = std::min(wanted[column], share);
        room -= widths[column];
    }
    if (demand.nameColumn >= 0)
        widths[size_t(demand.nameColumn)] += room;
    return widths;
}

} // namespace Lirabel
