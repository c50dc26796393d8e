#include "platform/files/naturalorder.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <vector>

namespace Lirabel {

namespace {

QCollator makeCollator()
{
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    collator.setIgnorePunctuation(false);
    return collator;
}

const QCollator &collator()
{
    static const QCollator instance = makeCollator();
    return instance;
}

} // namespace

int naturalCompare(const QString &a, const QString &b)
{
    const int byCollation = collator().compare(a, b);
    if (byCollation != 0)
        return byCollation;
    return QString::compare(a, b, Qt::CaseSensitive);
}

void sortNatural(QStringList &names)
{
    // A collation key costs two allocations, together larger than the name
    // itself: keys for a hundred thousand names at once would more than double
    // the memory of the list while it is sorted. So runs of at most RunLength
    // names are sorted by their keys, and the sorted runs are then merged by
    // comparing names, which needs no keys and few comparisons.
    constexpr qsizetype RunLength = 8192;
    const QCollator &c = collator();
    const qsizetype size = names.size();
    std::vector<QCollatorSortKey> keys;
    std::vector<qsizetype> order;
    std::vector<QString> sorted;
    for (qsizetype begin = 0; begin < size; begin += RunLength) {
        const qsizetype length = std::min(RunLength, size - begin);
        keys.clear();
        keys.reserve(size_t(length));
        order.resize(size_t(length));
        for (qsizetype i = 0; i < length; ++i) {
            keys.push_back(c.sortKey(names.at(begin + i)));
            order[size_t(i)] = i;
        }
        std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            const int byCollation = keys[size_t(a)].compare(keys[size_t(b)]);
            if (byCollation != 0)
                return byCollation < 0;
            return names.at(begin + a) < names.at(begin + b);
        });
        sorted.clear();
        sorted.reserve(size_t(length));
        for (const qsizetype i : order)
            sorted.push_back(std::move(names[begin + i]));
        std::move(sorted.begin(), sorted.end(), names.begin() + begin);
    }
    const auto less = [](const QString &a, const QString &b) { return naturalCompare(a, b) < 0; };
    for (qsizetype width = RunLength; width < size; width *= 2) {
        for (qsizetype begin = 0; begin + width < size; begin += 2 * width)
            std::inplace_merge(names.begin() + begin, names.begin() + begin + width,
                               names.begin() + std::min(begin + 2 * width, size), less);
    }
}

} // namespace Lirabel
