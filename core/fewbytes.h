// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Copies of a few bytes inside loops over many names or rows.
//
// The C library's memcpy and strlen use the processor's widest registers
// where it has them. On a machine with AVX-512, each change between that
// code and ours in such a loop cost more than the work itself: a fifth of a
// tree's list. Plain moves cost nothing of the kind.

#include <QtGlobal>

#include <cstddef>
#include <cstring>

namespace Lirabel {

// The bytes may overlap where `to` lies before `from`: they are copied
// front to back, each read before it is written over.
inline void copyFewBytes(char *to, const char *from, size_t count)
{
    if (count > 256) {
        std::memmove(to, from, count); // the library's gain outweighs the change
    } else if (count >= 8) {
        size_t at = 0;
        for (; at + 8 < count; at += 8) {
            quint64 bytes;
            std::memcpy(&bytes, from + at, 8);
            std::memcpy(to + at, &bytes, 8);
        }
        quint64 last; // overlaps the bytes before it
        std::memcpy(&last, from + count - 8, 8);
        std::memcpy(to + count - 8, &last, 8);
    } else if (count >= 4) {
        quint32 first;
        quint32 last;
        std::memcpy(&first, from, 4);
        std::memcpy(&last, from + count - 4, 4);
        std::memcpy(to, &first, 4);
        std::memcpy(to + count - 4, &last, 4);
    } else if (count > 0) {
        to[0] = from[0];
        to[count / 2] = from[count / 2];
        to[count - 1] = from[count - 1];
    }
}

inline void copyFewBytes(uchar *to, const uchar *from, size_t count)
{
    copyFewBytes(reinterpret_cast<char *>(to), reinterpret_cast<const char *>(from), count);
}

// Negative, zero or positive as the bytes of a compare before, equal to or
// after those of b, unsigned, as memcmp.
inline int compareFewBytes(const uchar *a, const uchar *b, size_t count)
{
    size_t at = 0;
    for (; at + 8 <= count; at += 8) {
        quint64 x;
        quint64 y;
        std::memcpy(&x, a + at, 8);
        std::memcpy(&y, b + at, 8);
        if (x != y) {
            // The first byte that differs decides.
            for (size_t i = at;; ++i) {
                if (a[i] != b[i])
                    return a[i] < b[i] ? -1 : 1;
            }
        }
    }
    for (; at < count; ++at) {
        if (a[at] != b[at])
            return a[at] < b[at] ? -1 : 1;
    }
    return 0;
}

// The length of a name of a directory entry, without the library's strlen.
inline size_t nameLength(const char *name)
{
    const char *end = name;
    while (*end)
        ++end;
    return size_t(end - name);
}

} // namespace Lirabel
