// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/naturalorder.h"

#include "core/bytenames.h"
#include "core/fewbytes.h"
#include "core/naturalkey.h"

#include <QCollatorSortKey>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace Lirabel {

namespace {

// From this many names on, two threads build the keys and sort, each half of
// the names, and the halves are merged.
constexpr qsizetype ParallelFrom = 8192;
// Reading the weights from the collator the first time costs as much as
// sorting a few thousand names by the collator's own keys: short lists, as
// most folders have, are sorted that way.
constexpr qsizetype KeysFrom = 2048;

// One name in the sort. Most comparisons end within the first sixteen bytes
// of the keys, held as two numbers. The rest of a key, often only a few bytes,
// lies in an arena after the key's length in two bytes. Names without a key
// (a character of unknown weight) are compared by the collator.
struct Keyed
{
    static constexpr quint32 NoKey = 0xffffffff;
    static constexpr uint HeadBytes = 16;
    quint64 head[2] = {0, 0};
    quint32 key = NoKey; // where in the arena
    quint32 index = 0;   // in the names
};

// The name at i of a QStringList or of a vector of views.
template<typename Names>
QStringView nameAt(const Names &names, qsizetype i)
{
    return names[static_cast<typename Names::size_type>(i)];
}

// Names is a QStringList or a std::vector<QStringView>: the window's list is
// sorted where it lies, without a second list of views into it.
template<typename Names>
struct Less
{
    const Names &names;
    uchar *arena;

    [[nodiscard]] int compareKeys(const Keyed &a, const Keyed &b) const
    {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0] ? -1 : 1;
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1] ? -1 : 1;
        // A short head is filled with zeros, which a key may also hold: the
        // lengths decide between a key and a longer one that starts with it.
        const uchar *keyA = arena + a.key;
        const uchar *keyB = arena + b.key;
        const uint lengthA = uint(keyA[0]) << 8 | keyA[1];
        const uint lengthB = uint(keyB[0]) << 8 | keyB[1];
        const uint shorter = std::min(lengthA, lengthB);
        if (shorter > Keyed::HeadBytes) {
            if (const int byBytes = compareFewBytes(keyA + 2, keyB + 2, shorter - Keyed::HeadBytes))
                return byBytes;
        }
        return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
    }

    bool operator()(const Keyed &a, const Keyed &b) const
    {
        if (a.key == Keyed::NoKey || b.key == Keyed::NoKey)
            return naturalCompare(nameAt(names, a.index), nameAt(names, b.index)) < 0;
        if (const int byKey = compareKeys(a, b))
            return byKey < 0;
        return nameAt(names, a.index).compare(nameAt(names, b.index), Qt::CaseSensitive) < 0;
    }
};

// The names without a key, sorted by the collator's own keys. A collation
// key costs two allocations, together larger than the name itself, so runs
// of at most RunLength names are sorted by their keys and the sorted runs
// merged by comparing names, which needs no keys and few comparisons.
template<typename Names>
void sortByCollator(const Names &names, std::vector<Keyed> &items)
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
            keys.push_back(collator.sortKey(QStringView(names[items[begin + i].index]).toString()));
            order[i] = i;
        }
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            if (const int byKey = keys[a].compare(keys[b]))
                return byKey < 0;
            return names[items[begin + a].index].compare(names[items[begin + b].index], Qt::CaseSensitive) < 0;
        });
        sorted.clear();
        for (const size_t i : order)
            sorted.push_back(items[begin + i]);
        std::copy(sorted.begin(), sorted.end(), items.begin() + qsizetype(begin));
    }
    for (size_t width = RunLength; width < items.size(); width *= 2) {
        for (size_t begin = 0; begin + width < items.size(); begin += 2 * width)
            std::inplace_merge(items.begin() + qsizetype(begin), items.begin() + qsizetype(begin + width),
                               items.begin() + qsizetype(std::min(begin + 2 * width, items.size())),
                               Less<Names>{names, nullptr});
    }
}

// Room in the arena for the keys of the names from first to last (exclusive).
template<typename Names>
size_t arenaBound(const Names &names, qsizetype first, qsizetype last)
{
    size_t bound = 0;
    for (qsizetype i = first; i < last; ++i)
        bound += 2 + size_t(naturalKeyBound(nameAt(names, i)));
    return bound;
}

// The names from first to last (exclusive) in order; their keys are written
// to the arena from at on, which has room for them, when keys is true.
template<typename Names>
std::vector<Keyed> sortPart(const Less<Names> &less, qsizetype first, qsizetype last, bool keys, size_t at)
{
    uchar *const arena = less.arena;
    std::vector<Keyed> keyed;
    std::vector<Keyed> others;
    keyed.reserve(size_t(last - first));
    for (qsizetype i = first; i < last; ++i) {
        Keyed item;
        item.index = quint32(i);
        const qsizetype length =
            keys ? writeNaturalKey(nameAt(less.names, i), reinterpret_cast<char *>(arena + at + 2)) : -1;
        if (length < 0 || length > 0xffff) {
            others.push_back(item);
            continue;
        }
        const uchar *key = arena + at + 2;
        arena[at] = uchar(length >> 8);
        arena[at + 1] = uchar(length);
        item.key = quint32(at);
        uchar head[Keyed::HeadBytes] = {};
        copyFewBytes(head, key, size_t(std::min<qsizetype>(length, Keyed::HeadBytes)));
        item.head[0] = qFromBigEndian<quint64>(head);
        item.head[1] = qFromBigEndian<quint64>(head + 8);
        // Only the bytes past the head stay: the next key is written over
        // the rest, so the arena's pages are touched for what it keeps.
        const size_t rest = size_t(std::max<qsizetype>(length - Keyed::HeadBytes, 0));
        if (rest > 0)
            copyFewBytes(arena + at + 2, key + Keyed::HeadBytes, rest);
        at += 2 + rest;
        keyed.push_back(item);
    }
    std::sort(keyed.begin(), keyed.end(), less);
    if (others.empty())
        return keyed;
    sortByCollator(less.names, others);
    std::vector<Keyed> merged(keyed.size() + others.size());
    std::merge(keyed.begin(), keyed.end(), others.begin(), others.end(), merged.begin(), less);
    return merged;
}

} // namespace

int naturalCompare(QStringView a, QStringView b)
{
    const int byCollation = naturalCollator().compare(a, b);
    if (byCollation != 0)
        return byCollation;
    return a.compare(b, Qt::CaseSensitive);
}

namespace {

template<typename Names>
std::vector<quint32> orderOf(const Names &names)
{
    const qsizetype size = qsizetype(names.size());
    if (size < 2)
        return std::vector<quint32>(size_t(size), 0);
    const bool parallel = size >= ParallelFrom && std::thread::hardware_concurrency() >= 2;
    const qsizetype half = parallel ? size / 2 : size;
    const size_t frontBound = arenaBound(names, 0, half);
    const size_t bound = frontBound + arenaBound(names, half, size);
    // Not filled in: only the pages the keys take are ever touched.
    const bool keys = (size >= KeysFrom || naturalKeyWeightsRead()) && bound <= Keyed::NoKey;
    const std::unique_ptr<uchar[]> arena(keys ? new uchar[bound] : nullptr);
    const Less<Names> less{names, arena.get()};
    std::vector<quint32> order;
    order.reserve(size_t(size));
    if (!parallel) {
        for (const Keyed &item : sortPart(less, 0, size, keys, 0))
            order.push_back(item.index);
        return order;
    }
    auto sortBack = std::async(std::launch::async, [&less, half, size, keys, frontBound] {
        return sortPart(less, half, size, keys, frontBound);
    });
    const std::vector<Keyed> front = sortPart(less, 0, half, keys, 0);
    const std::vector<Keyed> back = sortBack.get();
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

} // namespace

std::vector<quint32> naturalOrder(const QStringList &names)
{
    return orderOf(names);
}

std::vector<quint32> naturalOrder(const std::vector<QStringView> &names)
{
    return orderOf(names);
}

// A run's names, their keys one after the other in one arena, and the names
// in order, each with its place among the names.
struct NaturalRun::Sorted
{
    std::vector<QStringView> names;
    std::vector<uchar> arena;
    std::vector<Keyed> items;
};

NaturalRun::NaturalRun(std::vector<QStringView> names)
    : mSorted(std::make_unique<Sorted>())
{
    Sorted &run = *mSorted;
    run.names = std::move(names);
    const qsizetype size = qsizetype(run.names.size());
    const size_t bound = arenaBound(run.names, 0, size);
    const bool keys = (size >= KeysFrom || naturalKeyWeightsRead()) && bound <= Keyed::NoKey;
    // Room for the longest keys, not filled in; the arena keeps what they took.
    const std::unique_ptr<uchar[]> room(keys ? new uchar[bound] : nullptr);
    run.items = sortPart(Less<std::vector<QStringView>>{run.names, room.get()}, 0, size, keys, 0);
    size_t used = 0;
    for (const Keyed &keyed : run.items) {
        if (keyed.key == Keyed::NoKey)
            continue;
        const uchar *key = room.get() + keyed.key;
        const uint length = uint(key[0]) << 8 | key[1];
        used = std::max<size_t>(used, keyed.key + 2 + (length > Keyed::HeadBytes ? length - Keyed::HeadBytes : 0));
    }
    run.arena.assign(room.get(), room.get() + used);
}

NaturalRun::~NaturalRun() = default;
NaturalRun::NaturalRun(NaturalRun &&other) noexcept = default;
NaturalRun &NaturalRun::operator=(NaturalRun &&other) noexcept = default;

void NaturalRun::merge(NaturalRun &&later)
{
    Sorted &run = *mSorted;
    Sorted &other = *later.mSorted;
    const auto placeBase = quint32(run.names.size());
    const size_t keyBase = run.arena.size();
    // Keys past the arena's reach are left to the collator, which orders alike.
    const bool keysFit = keyBase + other.arena.size() < Keyed::NoKey;
    for (Keyed &item : other.items) {
        item.index += placeBase;
        if (item.key != Keyed::NoKey)
            item.key = keysFit ? quint32(item.key + keyBase) : Keyed::NoKey;
    }
    run.names.insert(run.names.end(), other.names.cbegin(), other.names.cend());
    if (keysFit)
        run.arena.insert(run.arena.end(), other.arena.cbegin(), other.arena.cend());
    const Less<std::vector<QStringView>> before{run.names, run.arena.data()};
    // Merged from the back into the room after the run's own items, without
    // a second copy of them; of equal names, the run's own come first.
    size_t own = run.items.size();
    size_t taken = other.items.size();
    run.items.resize(own + taken);
    for (size_t to = own + taken; taken > 0;) {
        if (own > 0 && before(other.items[taken - 1], run.items[own - 1]))
            run.items[--to] = run.items[--own];
        else
            run.items[--to] = other.items[--taken];
    }
    other = {};
}

size_t NaturalRun::size() const
{
    return mSorted->items.size();
}

std::vector<quint32> NaturalRun::order() const
{
    std::vector<quint32> order;
    order.reserve(mSorted->items.size());
    for (const Keyed &item : mSorted->items)
        order.push_back(item.index);
    return order;
}

namespace {

void putInOrder(QStringList &names, const std::vector<quint32> &order)
{
    QStringList sorted;
    sorted.reserve(names.size());
    for (const qsizetype i : order)
        sorted.append(std::move(names[i]));
    names = std::move(sorted);
}

} // namespace

void sortNatural(QStringList &names)
{
    putInOrder(names, naturalOrder(names));
}

void sortNaturalAsShown(QStringList &names)
{
    if (std::all_of(names.cbegin(), names.cend(), isShownAsItIs)) {
        sortNatural(names);
        return;
    }
    QStringList shown;
    shown.reserve(names.size());
    for (const QString &name : std::as_const(names))
        shown.append(printableName(name));
    putInOrder(names, naturalOrder(shown));
}

} // namespace Lirabel
