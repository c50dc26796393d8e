// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"

#include "cli/germantexts.h"

#include <QApplication>
#include <QFont>

namespace Lirabel {

void setUpApplication(QApplication &app)
{
    loadGermanQtTexts(app);

    QFont font(QStringLiteral("Liberation Sans"), 8);
    QApplication::setFont(font);
    QApplication::setApplicationName(QStringLiteral("Lirabel"));
    // Wayland desktops tie the window to the menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.lirabel.Lirabel"));
}

} // namespace Lirabel
