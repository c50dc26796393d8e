// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// What reads files' contents with large libraries, TagLib for the tags of
// music and libcrypto for checksums: a module of its own beside the
// programs (lirabel-inhalte.so), loaded by the first list that asks for
// tags or checksums. The window and the lists of names and sizes, which
// are nearly all, start without loading either library.

#include "fs/audiotags.h"

#include <array>
#include <cstddef>

namespace Lirabel {

struct ContentReaders
{
    // The tags of the file name in the folder open as descriptor folder;
    // empty texts and -1 seconds where it holds none or is no music.
    AudioTags (*readTags)(int folder, const char *name);
    // SHA-256 of bytes fed block by block: begin gives a state that end
    // frees; false where the library fails.
    void *(*beginSha256)();
    bool (*addToSha256)(void *state, const unsigned char *bytes, size_t size);
    bool (*endSha256)(void *state, std::array<unsigned char, 32> &digest);
};

// The module's readers, loaded at the first call; nothing where the module
// cannot be loaded, and in why the reason in German.
[[nodiscard]] const ContentReaders *contentReaders(QString *why = nullptr);

} // namespace Lirabel
