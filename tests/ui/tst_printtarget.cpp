// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/listingrun.h"
#include "pdfreader.h"
#include "standins.h"
#include "ui/printsettingsdialog.h"
#include "ui/qtprinter.h"
#include "widgetsupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Lirabel;

namespace {

struct Options
{
    bool endungen = false;
    bool nummer = false;
    bool zeilen = false;
    QString zeile = QStringLiteral("0");
};

// The main window has hidden itself and shown the print settings dialog;
// the user sets the options and presses "&Weiter".
class PrintRun
{
public:
    PrintRun(const EntrySource &entries, const Options &options)
        : dialog(new PrintSettingsDialog(mainWindow, entries))
    {
        dialog->showWindow();
        dialog->findChild<QCheckBox *>(QStringLiteral("chk_endungen"))->setChecked(options.endungen);
        dialog->findChild<QCheckBox *>(QStringLiteral("chk_nummer"))->setChecked(options.nummer);
        dialog->findChild<QCheckBox *>(QStringLiteral("chk_zeilen"))->setChecked(options.zeilen);
        dialog->findChild<QLineEdit *>(QStringLiteral("txt_zeile"))->setText(options.zeile);
    }
    ~PrintRun() { delete dialog; }

    void pressWeiter()
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmd_weiter")), Qt::LeftButton);
    }

    // The dialog was unloaded: its object is gone once the event loop ran.
    [[nodiscard]] bool dialogUnloaded()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }

    StandInWindow mainWindow;
    QPointer<PrintSettingsDialog> dialog;
};

const FontChoice SerifTwelve{QStringLiteral("Liberation Serif"), 12};

} // namespace

class TestPrintTarget : public QObject
{
    Q_OBJECT

private slots:
    void printsTheListing_data();
    void printsTheListing();
    void cancelLeavesNoTrace_data();
    void cancelLeavesNoTrace();
    void emptyListStillEndsTheDocument();
    void nextPrintStartsFromInitialValues();
    void entryLimit_data();
    void entryLimit();
    void printerFailingMidRunDropsTheJob();
    void spacingTextNoNumberRefusedBeforeAnyDialog();
    void realPrinterWritesTheListing();
    void realPrinterThatCannotStart();
};

void TestPrintTarget::printsTheListing_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("endungen");
    QTest::addColumn<bool>("nummer");
    QTest::addColumn<QString>("zeile"); // empty: "Leerzeile alle" unchecked
    QTest::addColumn<QStringList>("printed");

    const QStringList three{"Brief.doc", "Foto.jpg", "Lied.mp3"};
    QTest::newRow("no options") << three << false << false << QString() << three;
    QTest::newRow("without extensions") << three << true << false << QString() << QStringList{"Brief", "Foto", "Lied"};
    QTest::newRow("numbered, blank after every 2nd")
        << three << false << true << "2" << QStringList{"001.) Brief.doc", "002.) Foto.jpg", "", "003.) Lied.mp3"};
    QTest::newRow("all options, spacing 1")
        << three << true << true << " 1 " << QStringList{"001.) Brief", "", "002.) Foto", "", "003.) Lied", ""};
    QTest::newRow("spacing 0 is no blank lines") << three << false << false << "0" << three;
}

void TestPrintTarget::printsTheListing()
{
    QFETCH(QStringList, entries);
    QFETCH(bool, endungen);
    QFETCH(bool, nummer);
    QFETCH(QString, zeile);
    QFETCH(QStringList, printed);

    StandInPlatform stand;
    stand.dialogs.fontAnswers.enqueue(SerifTwelve);
    stand.dialogs.printerAnswers.enqueue(true);
    ListSource source(entries);
    PrintRun run(source, {endungen, nummer, !zeile.isEmpty(), zeile.isEmpty() ? QStringLiteral("0") : zeile});
    run.pressWeiter();

    QCOMPARE(stand.printer.ended, QList<QStringList>{printed});
    QCOMPARE(stand.printer.aborted, 0);
    QCOMPARE(stand.printer.fontName(), SerifTwelve.name);
    QCOMPARE(stand.printer.fontSize(), SerifTwelve.size);

    // The font dialog on Times New Roman 6, limited to 6..14, then the printer dialog.
    QCOMPARE(stand.dialogs.fontRequests.size(), 1);
    const auto font = stand.dialogs.fontRequests.first();
    QCOMPARE(font.name, QStringLiteral("Times New Roman"));
    QCOMPARE(font.size, 6.0f);
    QCOMPARE(font.flags, 8195);
    QCOMPARE(font.minSize, 6);
    QCOMPARE(font.maxSize, 14);
    QCOMPARE(stand.dialogs.printerRequests, QList<int>{524296});

    QVERIFY(stand.messageBox.shown.isEmpty());
    QVERIFY(run.mainWindow.visible);
    QVERIFY(run.dialogUnloaded());
}

void TestPrintTarget::cancelLeavesNoTrace_data()
{
    QTest::addColumn<bool>("fontConfirmed");
    QTest::addColumn<int>("printerDialogs");
    QTest::newRow("Cancel in the font dialog") << false << 0;
    QTest::newRow("Cancel in the printer dialog") << true << 1;
}

void TestPrintTarget::cancelLeavesNoTrace()
{
    QFETCH(bool, fontConfirmed);
    QFETCH(int, printerDialogs);

    StandInPlatform stand;
    stand.printer.setFontName(QStringLiteral("Liberation Mono"));
    stand.printer.setFontSize(9);
    if (fontConfirmed)
        stand.dialogs.fontAnswers.enqueue(SerifTwelve);
    ListSource source({QStringLiteral("a.txt")});
    PrintRun run(source, {});
    run.pressWeiter();

    QCOMPARE(stand.dialogs.printerRequests.size(), printerDialogs);
    QVERIFY(stand.printer.ended.isEmpty());
    QVERIFY(stand.printer.lines.isEmpty());
    QCOMPARE(stand.printer.aborted, 0);
    QCOMPARE(stand.printer.fontName(), QStringLiteral("Liberation Mono"));
    QCOMPARE(stand.printer.fontSize(), 9.0f);
    QVERIFY(stand.messageBox.shown.isEmpty());
    QCOMPARE(stand.program.endRequests, 0);
    QVERIFY(run.mainWindow.visible);
    QVERIFY(run.dialogUnloaded());
}

void TestPrintTarget::emptyListStillEndsTheDocument()
{
    StandInPlatform stand;
    stand.dialogs.fontAnswers.enqueue(SerifTwelve);
    stand.dialogs.printerAnswers.enqueue(true);
    ListSource source({});
    PrintRun run(source, {true, true, true, QStringLiteral("1")});
    run.pressWeiter();

    QCOMPARE(stand.printer.ended, QList<QStringList>{QStringList()});
    QVERIFY(stand.messageBox.shown.isEmpty());
    QVERIFY(run.mainWindow.visible);
    QVERIFY(run.dialogUnloaded());
}

void TestPrintTarget::nextPrintStartsFromInitialValues()
{
    StandInPlatform stand;
    stand.dialogs.fontAnswers.enqueue(FontChoice{QStringLiteral("Liberation Mono"), 14});
    stand.dialogs.fontAnswers.enqueue(SerifTwelve);
    stand.dialogs.printerAnswers.enqueue(true);
    stand.dialogs.printerAnswers.enqueue(true);
    ListSource source({QStringLiteral("Anna.txt"), QStringLiteral("Berta.txt")});
    {
        PrintRun first(source, {true, true, true, QStringLiteral("1")});
        first.pressWeiter();
        QVERIFY(first.dialogUnloaded());
    }
    // The main window's button creates the dialog afresh.
    PrintRun second(source, {});
    QVERIFY(!second.dialog->findChild<QCheckBox *>(QStringLiteral("chk_nummer"))->isChecked());
    second.pressWeiter();

    QCOMPARE(stand.dialogs.fontRequests.size(), 2);
    QCOMPARE(stand.dialogs.fontRequests.at(1).name, QStringLiteral("Times New Roman"));
    QCOMPARE(stand.dialogs.fontRequests.at(1).size, 6.0f);
    QCOMPARE(stand.printer.ended,
             (QList<QStringList>{{"001.) Anna", "", "002.) Berta", ""}, {"Anna.txt", "Berta.txt"}}));
    // The printer keeps the font it was given last.
    QCOMPARE(stand.printer.fontName(), SerifTwelve.name);
}

void TestPrintTarget::entryLimit_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("ends");
    QTest::newRow("9999 entries print") << 9999 << false;
    QTest::newRow("10000 entries end the program") << 10000 << true;
    QTest::newRow("40000 entries end the program") << 40000 << true;
}

void TestPrintTarget::entryLimit()
{
    QFETCH(int, count);
    QFETCH(bool, ends);

    StandInPlatform stand;
    stand.dialogs.fontAnswers.enqueue(SerifTwelve);
    stand.dialogs.printerAnswers.enqueue(true);
    CountingSource source(count);
    PrintRun run(source, {});
    run.pressWeiter();

    if (ends) {
        QCOMPARE(stand.program.endRequests, 1);
        QCOMPARE(stand.messageBox.shown.size(), 1);
        QCOMPARE(stand.messageBox.shown.first().text,
                 QStringLiteral("Mehr als 9999 Files im Verzeichniss nicht möglich"));
        QCOMPARE(stand.messageBox.shown.first().title, QStringLiteral("Zu viele Files !"));
        // The font was set before the check; nothing was printed, and no
        // window came back, since the program is gone.
        QCOMPARE(stand.printer.fontName(), SerifTwelve.name);
        QVERIFY(stand.printer.lines.isEmpty());
        QVERIFY(stand.printer.ended.isEmpty());
        QCOMPARE(stand.printer.aborted, 0);
        QVERIFY(!run.mainWindow.visible);
    } else {
        QCOMPARE(stand.program.endRequests, 0);
        QVERIFY(stand.messageBox.shown.isEmpty());
        QCOMPARE(stand.printer.ended.size(), 1);
        QCOMPARE(stand.printer.ended.first().size(), count);
        QCOMPARE(stand.printer.ended.first().last(), QStringLiteral("f%1.txt").arg(count));
        QVERIFY(run.mainWindow.visible);
        QVERIFY(run.dialogUnloaded());
    }
}

void TestPrintTarget::printerFailingMidRunDropsTheJob()
{
    StandInPlatform stand;
    stand.printer.failAtLine = 2;
    stand.dialogs.fontAnswers.enqueue(SerifTwelve);
    stand.dialogs.printerAnswers.enqueue(true);
    ListSource source({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    PrintRun run(source, {});
    run.pressWeiter();

    QCOMPARE(stand.printer.aborted, 1);
    QVERIFY(stand.printer.ended.isEmpty());
    QVERIFY(stand.printer.lines.isEmpty());
    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown.first().kind, QStringLiteral("critical"));
    QCOMPARE(stand.messageBox.shown.first().text, QStringLiteral("Drucken nicht möglich !"));
    QCOMPARE(stand.messageBox.shown.first().title, QStringLiteral("Druckfehler"));
    QVERIFY(run.mainWindow.visible);
    QVERIFY(run.dialogUnloaded());
}

void TestPrintTarget::spacingTextNoNumberRefusedBeforeAnyDialog()
{
    StandInPlatform stand;
    stand.dialogs.fontAnswers.enqueue(SerifTwelve);
    stand.dialogs.printerAnswers.enqueue(true);
    ListSource source({QStringLiteral("a")});
    PrintRun run(source, {false, true, true, QStringLiteral("zwei")});
    run.pressWeiter();

    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown.first().text, QStringLiteral("Keine gültige Zahl für die Leerzeilen !"));
    QVERIFY(stand.dialogs.fontRequests.isEmpty());
    QVERIFY(stand.dialogs.printerRequests.isEmpty());
    QVERIFY(stand.printer.ended.isEmpty());
    QVERIFY(!run.dialogUnloaded());
    QVERIFY(run.dialog->isVisible());
    QCOMPARE(run.dialog->findChild<QLineEdit *>(QStringLiteral("txt_zeile"))->text(), QStringLiteral("zwei"));
    QVERIFY(!run.mainWindow.visible);
}

void TestPrintTarget::realPrinterWritesTheListing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdfPath = dir.filePath(QStringLiteral("liste.pdf"));
    StandInPlatform stand;
    PdfPrinter printer(pdfPath);

    stand.dialogs.fontAnswers.enqueue(FontChoice{QStringLiteral("Times New Roman"), 11});
    stand.dialogs.printerAnswers.enqueue(true);
    ListSource source({QStringLiteral("Brief an Oma.doc"), QStringLiteral("Grüße.txt"), QStringLiteral("Lied.mp3"),
                       QStringLiteral("Zeugnis.pdf"), QStringLiteral("README")});
    PrintRun run(source, {true, true, true, QStringLiteral("2")});
    run.pressWeiter();

    QVERIFY(stand.messageBox.shown.isEmpty());
    const PdfDocument pdf = readPdf(pdfPath);
    QVERIFY2(pdf.readable, qPrintable(pdf.error));
    QCOMPARE(pdf.textWithBlankLines(),
             (QStringList{"001.) Brief an Oma", "002.) Grüße", "", "003.) Lied", "004.) Zeugnis", "", "005.) README"}));
    QCOMPARE(pdf.fonts, QStringList{QStringLiteral("LiberationSerif")});
    QVERIFY(run.mainWindow.visible);
}

void TestPrintTarget::realPrinterThatCannotStart()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    StandInPlatform stand;
    PdfPrinter printer(dir.filePath(QStringLiteral("fehlt/liste.pdf")));

    stand.dialogs.fontAnswers.enqueue(SerifTwelve);
    stand.dialogs.printerAnswers.enqueue(true);
    ListSource source({QStringLiteral("a.txt")});
    PrintRun run(source, {});
    run.pressWeiter();

    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown.first().text, QStringLiteral("Drucken nicht möglich !"));
    QVERIFY(!printer.documentStarted());
    QVERIFY(QDir(dir.path()).isEmpty());
    QVERIFY(run.mainWindow.visible);
    QVERIFY(run.dialogUnloaded());
}

QTEST_MAIN(TestPrintTarget)
#include "tst_printtarget.moc"
