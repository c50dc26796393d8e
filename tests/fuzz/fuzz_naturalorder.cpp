// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Feeds arbitrary triples of names to the natural order. The file and
// directory lists sort with it, so it must be a total order whatever the
// names: a name equals only itself, comparing the other way round gives the
// opposite sign, the order is transitive, and the sort agrees with the
// comparison.
//
// The input is up to three names separated by NUL bytes, read as UTF-8
// (invalid bytes become U+FFFD, as a folder's non-UTF-8 names do). The same
// bytes are read a second time, each byte a piece from a small alphabet:
// letters in both cases, umlauts, ß, digits and zeros, punctuation, and a few
// characters without a key; with each name also in capitals. For every pair
// that has keys built without the collator, the keys must compare as the
// collator compares the names.

#include "core/naturalkey.h"
#include "core/naturalorder.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

QStringList piecesOf(const uint8_t *data, size_t size)
{
    static const QStringList alphabet{"a",      "A",      "e",       "o",      "O",      "s",      "S",      "u",
                                      "z",      "Z",      "\u00e4",  "\u00c4", "\u00f6", "\u00d6", "\u00fc", "\u00dc",
                                      "\u00df", "ss",     "\u00e9",  "\u00e8", "0",      "00",     "1",      "7",
                                      "9",      " ",      ".",       "-",      "_",      "(",      "~",      "'",
                                      "\u20ac", "\u0142", "e\u0301", "\u0001"};
    QStringList names{QString()};
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && names.size() == 3)
            break;
        if (data[i] == 0)
            names.append(QString());
        else
            names.last() += alphabet.at(data[i] % alphabet.size());
    }
    const QStringList given = names;
    for (const QString &name : given)
        names.append(name.toUpper());
    return names;
}

void checkKeys(const QStringList &names)
{
    for (const QString &a : names) {
        std::string keyA;
        if (!Lirabel::appendNaturalKey(a, keyA))
            continue;
        for (const QString &b : names) {
            std::string keyB;
            if (Lirabel::appendNaturalKey(b, keyB))
                check(sign(keyA.compare(keyB)) == sign(Lirabel::naturalCollator().compare(a, b)));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 600)
        return 0;
    QStringList names;
    size_t start = 0;
    for (size_t i = 0; i <= size && names.size() < 3; ++i) {
        if (i == size || data[i] == 0) {
            names.append(QString::fromUtf8(reinterpret_cast<const char *>(data + start), qsizetype(i - start)));
            start = i + 1;
        }
    }
    while (names.size() < 3)
        names.append(QString());

    for (const QString &a : std::as_const(names)) {
        check(Lirabel::naturalCompare(a, a) == 0);
        for (const QString &b : std::as_const(names)) {
            const int ab = sign(Lirabel::naturalCompare(a, b));
            check(ab == -sign(Lirabel::naturalCompare(b, a)));
            check((ab == 0) == (a == b));
            for (const QString &c : std::as_const(names)) {
                if (ab < 0 && Lirabel::naturalCompare(b, c) < 0)
                    check(Lirabel::naturalCompare(a, c) < 0);
            }
        }
    }

    checkKeys(names);
    checkKeys(piecesOf(data, size));

    QStringList sorted = names;
    Lirabel::sortNatural(sorted);
    for (qsizetype i = 0; i + 1 < sorted.size(); ++i)
        check(Lirabel::naturalCompare(sorted.at(i), sorted.at(i + 1)) <= 0);
    return 0;
}
