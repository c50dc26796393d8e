// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/listprint.h"

#include "app/applicationsetup.h"
#include "app/listsave.h"
#include "core/platform.h"
#include "core/standarddialogs.h"
#include "paper/papercommand.h"
#include "ui/qtplatform.h"

#include <QApplication>
#include <QPrinter>

#include <cstdio>
#include <utility>

namespace Lirabel {

namespace {

// The messages, in one box once the list is printed.
class PrintReport : public ListReport
{
public:
    void leftOut(const QString &message) override { mMessages.append(message); }
    void notWritten(const QString &message) override { mMessages.append(message); }
    void show() const
    {
        if (!mMessages.isEmpty())
            platform().messageBox->critical(mMessages.mid(0, 15).join(QLatin1Char('\n')),
                                            QStringLiteral("Druckfehler"));
    }

private:
    QStringList mMessages;
};

} // namespace

int printListWithDialogs(ListRequest request, int &argc, char **argv)
{
    if (!hasDisplay(argc, argv)) {
        std::fputs("lirabel: --druckdialog braucht eine Anzeige für die Dialoge; DISPLAY und WAYLAND_DISPLAY sind "
                   "leer.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    setUpApplication(app);
    QtPlatform services;
    return leaveProgram(printListAsked(std::move(request), services.printer.printer()));
}

int printListAsked(ListRequest request, QPrinter &printer)
{
    // The print dialog says "Kein Drucker eingerichtet !" itself where there
    // is no print service; the font is asked first, as the window does.
    const std::optional<FontChoice> font = platform().dialogs->chooseFont(
        request.paper.fontFamily, float(request.paper.fontPoints), StandardDialogs::FontLimitSize, 6, 14);
    if (!font)
        return 1;
    request.paper.fontFamily = font->name;
    request.paper.fontPoints = qreal(font->size);
    if (!platform().dialogs->choosePrinter(StandardDialogs::PrinterNoPageNumbers
                                           | StandardDialogs::PrinterDisablePrintToFile))
        return 1;
    PrintReport report;
    const int exitCode = runListCommand(request, report, paperWriters(&printer));
    report.show();
    return exitCode;
}

} // namespace Lirabel
