// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/platform.h"

namespace Lirabel {

namespace {
Platform gPlatform;
}

QString Volume::driveText() const
{
    if (label.isEmpty())
        return mountPoint;
    return mountPoint + QStringLiteral(" [") + label + QLatin1Char(']');
}

Platform &platform()
{
    return gPlatform;
}

void installPlatform(const Platform &services)
{
    gPlatform = services;
}

void showErrorBox(const QString &text, const QString &title)
{
    gPlatform.messageBox->critical(text, title);
}

} // namespace Lirabel
