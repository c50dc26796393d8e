// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/qttextfiles.h"

#include "core/lirabelerror.h"
#include "core/systemreason.h"
#include "fs/outputfile.h"

#include <QFile>

namespace Lirabel {

namespace {

constexpr qsizetype BlockSize = 64 * 1024;

[[noreturn]] void fail(const QString &path, const OutputFile &f)
{
    throw LirabelError(path + QLatin1Char('\n') + f.reason());
}

class AtomicTextFile : public TextFileWriter
{
public:
    AtomicTextFile(std::unique_ptr<OutputFile> file, QString path)
        : mFile(std::move(file))
        , mPath(std::move(path))
    {
    }
    ~AtomicTextFile() override { discard(); }

    void writeLine(const QString &text) override
    {
        if (!mFile)
            throw LirabelError(QStringLiteral("Datei %1 ist nicht geöffnet").arg(mPath));
        mPending.append(text.toUtf8());
        mPending.append("\r\n", 2);
        if (mPending.size() >= BlockSize)
            writePending(*mFile);
    }

    void close() override
    {
        if (!mFile)
            return;
        const std::unique_ptr<OutputFile> file = std::move(mFile);
        writePending(*file);
        if (!file->commit())
            fail(mPath, *file);
    }

    void discard() override
    {
        if (const std::unique_ptr<OutputFile> file = std::move(mFile))
            file->cancel();
    }

private:
    void writePending(OutputFile &file)
    {
        if (!file.write(mPending.constData(), mPending.size()))
            fail(mPath, file);
        mPending.clear();
    }

    std::unique_ptr<OutputFile> mFile; // none once closed or dropped
    QString mPath;
    QByteArray mPending;
};

} // namespace

std::unique_ptr<TextFileWriter> QtTextFiles::openForOutput(const QString &path)
{
    auto file = std::make_unique<OutputFile>(QFile::encodeName(path), false);
    if (!file->open())
        fail(path, *file);
    return std::make_unique<AtomicTextFile>(std::move(file), path);
}

} // namespace Lirabel
