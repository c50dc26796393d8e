// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "lists/savedlist.h"

namespace Lirabel {

// A JSON list written by lirabel (--format json), read as it streams by:
// a list of a large tree holds hundreds of thousands of files, which a
// document tree (QJsonDocument) would take seconds to build and walk. Only
// the small parts (optionen, ausgelassen) go through QJsonDocument.
[[nodiscard]] std::optional<SavedList> readJsonList(const QByteArray &bytes, QString &wrong, bool optionsOnly);

} // namespace Lirabel
