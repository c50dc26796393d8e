// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "cli/largepages.h"

#include <QtGlobal>

#include <cstdint>
#include <cstdlib>

#if defined(Q_OS_LINUX) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace Lirabel {

void preferLargePages()
{
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
    constexpr int HeapStep = 256 << 20;
    constexpr std::uintptr_t LargePage = 2 << 20;
    // One heap for all threads, large blocks taken from it rather than
    // mapped one by one, and nothing handed back before the end.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 4 * HeapStep);
    mallopt(M_TOP_PAD, HeapStep);
    // The heap grows by one step now, enough for a folder of about a million
    // files, and that step is offered whole for large pages: only address
    // room, as a page is still only taken where memory is written.
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void *volatile growing = std::malloc(1 << 20);
    std::free(growing);
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t from = (before + LargePage - 1) & ~(LargePage - 1);
    if (after > from)
        madvise(reinterpret_cast<void *>(from), after - from, MADV_HUGEPAGE);
#endif
}

} // namespace Lirabel
