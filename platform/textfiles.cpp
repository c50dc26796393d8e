#include "platform/textfiles.h"

#include "platform/lirabelerror.h"

namespace Lirabel {

namespace {

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
    auto f = std::make_unique<QSaveFile>(path);
    if (!f->open(QIODevice::WriteOnly))
        fail(*f);
    mOpen[fileNumber] = std::move(f);
}

QSaveFile &QtTextFiles::file(int fileNumber)
{
    const auto it = mOpen.find(fileNumber);
    if (it == mOpen.end())
        throw LirabelError(QStringLiteral("Datei %1 ist nicht geöffnet").arg(fileNumber));
    return *it->second;
}

void QtTextFiles::writeLine(int fileNumber, const QString &text)
{
    QSaveFile &f = file(fileNumber);
    QByteArray bytes = text.toUtf8();
    bytes.append("\r\n", 2);
    if (f.write(bytes) != bytes.size())
        fail(f);
}

void QtTextFiles::closeAll()
{
    auto open = std::move(mOpen);
    mOpen.clear();
    for (auto &[number, f] : open) {
        if (!f->commit())
            fail(*f);
    }
}

void QtTextFiles::discardAll()
{
    for (auto &[number, f] : mOpen)
        f->cancelWriting();
    mOpen.clear();
}

} // namespace Lirabel
