// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/commondialog.h"

#include "core/lirabelerror.h"
#include "core/platform.h"

namespace Lirabel {

bool CommonDialog::cancelled()
{
    if (CancelError)
        throw DialogCancelled();
    return false;
}

bool CommonDialog::ShowSave()
{
    const auto chosen = platform().dialogs->saveFileName(InitDir, FileName, MaxFileSize);
    if (!chosen)
        return cancelled();
    FileName = *chosen;
    return true;
}

bool CommonDialog::ShowFont()
{
    const auto chosen = platform().dialogs->chooseFont(FontName, FontSize, Flags, Min, Max);
    if (!chosen)
        return cancelled();
    FontName = chosen->name;
    FontSize = chosen->size;
    return true;
}

bool CommonDialog::ShowPrinter()
{
    if (!platform().dialogs->choosePrinter(Flags))
        return cancelled();
    return true;
}

} // namespace Lirabel
