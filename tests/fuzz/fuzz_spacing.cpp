// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Feeds arbitrary text to the spacing conversion. Besides crashes and
// undefined behaviour it checks what must hold for every input: a result is
// never negative, and a plain decimal within range converts to its own value.

#include "core/entryformat.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto value = Lirabel::spacingFromText(text);
    if (value && *value < 0)
        std::abort();

    // Digits only, up to nine of them: always fits, and is the value itself.
    const std::string raw(reinterpret_cast<const char *>(data), size);
    if (!raw.empty() && raw.size() <= 9 && raw.find_first_not_of("0123456789") == std::string::npos) {
        if (!value || *value != std::stol(raw))
            std::abort();
    }
    // A sign in front of a plain number: minus gives 0, plus the number.
    if (value && raw.size() > 1 && raw.size() <= 10 && raw[0] == '-'
        && raw.find_first_not_of("0123456789", 1) == std::string::npos && *value != 0)
        std::abort();
    return 0;
}
