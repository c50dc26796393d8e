// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "output/lists/listsink.h"

#include "platform/lirabelerror.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Lirabel {

namespace {

constexpr qsizetype BlockSize = 256 * 1024;

} // namespace

ListSink::ListSink(std::optional<QByteArray> path)
    : mPath(std::move(path))
{
    mPending.reserve(BlockSize + 4096);
}

ListSink::~ListSink()
{
    if (mFile)
        mFile->cancelWriting();
}

void ListSink::open()
{
    mFile = std::make_unique<QSaveFile>(QFile::decodeName(*mPath));
    if (!mFile->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw LirabelError(mFile->fileName() + QLatin1String(": ") + mFile->errorString());
}

void ListSink::flush()
{
    const char *data = mPending.constData();
    qsizetype left = mPending.size();
    if (!mPath) {
        if (left > 0 && std::fwrite(data, 1, size_t(left), stdout) != size_t(left))
            throw LirabelError(QStringLiteral("Standardausgabe: ") + QString::fromLocal8Bit(std::strerror(errno)));
        mPending.resize(0); // the block keeps its room
        return;
    }
    if (!mFile)
        open();
    while (left > 0) {
        const qint64 written = mFile->write(data, left);
        if (written <= 0)
            throw LirabelError(mFile->fileName() + QLatin1String(": ") + mFile->errorString());
        data += written;
        left -= qsizetype(written);
    }
    mPending.resize(0);
}

void ListSink::write(const char *bytes, qsizetype size)
{
    mPending.append(bytes, size);
    if (mPending.size() >= BlockSize)
        flush();
}

void ListSink::write(const QByteArray &bytes)
{
    write(bytes.constData(), bytes.size());
}

void ListSink::finish()
{
    flush();
    if (!mPath) {
        if (std::fflush(stdout) != 0)
            throw LirabelError(QStringLiteral("Standardausgabe: ") + QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (!mFile)
        open();
    if (!mFile->commit()) {
        const QString reason = mFile->fileName() + QLatin1String(": ") + mFile->errorString();
        mFile.reset();
        throw LirabelError(reason);
    }
    mFile.reset();
}

} // namespace Lirabel
