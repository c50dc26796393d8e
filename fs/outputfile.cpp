// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/outputfile.h"

#include "core/systemreason.h"

#include <QRandomGenerator>
#include <QScopeGuard>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Lirabel {

OutputFile::OutputFile(QByteArray path, bool waitForReader)
    : mPath(std::move(path))
    , mWaitForReader(waitForReader)
{
}

OutputFile::~OutputFile()
{
    cancel();
}

bool OutputFile::fail(int error)
{
    mError = error;
    return false;
}

bool OutputFile::open()
{
    mOpening = true;
    const auto opened = qScopeGuard([this] { mOpening = mError != 0; });
    if (mPath.isEmpty())
        return fail(ENOENT);
    mTarget = mPath;
    struct stat status
    {
    };
    bool exists = ::stat(mPath.constData(), &status) == 0;
    if (!exists && errno != ENOENT)
        return fail(errno);
    if (exists && S_ISDIR(status.st_mode))
        return fail(EISDIR);
    if (exists && !S_ISREG(status.st_mode)) {
        // O_NOCTTY: a terminal written to does not become the program's own.
        const bool now = S_ISFIFO(status.st_mode) && !mWaitForReader;
        mDescriptor = ::open(mPath.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | (now ? O_NONBLOCK : 0));
        if (mDescriptor < 0)
            return fail(errno);
        if (now)
            (void)::fcntl(mDescriptor, F_SETFL, ::fcntl(mDescriptor, F_GETFL) & ~O_NONBLOCK);
        return true;
    }
    if (exists) {
        if (::access(mPath.constData(), W_OK) != 0)
            return fail(errno);
        struct stat link
        {
        };
        if (::lstat(mPath.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
            char *real = ::realpath(mPath.constData(), nullptr);
            if (!real)
                return fail(errno);
            mTarget = real;
            std::free(real);
        }
    }
    const qsizetype slash = mTarget.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : mTarget.left(std::max<qsizetype>(slash, 1));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = folder + (folder.endsWith('/') ? "" : "/") + ".lirabel-"
            + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        // A new file gets 0666 less the umask, as any file the user creates.
        mDescriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (mDescriptor >= 0) {
            mTemporary = name;
            if (exists)
                (void)::fchmod(mDescriptor, status.st_mode & 07777);
            return true;
        }
        if (errno != EEXIST)
            return fail(errno);
    }
    return fail(EEXIST);
}

QString OutputFile::reason() const
{
    if (mOpening && (mError == EACCES || mError == EPERM))
        return QStringLiteral("kein Schreibrecht");
    if (mOpening && mError == ENOENT && !mPath.isEmpty()) {
        const qsizetype slash = mTarget.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray(".") : mTarget.left(std::max<qsizetype>(slash, 1));
        struct stat status
        {
        };
        if (::stat(folder.constData(), &status) == 0 && S_ISDIR(status.st_mode))
            return QStringLiteral("In diesem Ordner kann keine Datei angelegt werden");
        return QStringLiteral("Ordner nicht vorhanden");
    }
    return systemReason(mError);
}

bool OutputFile::write(const char *data, qsizetype size)
{
    if (mDescriptor < 0)
        return fail(EBADF);
    while (size > 0) {
        const ssize_t written = ::write(mDescriptor, data, size_t(std::min<qsizetype>(size, SSIZE_MAX)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return fail(errno);
        if (written == 0)
            return fail(ENOSPC);
        data += written;
        size -= written;
    }
    return true;
}

bool OutputFile::commit()
{
    if (mDescriptor < 0)
        return fail(EBADF);
    const int descriptor = mDescriptor;
    mDescriptor = -1;
    if (mTemporary.isEmpty())
        return ::close(descriptor) == 0 || fail(errno);
    // On disk before it takes the name: a crash leaves the old file or the
    // new one, never an empty one.
    if (::fsync(descriptor) != 0) {
        const int error = errno;
        ::close(descriptor);
        cancel();
        return fail(error);
    }
    if (::close(descriptor) != 0 || ::rename(mTemporary.constData(), mTarget.constData()) != 0) {
        const int error = errno;
        cancel();
        return fail(error);
    }
    mTemporary.clear();
    return true;
}

void OutputFile::cancel()
{
    if (mDescriptor >= 0)
        ::close(mDescriptor);
    mDescriptor = -1;
    if (!mTemporary.isEmpty())
        ::unlink(mTemporary.constData());
    mTemporary.clear();
}

} // namespace Lirabel
