// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QString>

namespace Lirabel {

// Where the entries of a listing come from: in the program the main window's file list.
class EntrySource
{
public:
    virtual ~EntrySource() = default;
    [[nodiscard]] virtual qsizetype count() const = 0;
    // The bare file name at a 0-based position.
    [[nodiscard]] virtual QString entry(qsizetype position) const = 0;
};

} // namespace Lirabel
