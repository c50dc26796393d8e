// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "cli/clipboardlist.h"

#include "lists/listcommand.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace Lirabel {

namespace {

void say(const QString &text)
{
    std::fputs(QStringLiteral("lirabel: %1\n").arg(text).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

QString wlCopy()
{
    return QStandardPaths::findExecutable(QStringLiteral("wl-copy"));
}

} // namespace

ClipboardSession clipboardSession()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !wlCopy().isEmpty())
        return ClipboardSession::Wayland;
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        return ClipboardSession::X11;
    return ClipboardSession::None;
}

int noClipboard()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        say(QStringLiteral("Keine Zwischenablage ! wl-copy fehlt (Paket wl-clipboard)."));
    else
        say(QStringLiteral("Keine Zwischenablage !"));
    return 1;
}

QByteArray clipboardText(const QByteArray &list, ListFormat format)
{
    return format == ListFormat::Csv && list.startsWith("\xef\xbb\xbf") ? list.mid(3) : list;
}

int copyListWithWlCopy(const ListRequest &request)
{
    StandardErrorReport report;
    ListInMemory memory;
    const int status = runListCommand(request, report, memory);
    if (!memory.written)
        return status;
    // wl-copy stays in the background as the selection's owner: it must not
    // hold the caller's output open, or a caller reading it would wait.
    QProcess copy;
    copy.setStandardOutputFile(QProcess::nullDevice());
    copy.start(wlCopy(), {QStringLiteral("--type"), QStringLiteral("text/plain;charset=utf-8")});
    if (copy.waitForStarted()) {
        copy.write(clipboardText(memory.list, request.format));
        copy.closeWriteChannel();
    }
    if (!copy.waitForFinished(-1) || copy.exitStatus() != QProcess::NormalExit || copy.exitCode() != 0) {
        const QString why = QString::fromLocal8Bit(copy.readAllStandardError()).trimmed();
        say(QStringLiteral("Keine Zwischenablage ! wl-copy: %1").arg(why.isEmpty() ? copy.errorString() : why));
        return 1;
    }
    return status;
}

} // namespace Lirabel
