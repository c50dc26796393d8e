// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "paper/papersize.h"

#include <QSizeF>
#include <QString>

#include <clocale>
#include <cstdint>

#if defined(__GLIBC__)
#include <langinfo.h>
#endif

namespace Lirabel {

QPageSize localePaperSize()
{
#if defined(__GLIBC__)
    // Read after the program has taken its locale from the environment.
    std::setlocale(LC_PAPER, "");
    const auto millimetres = [](nl_item item) { return int(reinterpret_cast<std::intptr_t>(nl_langinfo(item))); };
    const int width = millimetres(_NL_PAPER_WIDTH);
    const int height = millimetres(_NL_PAPER_HEIGHT);
    if (width > 0 && height > 0)
        return QPageSize(QSizeF(width, height), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
#endif
    return QPageSize(QPageSize::A4);
}

} // namespace Lirabel
