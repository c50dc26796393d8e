// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

namespace Lirabel {

// A list of one folder holds its names several times over while it sorts
// them: as they were read, their sort keys, the list in order. Each page of
// memory costs the system a fault when it is first written, and on a virtual
// machine a fault costs several microseconds, which for a folder of 100,000
// files was over a third of the list's time. This lets the heap grow in
// large steps the system may back with pages of 2 MiB, and has every thread
// allocate from that one heap. Called once, before the list; Linux only,
// elsewhere nothing. Not for a walk of a tree, nor for a list that reads the
// files' contents: their threads would then wait for each other at every
// allocation.
void preferLargePages();

} // namespace Lirabel
