// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

class QApplication;

namespace Lirabel {

// Qt's own texts in German whatever the locale, and the interface font the
// window layouts were measured for.
void setUpApplication(QApplication &app);

} // namespace Lirabel
