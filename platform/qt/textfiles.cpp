// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "platform/qt/textfiles.h"

#include "platform/lirabelerror.h"

namespace Lirabel {

namespace {

constexpr qsizetype BlockSize = 64 * 1024;

[[noreturn]] void fail(const QSaveFile &f)
{
    throw LirabelError(f.fileName() + QLatin1Char('\n') + f.errorString());
}

} // namespace

QtTextFiles::QtTextFiles() = default;

QtTextFiles::~QtTextFiles()
{
    discardAll();
}

int QtTextFiles::freeFile()
{
    int number = 1;
    while (mOpen.count(number))
        ++number;
    return number;
}

void QtTextFiles::openForOutput(int fileNumber, const QString &path)
{
    // Unbuffered: the blocks are gathered here, and a short write must reach
    // this code rather than end in a buffer flush without a reason.
    auto f = std::make_unique<QSaveFile>(path);
    if (!f->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(*f);
    mOpen[fileNumber] = {std::move(f), QByteArray()};
}

QtTextFiles::OpenFile &QtTextFiles::open(int fileNumber)
{
    const auto it = mOpen.find(fileNumber);
    if (it == mOpen.end())
        throw LirabelError(QStringLiteral("Datei %1 ist nicht geöffnet").arg(fileNumber));
    return it->second;
}

void QtTextFiles::writePending(OpenFile &open)
{
    const char *data = open.pending.constData();
    qsizetype left = open.pending.size();
    while (left > 0) {
        const qint64 written = open.file->write(data, left);
        if (written <= 0)
            fail(*open.file);
        data += written;
        left -= qsizetype(written);
    }
    open.pending.clear();
}

void QtTextFiles::writeLine(int fileNumber, const QString &text)
{
    OpenFile &f = open(fileNumber);
    f.pending.append(text.toUtf8());
    f.pending.append("\r\n", 2);
    if (f.pending.size() >= BlockSize)
        writePending(f);
}

void QtTextFiles::closeAll()
{
    auto files = std::move(mOpen);
    mOpen.clear();
    for (auto &[number, f] : files) {
        writePending(f);
        if (!f.file->commit())
            fail(*f.file);
    }
}

void QtTextFiles::discardAll()
{
    for (auto &[number, f] : mOpen)
        f.file->cancelWriting();
    mOpen.clear();
}

} // namespace Lirabel
