// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "paper/rowspool.h"

#include "core/lirabelerror.h"

#include <QDir>

namespace Lirabel {

RowSpool::RowSpool()
    : mFile(QDir::tempPath() + QStringLiteral("/lirabel-XXXXXX"))
{
    if (!mFile.open())
        fail();
    mStream.setDevice(&mFile);
    mStream.setFloatingPointPrecision(QDataStream::SinglePrecision);
}

void RowSpool::fail() const
{
    throw LirabelError(QStringLiteral("Keine Zwischendatei in %1: %2")
                           .arg(QDir::toNativeSeparators(QDir::tempPath()), mFile.errorString()));
}

void RowSpool::append(const Record &record)
{
    mStream << quint8(record.kind) << quint32(record.texts.size());
    for (size_t i = 0; i < record.texts.size(); ++i)
        mStream << record.texts[i] << (i < record.widths.size() ? record.widths[i] : 0.0f);
    if (mStream.status() != QDataStream::Ok)
        fail();
    ++mCount;
}

void RowSpool::rewind()
{
    if (!mFile.flush() || !mFile.seek(0))
        fail();
    mStream.resetStatus();
    mRead = 0;
}

bool RowSpool::next(Record &record)
{
    if (mRead >= mCount)
        return false;
    quint8 kind = 0;
    quint32 cells = 0;
    mStream >> kind >> cells;
    record.kind = Kind(kind);
    record.texts.resize(cells);
    record.widths.resize(cells);
    for (quint32 i = 0; i < cells; ++i)
        mStream >> record.texts[i] >> record.widths[i];
    if (mStream.status() != QDataStream::Ok)
        fail();
    ++mRead;
    return true;
}

} // namespace Lirabel
