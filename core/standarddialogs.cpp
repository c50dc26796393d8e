// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/standarddialogs.h"

#include "core/lirabelerror.h"
#include "core/platform.h"

namespace Lirabel {

bool StandardDialogs::cancelled()
{
    if (raiseOnCancel)
        throw DialogCancelled();
    return false;
}

bool StandardDialogs::showSaveDialog()
{
    const auto chosen = platform().dialogs->saveFileName(initialFolder, fileName, maxFileNameLength);
    if (!chosen)
        return cancelled();
    fileName = *chosen;
    return true;
}

bool StandardDialogs::showFontDialog()
{
    const auto chosen = platform().dialogs->chooseFont(fontName, fontSize, flags, minFontSize, maxFontSize);
    if (!chosen)
        return cancelled();
    fontName = chosen->name;
    fontSize = chosen->size;
    return true;
}

bool StandardDialogs::showPrinterDialog()
{
    if (!platform().dialogs->choosePrinter(flags))
        return cancelled();
    return true;
}

} // namespace Lirabel
