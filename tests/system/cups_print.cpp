// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Prints a small listing through the program's real print path to the CUPS
// queue named on the command line: "&Weiter" in the print settings dialog,
// Qt's font dialog (Times New Roman, 10 points), Qt's print dialog with the
// queue chosen in its printer list, the one QtPrinter. cups_print_test.sh
// reads back the PDF that the queue produces.
//
// Exit codes: 0 printed, 1 failed, 77 the queue is not usable from here.

#include "app/applicationsetup.h"
#include "core/listingrun.h"
#include "standins.h"
#include "ui/printsettingsdialog.h"
#include "ui/qtdialogs.h"
#include "ui/qtprinter.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace Lirabel;

namespace {

int failed(const QString &why)
{
    std::fprintf(stderr, "%s\n", qPrintable(why));
    return 1;
}

void clickOk(QDialog *dialog)
{
    if (auto *buttons = dialog->findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok)) {
            QTest::mouseClick(ok, Qt::LeftButton);
            return;
        }
    }
    dialog->accept();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    if (argc < 2)
        return failed(QStringLiteral("usage: cups_print QUEUE"));
    const QString queue = QString::fromLocal8Bit(argv[1]);

    StandInPlatform stand;
    QtPrinter printer;
    QtDialogs dialogs;
    dialogs.setPrinter(&printer);
    Platform services = platform();
    services.printer = &printer;
    services.dialogs = &dialogs;
    installPlatform(services);

    // Without a print server Qt quietly makes every printer a PDF writer.
    if (printer.printer().outputFormat() != QPrinter::NativeFormat) {
        std::fprintf(stderr, "Qt reaches no print server\n");
        return 77;
    }
    if (!QPrinterInfo::availablePrinterNames().contains(queue))
        return failed(QStringLiteral("Qt does not list the queue %1: %2")
                          .arg(queue, QPrinterInfo::availablePrinterNames().join(QLatin1Char(' '))));

    QObject scope;
    QString fontFamily;
    QString chosenInDialog;
    whenModal<QFontDialog>(&scope, [&](QFontDialog *dialog) {
        QFont font = dialog->currentFont();
        fontFamily = font.family();
        font.setPointSize(10);
        dialog->setCurrentFont(font);
        clickOk(dialog);
    });
    whenModal<QPrintDialog>(&scope, [&](QPrintDialog *dialog) {
        if (auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"))) {
            printers->setCurrentIndex(printers->findText(queue));
            chosenInDialog = printers->currentText();
        }
        clickOk(dialog);
    });

    ListSource entries({QStringLiteral("Brief an Oma.doc"), QStringLiteral("Grüße aus Köln.odt"),
                        QStringLiteral("Lied.mp3"), QStringLiteral("Zeugnis 2024.pdf"), QStringLiteral("README")});
    StandInWindow mainWindow;
    auto *options = new PrintSettingsDialog(mainWindow, entries);
    options->showWindow();
    options->findChild<QCheckBox *>(QStringLiteral("chk_endungen"))->setChecked(true);
    options->findChild<QCheckBox *>(QStringLiteral("chk_nummer"))->setChecked(true);
    options->findChild<QCheckBox *>(QStringLiteral("chk_zeilen"))->setChecked(true);
    options->findChild<QLineEdit *>(QStringLiteral("txt_zeile"))->setText(QStringLiteral("2"));
    QTest::mouseClick(options->findChild<QPushButton *>(QStringLiteral("cmd_weiter")), Qt::LeftButton);

    if (!stand.messageBox.shown.isEmpty())
        return failed(QStringLiteral("message box: %1").arg(stand.messageBox.shown.first().text));
    if (!mainWindow.visible)
        return failed(QStringLiteral("main window not shown again"));
    if (chosenInDialog != queue)
        return failed(QStringLiteral("the print dialog offered no queue %1").arg(queue));
    if (printer.printer().printerName() != queue || printer.printer().outputFormat() != QPrinter::NativeFormat)
        return failed(QStringLiteral("the job went to %1 instead of %2").arg(printer.printer().printerName(), queue));
    std::printf("font dialog opened on %s; printed to %s at %s %g pt\n", qPrintable(fontFamily), qPrintable(queue),
                qPrintable(printer.fontName()), double(printer.fontSize()));
    return 0;
}
