// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The pieces of the lists for programs (json, jsonl): strings, numbers and
// times as JSON writes them, appended to a block of bytes.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace Lirabel {

// The text as a JSON string, quotes included: UTF-8, with '"', '\' and
// every control character escaped.
void appendJsonString(QByteArray &out, QStringView text);

// The number in decimal digits.
void appendJsonNumber(QByteArray &out, qint64 number);

// The time, in seconds since the epoch, as local ISO 8601 with the zone's
// offset, to the second: "2026-12-09T02:10:00+01:00"; empty where it cannot
// be converted. The time zone is read once per program.
[[nodiscard]] QByteArray isoTimeText(qint64 seconds);

// The exact bytes of a name made by nameFromBytes, in base64, as a JSON
// string: how a list for programs gives a name whose shown form is not
// the name itself.
void appendJsonBytes(QByteArray &out, const QByteArray &bytes);

} // namespace Lirabel
