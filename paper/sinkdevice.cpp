// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "paper/sinkdevice.h"

#include "core/lirabelerror.h"
#include "lists/listsink.h"

namespace Lirabel {

SinkDevice::SinkDevice(ListSink &sink)
    : mSink(sink)
{
    open(QIODevice::WriteOnly);
}

qint64 SinkDevice::readData(char *data, qint64 maxSize)
{
    Q_UNUSED(data)
    Q_UNUSED(maxSize)
    return -1;
}

qint64 SinkDevice::writeData(const char *data, qint64 size)
{
    if (mFailure)
        return -1;
    try {
        mSink.write(data, qsizetype(size));
    } catch (const LirabelError &error) {
        mFailure = error.message();
        return -1;
    }
    return size;
}

} // namespace Lirabel
