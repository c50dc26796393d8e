// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "core/platform.h"

namespace Lirabel {

class QtPrinter;

// Qt's save-file, font and print dialogs.
class QtDialogs : public DialogService
{
public:
    // The printer whose queue the print dialog chooses.
    void setPrinter(QtPrinter *printer) { mPrinter = printer; }

    std::optional<QString> saveFileName(const QString &initialFolder, const QString &fileName, int maxLength) override;
    std::optional<FontChoice> chooseFont(const QString &name, float size, int flags, int minSize, int maxSize) override;
    bool choosePrinter(int flags) override;
    std::optional<QString> openFileName(const QString &initialFolder, const QString &title) override;

private:
    QtPrinter *mPrinter = nullptr;
};

} // namespace Lirabel
