// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/textfiles.h"

#include "core/lirabelerror.h"
#include "core/systemreason.h"

#include <QFile>

namespace Lirabel {

namespace {

constexpr qsizetype BlockSize = 64 * 1024;

[[noreturn]] void fail(const QString &path, const OutputFile &f)
{
    throw LirabelError(path + QLatin1Char('\n') + f.reason());
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
    auto f = std::make_unique<OutputFile>(QFile::encodeName(path), false);
    if (!f->open())
        fail(path, *f);
    mOpen[fileNumber] = {std::move(f), path, QByteArray()};
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
    if (!open.file->write(open.pending.constData(), open.pending.size()))
        fail(open.path, *open.file);
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
            fail(f.path, *f.file);
    }
}

void QtTextFiles::discardAll()
{
    for (auto &[number, f] : mOpen)
        f.file->cancel();
    mOpen.clear();
}

} // namespace Lirabel
