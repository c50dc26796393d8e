// Feeds arbitrary triples of names to the natural order. The file and
// directory lists sort with it, so it must be a total order whatever the
// names: a name equals only itself, comparing the other way round gives the
// opposite sign, the order is transitive, and the sort agrees with the
// comparison.
//
// The input is up to three names separated by NUL bytes, read as UTF-8
// (invalid bytes become U+FFFD, as a folder's non-UTF-8 names do).

#include "platform/files/naturalorder.h"

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

    QStringList sorted = names;
    Lirabel::sortNatural(sorted);
    for (qsizetype i = 0; i + 1 < sorted.size(); ++i)
        check(Lirabel::naturalCompare(sorted.at(i), sorted.at(i + 1)) <= 0);
    return 0;
}
