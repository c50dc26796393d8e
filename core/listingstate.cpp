// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/listingstate.h"

#include "core/platform.h"

namespace Lirabel {

ListingStateVariables ListingState;

void ShowErrorBox(const QString &text, const QString &title)
{
    platform().messageBox->critical(text, title);
}

void ReportError(const QString &text, const QString &title)
{
    ListingState.MessageText = text;
    ListingState.MessageTitle = title;
    ShowErrorBox(ListingState.MessageText, ListingState.MessageTitle);
}

} // namespace Lirabel
