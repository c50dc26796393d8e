// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"

#include "cli/germantexts.h"
#include "ui/folderlistmodel.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include <system_error>

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

std::jthread readFontsBesideIcons()
{
    std::jthread fonts;
    try {
        fonts = std::jthread([] { (void)QFontDatabase::families(); });
    } catch (const std::system_error &) {
        // Without a thread the first widget with text reads the fonts itself.
    }
    (void)FolderListModel::folderIcon(true);
    (void)FolderListModel::folderIcon(false);
    return fonts;
}

} // namespace Lirabel
