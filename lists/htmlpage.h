// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The fixed parts of the html list's page: its own script and style, kept as
// files of their own (page/listdata.js, page/listpage.js, page/listpage.css)
// and built into the program as a Qt resource, and the Content-Security-Policy that lets the
// browser run that script and apply that style and nothing else: each is
// named by its SHA-256, so no text from a name can run, style or load anything.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace Lirabel {

// From the doctype to the page's heading: title, policy, style.
[[nodiscard]] QByteArray htmlPageStart(const QString &title);

// The page's script element; it stands before the data and reads it as it comes.
[[nodiscard]] QByteArray htmlPageScript();

// The text as a JSON string, quotes included, with "<" written as \u003c so
// that no text can end the script element it stands in.
void appendJsonText(QString &json, QStringView text);

} // namespace Lirabel
