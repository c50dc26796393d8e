// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

class QCoreApplication;

namespace Lirabel {

// Qt's own texts in German, for as long as the application lives.
void loadGermanQtTexts(QCoreApplication &app);

} // namespace Lirabel
