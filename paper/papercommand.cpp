// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "paper/papercommand.h"

#include "core/lirabelerror.h"
#include "fs/deadlinecall.h"
#include "paper/paperlist.h"

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>

namespace Lirabel {

namespace {

void say(const QString &text)
{
    const QByteArray bytes = QStringLiteral("lirabel: %1\n").arg(text).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// Qt's own warnings (no XDG_RUNTIME_DIR, a platform theme that cannot
// load, ...) are English and about Qt, not about the list.
void keepQuiet(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    Q_UNUSED(type)
    Q_UNUSED(context)
    Q_UNUSED(message)
}

} // namespace

std::unique_ptr<QPrinter> printerForQueue(const QString &queue)
{
    const QPrinterInfo info = queue.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(queue);
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // Without a print service Qt quietly makes the printer a PDF writer.
    if (printer->outputFormat() != QPrinter::NativeFormat || !printer->isValid())
        return nullptr;
    return printer;
}

PaperWriterMaker paperWriters(QPrinter *printer)
{
    return [printer](const ListRequest &request, const QStringList &shownFolders,
                     ListSink &sink) -> std::unique_ptr<ListWriter> {
        if (!request.paper.printer)
            return std::make_unique<PaperList>(request, shownFolders, sink);
        if (!printer)
            throw LirabelError(QStringLiteral("Kein Drucker eingerichtet !"));
        return std::make_unique<PaperList>(request, shownFolders, *printer);
    };
}

int writeListOnPaper(const ListRequest &request, int &argc, char **argv)
{
    // Nothing is shown: the offscreen platform draws with the system's fonts
    // (fontconfig) wherever the program runs, with a display or without.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepQuiet);
    QGuiApplication app(argc, argv);

    if (request.paper.fontChosen) {
        const QString found = QFontInfo(QFont(request.paper.fontFamily)).family();
        if (found.compare(request.paper.fontFamily, Qt::CaseInsensitive) != 0)
            say(QStringLiteral("Die Schrift „%1“ gibt es nicht; gedruckt wird in „%2“.")
                    .arg(request.paper.fontFamily, found));
    }
    std::unique_ptr<QPrinter> printer;
    if (request.paper.printer) {
        printer = printerForQueue(*request.paper.printer);
        if (!printer) {
            say(QStringLiteral("Kein Drucker eingerichtet !"));
            return leaveWithoutWindow(1);
        }
    }
    StandardErrorReport report;
    return leaveWithoutWindow(runListCommand(request, report, paperWriters(printer.get())));
}

} // namespace Lirabel
