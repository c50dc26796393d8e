// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Lirabel {

void loadGermanQtTexts(QCoreApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

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
