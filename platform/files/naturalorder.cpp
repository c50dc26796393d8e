#include "platform/files/naturalorder.h"

#include "platform/files/naturalkey.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace Lirabel {

namespace {

// From this many names on, two threads build the keys and sort, each half of
// the names, and the halves are merged.
constexpr qsizetype ParallelFrom = 8192;

// One name in the sort. Most comparisons end within the first sixteen bytes
// of the keys, held as two numbers. Names without a key (a character of
// unknown weight) are compared by the collator.
struct Keyed
{
    static constexpr quint32 HeadBytes = 16;
    quint64 head[2] = {0, 0};
    const char *key = nullptr; // nullptr: no key
    quint32 length = 0;
    quint32 index = 0; // in the names

    void setHead()
    {
        for (quint32 b = 0; b < HeadBytes; ++b)
            head[b / 8] = (head[b / 8] << 8) | (b < length ? uchar(key[b]) : 0u);
    }
};

int compareKeys(const Keyed &a, const Keyed &b)
{
    if (a.head[0] != b.head[0])
        return a.head[0] < b.head[0] ? -1 : 1;
    if (a.head[1] != b.head[1])
        return a.head[1] < b.head[1] ? -1 : 1;
    // A shorter head is filled with zeros, which a key may also hold: the
    // lengths decide between a key and a longer one that starts with it.
    const quint32 shorter = std::min(a.length, b.length);
    if (shorter > Keyed::HeadBytes) {
        if (const int byBytes =
                std::memcmp(a.key + Keyed::HeadBytes, b.key + Keyed::HeadBytes, shorter - Keyed::HeadBytes))
            return byBytes;
    }
    return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
}

struct Less
{
    const QStringList &names;

    bool operator()(const Keyed &a, const Keyed &b) const
    {
        if (!a.key || !b.key)
            return naturalCompare(names.at(a.index), names.at(b.index)) < 0;
        if (const int byKey = compareKeys(a, b))
            return byKey < 0;
        return names.at(a.index) < names.at(b.index);
    }
};

// The names without a key, sorted by the collator's own keys. A collation
// key costs two allocations, together larger than the name itself, so runs
// of at most RunLength names are sorted by their keys and the sorted runs
// merged by comparing names, which needs no keys and few comparisons.
void sortByCollator(const QStringList &names, std::vector<Keyed> &items)
{
    constexpr size_t RunLength = 8192;
    const QCollator &collator = naturalCollator();
    std::vector<QCollatorSortKey> keys;
    std::vector<size_t> order;
    std::vector<Keyed> sorted;
    for (size_t begin = 0; begin < items.size(); begin += RunLength) {
        const size_t length = std::min(RunLength, items.size() - begin);
        keys.clear();
        order.resize(length);
        for (size_t i = 0; i < length; ++i) {
            keys.push_back(collator.sortKey(names.at(items[begin + i].index)));
            order[i] = i;
        }
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            if (const int byKey = keys[a].compare(keys[b]))
                return byKey < 0;
            return names.at(items[begin + a].index) < names.at(items[begin + b].index);
        });
        sorted.clear();
        for (const size_t i : order)
            sorted.push_back(items[begin + i]);
        std::copy(sorted.begin(), sorted.end(), items.begin() + qsizetype(begin));
    }
    for (size_t width = RunLength; width < items.size(); width *= 2) {
        for (size_t begin = 0; begin + width < items.size(); begin += 2 * width)
            std::inplace_merge(items.begin() + qsizetype(begin), items.begin() + qsizetype(begin + width),
                               items.begin() + qsizetype(std::min(begin + 2 * width, items.size())), Less{names});
    }
}

// The names from first to last (exclusive) in order; arena holds their keys.
std::vector<Keyed> sortPart(const QStringList &names, qsizetype first, qsizetype last, std::string &arena)
{
    qsizetype characters = 0;
    for (qsizetype i = first; i < last; ++i)
        characters += names.at(i).size();
    // Reserved in full, so the keys never move while they are written.
    arena.reserve(size_t(characters * MaxKeyBytesPerChar + (last - first)));
    std::vector<Keyed> keyed;
    std::vector<Keyed> others;
    keyed.reserve(size_t(last - first));
    for (qsizetype i = first; i < last; ++i) {
        const size_t start = arena.size();
        if (appendNaturalKey(names.at(i), arena)) {
            Keyed item;
            item.key = arena.data() + start;
            item.length = quint32(arena.size() - start);
            item.setHead();
            item.index = quint32(i);
            keyed.push_back(item);
        } else {
            Keyed item;
            item.index = quint32(i);
            others.push_back(item);
        }
    }
    const Less less{names};
    std::sort(keyed.begin(), keyed.end(), less);
    if (others.empty())
        return keyed;
    sortByCollator(names, others);
    std::vector<Keyed> merged(keyed.size() + others.size());
    std::merge(keyed.begin(), keyed.end(), others.begin(), others.end(), merged.begin(), less);
    return merged;
}

} // namespace

int naturalCompare(const QString &a, const QString &b)
{
    const int byCollation = naturalCollator().compare(a, b);
    if (byCollation != 0)
        return byCollation;
    return QString::compare(a, b, Qt::CaseSensitive);
}

std::vector<qsizetype> naturalOrder(const QStringList &names)
{
    const qsizetype size = names.size();
    std::vector<qsizetype> order;
    order.reserve(size_t(size));
    std::string arena;
    if (size < ParallelFrom || std::thread::hardware_concurrency() < 2) {
        for (const Keyed &item : sortPart(names, 0, size, arena))
            order.push_back(item.index);
        return order;
    }
    const qsizetype half = size / 2;
    std::string backArena;
    auto sortBack = std::async(std::launch::async,
                               [&names, half, size, &backArena] { return sortPart(names, half, size, backArena); });
    const std::vector<Keyed> front = sortPart(names, 0, half, arena);
    const std::vector<Keyed> back = sortBack.get();
    const Less less{names};
    auto a = front.begin();
    auto b = back.begin();
    while (a != front.end() && b != back.end())
        order.push_back((less(*b, *a) ? *b++ : *a++).index);
    for (; a != front.end(); ++a)
        order.push_back(a->index);
    for (; b != back.end(); ++b)
        order.push_back(b->index);
    return order;
}

void sortNatural(QStringList &names)
{
    const std::vector<qsizetype> order = naturalOrder(names);
    QStringList sorted;
    sorted.reserve(names.size());
    for (const qsizetype i : order)
        sorted.append(std::move(names[i]));
    names = std::move(sorted);
}

} // namespace Lirabel
