// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"
#include "core/lirabelerror.h"
#include "core/standarddialogs.h"
#include "standins.h"
#include "ui/qtdialogs.h"
#include "ui/qtprinter.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Lirabel;

namespace {

void clickOk(QDialog *dialog)
{
    auto *buttons = dialog->findChild<QDialogButtonBox *>();
    QVERIFY(buttons);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    QVERIFY(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
}

void setSize(QFontDialog *dialog, int points)
{
    QFont font = dialog->currentFont();
    font.setPointSize(points);
    dialog->setCurrentFont(font);
}

constexpr int PrintFlags = StandardDialogs::PrinterNoPageNumbers | StandardDialogs::PrinterDisablePrintToFile;
constexpr int FontFlags = StandardDialogs::FontLimitSize | StandardDialogs::FontScreenAndPrinter;

} // namespace

class TestQtDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fontDialogOpensOnTheResolvedFamily();
    void fontDialogKeepsSizesInLimits_data();
    void fontDialogKeepsSizesInLimits();
    void fontDialogWithoutLimits();
    void printDialogOnTheProgramsPrinter_data();
    void printDialogOnTheProgramsPrinter();
    void printDialogWithoutPrinterRaises();
    void noPrintServiceSaysSo();
};

void TestQtDialogs::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void TestQtDialogs::fontDialogOpensOnTheResolvedFamily()
{
    QtDialogs dialogs;
    QObject scope;
    QString family;
    qreal size = 0;
    QString title;
    int visibleEffects = -1;
    bool sampleShown = false;
    whenModal<QFontDialog>(&scope, [&](QFontDialog *dialog) {
        family = dialog->currentFont().family();
        size = dialog->currentFont().pointSizeF();
        title = dialog->windowTitle();
        visibleEffects = 0;
        for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
            visibleEffects += box->isVisibleTo(dialog) ? 1 : 0;
        const auto *sample = dialog->findChild<QLineEdit *>(QStringLiteral("qt_fontDialog_sampleEdit"));
        sampleShown = sample && !sample->text().isEmpty() && sample->font().family() == family
            && sample->contentsRect().height() >= QFontMetrics(sample->font()).height();
        dialog->reject();
    });
    const auto chosen = dialogs.chooseFont(QStringLiteral("Times New Roman"), 6, FontFlags, 6, 14);

    QVERIFY(!chosen);
    QCOMPARE(family, QStringLiteral("Liberation Serif"));
    QCOMPARE(size, 6.0);
    QCOMPARE(title, QStringLiteral("Schriftart auswählen"));
    QCOMPARE(visibleEffects, 0);
    QVERIFY2(sampleShown, "the sample shows no text in the chosen family");
}

void TestQtDialogs::fontDialogKeepsSizesInLimits_data()
{
    QTest::addColumn<int>("tried");
    QTest::addColumn<bool>("refused");
    QTest::newRow("20 refused") << 20 << true;
    QTest::newRow("5 refused") << 5 << true;
    QTest::newRow("16 refused") << 16 << true;
    QTest::newRow("6 taken") << 6 << false;
    QTest::newRow("14 taken") << 14 << false;
}

void TestQtDialogs::fontDialogKeepsSizesInLimits()
{
    QFETCH(int, tried);
    QFETCH(bool, refused);

    QtDialogs dialogs;
    QObject scope;
    QString message;
    QString messageTitle;
    bool stayedOpen = false;
    whenModal<QFontDialog>(&scope, [&](QFontDialog *dialog) {
        whenModal<QMessageBox>(&scope, [&](QMessageBox *box) {
            message = box->text();
            messageTitle = box->windowTitle();
            box->accept();
        });
        setSize(dialog, tried);
        clickOk(dialog);
        stayedOpen = dialog->isVisible();
        if (stayedOpen) {
            setSize(dialog, 10);
            clickOk(dialog);
        }
    });
    const auto chosen = dialogs.chooseFont(QStringLiteral("Times New Roman"), 6, FontFlags, 6, 14);

    QVERIFY(chosen);
    QCOMPARE(chosen->name, QStringLiteral("Liberation Serif"));
    QCOMPARE(stayedOpen, refused);
    if (refused) {
        QCOMPARE(message, QStringLiteral("Bitte eine Schriftgröße von 6 bis 14 Punkt wählen !"));
        QCOMPARE(messageTitle, QStringLiteral("Eingabefehler"));
        QCOMPARE(chosen->size, 10.0f);
    } else {
        QVERIFY(message.isEmpty());
        QCOMPARE(chosen->size, float(tried));
    }
}

void TestQtDialogs::fontDialogWithoutLimits()
{
    QtDialogs dialogs;
    QObject scope;
    whenModal<QFontDialog>(&scope, [&](QFontDialog *dialog) {
        setSize(dialog, 20);
        clickOk(dialog);
    });
    const auto chosen =
        dialogs.chooseFont(QStringLiteral("Liberation Mono"), 9, StandardDialogs::FontScreenAndPrinter, 6, 14);
    QVERIFY(chosen);
    QCOMPARE(chosen->name, QStringLiteral("Liberation Mono"));
    QCOMPARE(chosen->size, 20.0f);
}

void TestQtDialogs::printDialogOnTheProgramsPrinter_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("confirmed") << true;
    QTest::newRow("cancelled") << false;
}

void TestQtDialogs::printDialogOnTheProgramsPrinter()
{
    QFETCH(bool, confirm);
    QtPrinter printer;
    QTemporaryDir folder;
    if (QPrinterInfo::availablePrinterNames().isEmpty()) // a PDF file stands in for a queue
        printer.printer().setOutputFileName(folder.filePath("liste.pdf"));
    QtDialogs dialogs;
    dialogs.setPrinter(&printer);
    QObject scope;
    QPrinter *shownPrinter = nullptr;
    bool pageRange = true;
    bool toFile = true;
    QString title;
    whenModal<QPrintDialog>(&scope, [&](QPrintDialog *dialog) {
        shownPrinter = dialog->printer();
        title = dialog->windowTitle();
        pageRange = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
        toFile = dialog->testOption(QAbstractPrintDialog::PrintToFile);
        if (confirm)
            dialog->accept();
        else
            dialog->reject();
    });

    QCOMPARE(dialogs.choosePrinter(PrintFlags), confirm);
    QCOMPARE(shownPrinter, &printer.printer());
    QCOMPARE(title, QStringLiteral("Drucken"));
    QVERIFY(!pageRange);
    QVERIFY(!toFile);
}

void TestQtDialogs::printDialogWithoutPrinterRaises()
{
    QtDialogs dialogs;
    QVERIFY_THROWS_EXCEPTION(LirabelError, (void)dialogs.choosePrinter(PrintFlags));
}

// No print service: the message, and no printer dialog that offers a printer
// without a name.
void TestQtDialogs::noPrintServiceSaysSo()
{
    QtPrinter printer;
    if (printer.printer().outputFormat() != QPrinter::PdfFormat)
        QSKIP("a print service runs here");
    StandInPlatform stand;
    QtDialogs dialogs;
    dialogs.setPrinter(&printer);
    QObject scope;
    bool dialogShown = false;
    whenModal<QPrintDialog>(&scope, [&](QPrintDialog *dialog) {
        dialogShown = true;
        dialog->reject();
    });
    QVERIFY(!dialogs.choosePrinter(PrintFlags));
    QVERIFY(!dialogShown);
    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown.first().text, QStringLiteral("Kein Drucker eingerichtet !"));
    QCOMPARE(stand.messageBox.shown.first().title, QStringLiteral("Druckfehler"));
}

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
