// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include "core/platform.h"
#include "ui/qtdialogs.h"
#include "ui/qtprinter.h"
#include "ui/qttextfiles.h"
#include "ui/qtvolumes.h"

namespace Lirabel {

class QtMessageBox : public MessageBoxService
{
public:
    int critical(const QString &text, const QString &title) override;
    bool question(const QString &text, const QString &title) override;
};

class QtProgram : public ProgramService
{
public:
    QString programFolder() const override;
    void endProgram() override;
};

// What main() returns once the event loop has ended. While a thread still
// hangs in a file-system call, the program ends here at once instead: nothing
// may wait for that thread, nor pull the program from under it.
[[nodiscard]] int leaveProgram(int exitCode);

// The Qt implementations of every service; installs them for its lifetime.
class QtPlatform
{
public:
    QtPlatform();
    ~QtPlatform();
    QtPlatform(const QtPlatform &) = delete;
    QtPlatform &operator=(const QtPlatform &) = delete;

    QtMessageBox messageBox;
    QtProgram program;
    QtVolumes volumes;
    QtPrinter printer;
    QtDialogs dialogs;
    QtTextFiles textFiles;

private:
    Platform mPrevious;
};

} // namespace Lirabel
