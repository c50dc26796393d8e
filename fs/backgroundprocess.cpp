// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/backgroundprocess.h"

#include <QtGlobal>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Lirabel {

namespace {

[[noreturn]] void failWith(const QByteArray &failure)
{
    std::fputs(failure.constData(), stderr);
    std::fflush(stderr);
    ::_exit(1);
}

} // namespace

BackgroundProcess::BackgroundProcess(const QByteArray &failure)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        failWith(failure);
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = ::fork();
    if (child < 0)
        failWith(failure);
    if (child > 0) {
        ::close(ends[1]);
        unsigned char status = 0;
        ssize_t got;
        do
            got = ::read(ends[0], &status, 1);
        while (got < 0 && errno == EINTR);
        if (got != 1) {
            ::waitpid(child, nullptr, 0);
            failWith(failure);
        }
        // The background process is not waited for: it is init's to reap.
        ::_exit(status);
    }
    ::close(ends[0]);
    mReadyPipe = ends[1];
}

BackgroundProcess::~BackgroundProcess()
{
    if (mReadyPipe >= 0)
        ::close(mReadyPipe);
}

void BackgroundProcess::detach()
{
    if (mDetached)
        return;
    mDetached = true;
    std::fflush(stdout);
    std::fflush(stderr);
    ::setsid();
    // Where not even the root can be entered, the folder is kept: nothing depends on it.
    const bool leftFolder = ::chdir("/") == 0;
    Q_UNUSED(leftFolder)
    const int nowhere = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        ::dup2(nowhere, stream);
    if (nowhere > STDERR_FILENO)
        ::close(nowhere);
}

void BackgroundProcess::ready(int status)
{
    if (mReadyPipe < 0)
        return;
    detach();
    const unsigned char answer = static_cast<unsigned char>(status);
    ssize_t sent;
    do
        sent = ::write(mReadyPipe, &answer, 1);
    while (sent < 0 && errno == EINTR);
    ::close(mReadyPipe);
    mReadyPipe = -1;
}

} // namespace Lirabel
