// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/clipboardholder.h"

#include "cli/clipboardlist.h"
#include "fs/backgroundprocess.h"
#include "fs/deadlinecall.h"
#include "lists/listcommand.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace Lirabel {

namespace {

// Plain text always; a table also as CSV and HTML, so that a spreadsheet or
// a word processor pastes cells; a web page also as HTML.
QMimeData *clipboardData(const ListInMemory &memory, ListFormat format)
{
    auto *data = new QMimeData;
    const QByteArray text = clipboardText(memory.list, format);
    data->setText(QString::fromUtf8(text));
    if (format == ListFormat::Csv) {
        data->setData(QStringLiteral("text/csv"), text);
        data->setHtml(QString::fromUtf8(memory.htmlTable));
    } else if (format == ListFormat::Html) {
        data->setHtml(QString::fromUtf8(text));
    }
    return data;
}

} // namespace

int holdListInClipboard(const ListRequest &request, int &argc, char **argv)
{
    switch (clipboardSession()) {
    case ClipboardSession::None:
        return noClipboard();
    case ClipboardSession::Wayland:
        return leaveWithoutWindow(copyListWithWlCopy(request));
    case ClipboardSession::X11:
        break;
    }
    BackgroundProcess background("lirabel: Keine Zwischenablage !\n");
    StandardErrorReport report;
    ListInMemory memory;
    const int status = runListCommand(request, report, memory);
    if (!memory.written) {
        background.ready(status);
        return leaveWithoutWindow(status);
    }
    // From here on the caller hears of a failure as "Keine Zwischenablage !",
    // not of Qt's own messages. The X clipboard, whatever platform the
    // environment names.
    background.detach();
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(clipboardData(memory, request.format), QClipboard::Clipboard);
    memory = {};
    if (!clipboard->ownsClipboard())
        return 1;
    QObject::connect(clipboard, &QClipboard::changed, &app, [clipboard](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
            QCoreApplication::quit();
    });
    background.ready(status);
    return leaveWithoutWindow(QGuiApplication::exec());
}

} // namespace Lirabel
