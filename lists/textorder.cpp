// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/textorder.h"

#include "core/naturalorder.h"

namespace Lirabel {

void TextOrder::append(QStringView text)
{
    mTexts.append(text);
    mEnds.push_back(mTexts.size());
}

std::vector<quint32> TextOrder::takeNaturalOrder()
{
    std::vector<QStringView> texts;
    texts.reserve(mEnds.size());
    qsizetype start = 0;
    for (const qsizetype end : mEnds) {
        texts.push_back(QStringView(mTexts).sliced(start, end - start));
        start = end;
    }
    std::vector<quint32> order = naturalOrder(texts);
    texts = {};
    mTexts = {};
    mEnds = {};
    return order;
}

} // namespace Lirabel
