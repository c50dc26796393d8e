// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "standins.h"

#include "core/lirabelerror.h"
#include "fs/folderscan.h"

#include <QDir>

namespace Lirabel {

int StandInMessageBox::critical(const QString &text, const QString &title)
{
    shown.append({QStringLiteral("critical"), text, title});
    if (whileOpen)
        whileOpen();
    return ButtonOk;
}

bool StandInMessageBox::question(const QString &text, const QString &title)
{
    shown.append({QStringLiteral("question"), text, title});
    if (whileOpen)
        whileOpen();
    return questionAnswers.isEmpty() ? true : questionAnswers.dequeue();
}

bool StandInVolumes::isReadable(const QString &path) const
{
    const QString clean = QDir::cleanPath(path);
    for (const QString &blocked : notReady) {
        const QString b = QDir::cleanPath(blocked);
        if (clean == b || clean.startsWith(b.endsWith(QLatin1Char('/')) ? b : b + QLatin1Char('/')))
            return false;
    }
    return isListableFolder(path);
}

std::optional<QString> StandInDialogs::saveFileName(const QString &initialFolder, const QString &fileName,
                                                    int maxLength)
{
    saveRequests.append({initialFolder, fileName, maxLength});
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.dequeue();
}

std::optional<FontChoice> StandInDialogs::chooseFont(const QString &name, float size, int flags, int minSize,
                                                     int maxSize)
{
    fontRequests.append({name, size, flags, minSize, maxSize});
    return fontAnswers.isEmpty() ? std::nullopt : fontAnswers.dequeue();
}

bool StandInDialogs::choosePrinter(int flags)
{
    printerRequests.append(flags);
    return printerAnswers.isEmpty() ? false : printerAnswers.dequeue();
}

void StandInPrinter::printLine(const QString &text)
{
    if (failAtLine >= 0 && lines.size() >= failAtLine)
        throw LirabelError(QStringLiteral("Drucker antwortet nicht"));
    lines.append(text);
}

void StandInPrinter::endDoc()
{
    ended.append(lines);
    lines.clear();
}

void StandInPrinter::abortDoc()
{
    ++aborted;
    lines.clear();
}

StandInPlatform::StandInPlatform()
    : mPrevious(platform())
{
    installPlatform({&messageBox, &program, &volumes, &dialogs, &printer, &textFiles});
}

StandInPlatform::~StandInPlatform()
{
    installPlatform(mPrevious);
}

} // namespace Lirabel
