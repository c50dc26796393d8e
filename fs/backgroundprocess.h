// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// A program that must outlive its call, as the owner of the clipboard on X11
// must: the call returns once the program is ready, and the program goes on
// in the background, detached from the caller's terminal, session and pipes.

#include <QByteArray>

namespace Lirabel {

class BackgroundProcess
{
public:
    // Splits the process. Returns in the one that goes on; the caller's
    // process waits there until ready() and ends with the status it is
    // given, or, when the other one ends before, writes failure to standard
    // error and ends with 1. Where the process cannot be split, the same.
    explicit BackgroundProcess(const QByteArray &failure);
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess &) = delete;
    BackgroundProcess &operator=(const BackgroundProcess &) = delete;

    // Leaves the caller: standard input, output and error go nowhere (what
    // goes wrong from here on, the caller's process tells as failure), the
    // working directory is the root (no mount is held), the process leads a
    // session of its own.
    void detach();
    // Lets the caller's process end with status; detaches first.
    void ready(int status);

private:
    int mReadyPipe = -1;
    bool mDetached = false;
};

} // namespace Lirabel
