// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace Lirabel {

// The texts of one column over the whole list, kept only to give their
// natural order at its end: a page that sorts them in the browser carries
// that order, as no browser sorts as the program does. The texts lie in one
// block, not one string each, since a list may hold a million.
class TextOrder
{
public:
    void append(QStringView text);
    [[nodiscard]] qsizetype size() const { return qsizetype(mEnds.size()); }
    // The positions of the texts in natural order; the texts are let go.
    [[nodiscard]] std::vector<quint32> takeNaturalOrder();

private:
    QString mTexts;
    std::vector<qsizetype> mEnds;
};

} // namespace Lirabel
