// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/listsink.h"

#include "core/lirabelerror.h"
#include "core/systemreason.h"

#include <QFile>

#include <cerrno>
#include <cstdio>

namespace Lirabel {

namespace {

constexpr qsizetype BlockSize = 256 * 1024;

} // namespace

ListSink::ListSink(std::optional<QByteArray> path)
    : mPath(std::move(path))
{
    mPending.reserve(BlockSize + 4096);
}

ListSink::ListSink(QByteArray &memory)
    : mMemory(&memory)
{
}

ListSink::~ListSink() = default;

void ListSink::fail()
{
    throw LirabelError(QFile::decodeName(*mPath) + QLatin1String(": ") + mFile->reason());
}

void ListSink::open()
{
    mFile = std::make_unique<OutputFile>(*mPath);
    if (!mFile->open())
        fail();
}

void ListSink::flush()
{
    const char *data = mPending.constData();
    qsizetype left = mPending.size();
    if (mMemory) {
        mMemory->append(mPending);
        mPending.resize(0);
        return;
    }
    if (!mPath) {
        if (left > 0 && std::fwrite(data, 1, size_t(left), stdout) != size_t(left))
            throw LirabelError(QStringLiteral("Standardausgabe: ") + systemReason(errno));
        mPending.resize(0); // the block keeps its room
        return;
    }
    if (!mFile)
        open();
    if (!mFile->write(data, left))
        fail();
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
    if (mMemory)
        return;
    if (!mPath) {
        if (std::fflush(stdout) != 0)
            throw LirabelError(QStringLiteral("Standardausgabe: ") + systemReason(errno));
        return;
    }
    if (!mFile)
        open();
    if (!mFile->commit())
        fail();
    mFile.reset();
}

} // namespace Lirabel
