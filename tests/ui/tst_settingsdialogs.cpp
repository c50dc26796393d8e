// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"
#include "standins.h"
#include "ui/printsettingsdialog.h"
#include "ui/savesettingsdialog.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTest>

#include <memory>

using namespace Lirabel;

namespace {

enum class Kind { Print, Save };

SettingsDialog *openDialog(Kind kind, StandInWindow &main, const EntrySource &entries)
{
    if (kind == Kind::Print)
        return openSettings<PrintSettingsDialog>(main, entries);
    return openSettings<SaveSettingsDialog>(main, entries);
}

QString shownText(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestSettingsDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void controls_data();
    void controls();
    void window_data();
    void window();
    void captionsFit_data();
    void captionsFit();
    void initialValues_data();
    void initialValues();
    void standardDialogProperties();
    void tabOrderAndFirstFocus_data();
    void tabOrderAndFirstFocus();
    void runSettings_data();
    void runSettings();
    void spacingCheck_data();
    void spacingCheck();
    void unloadBringsMainWindowBack_data();
    void unloadBringsMainWindowBack();
};

void TestSettingsDialogs::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void TestSettingsDialogs::controls_data()
{
    // One row a line, laid out by hand.
    // clang-format off
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry"); // pixels: twips / 15

    QTest::newRow("print chk_endungen") << Kind::Print << "chk_endungen" << "Dateiendungen nicht drucken"
                                        << QRect(64, 16, 177, 17);
    QTest::newRow("print chk_nummer") << Kind::Print << "chk_nummer" << "Dateien nummerieren" << QRect(64, 48, 177, 17);
    QTest::newRow("print chk_zeilen") << Kind::Print << "chk_zeilen" << "Leerzeile alle " << QRect(64, 120, 89, 17);
    QTest::newRow("print txt_zeile") << Kind::Print << "txt_zeile" << "0" << QRect(160, 119, 33, 19);
    QTest::newRow("print Label1") << Kind::Print << "Label1" << "Zeilen" << QRect(208, 120, 41, 17);
    QTest::newRow("print cmd_weiter") << Kind::Print << "cmd_weiter" << "&Weiter" << QRect(120, 152, 65, 25);

    QTest::newRow("save chk_endungen") << Kind::Save << "chk_endungen" << "Dateiendungen nicht speichern"
                                       << QRect(72, 16, 177, 17);
    QTest::newRow("save chk_nummer") << Kind::Save << "chk_nummer" << "Dateien nummerieren" << QRect(72, 48, 177, 17);
    QTest::newRow("save chk_zeilen") << Kind::Save << "chk_zeilen" << "Leerzeile alle " << QRect(72, 120, 89, 17);
    QTest::newRow("save txt_zeile") << Kind::Save << "txt_zeile" << "0" << QRect(168, 120, 33, 19);
    QTest::newRow("save Label1") << Kind::Save << "Label1" << "Zeilen" << QRect(216, 120, 41, 17);
    QTest::newRow("save cmd_weiter") << Kind::Save << "cmd_weiter" << "&Weiter" << QRect(112, 168, 89, 33);
    // clang-format on
}

void TestSettingsDialogs::controls()
{
    QFETCH(Kind, kind);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);

    StandInPlatform stand;
    StandInWindow main;
    ListSource entries({});
    std::unique_ptr<SettingsDialog> dialog(openDialog(kind, main, entries));
    auto *widget = dialog->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QVERIFY(widget->isVisible());
    QString shown;
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        shown = button->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        shown = edit->text();
    else if (auto *label = qobject_cast<QLabel *>(widget))
        shown = label->text();
    QCOMPARE(shown, text);
}

void TestSettingsDialogs::window_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("print") << Kind::Print << "PrintOptionen" << QSize(312, 198);
    QTest::newRow("save") << Kind::Save << "SaveOptionen" << QSize(312, 213);
}

void TestSettingsDialogs::window()
{
    QFETCH(Kind, kind);
    QFETCH(QString, name);
    QFETCH(QSize, size);

    StandInPlatform stand;
    StandInWindow main;
    ListSource entries({});
    std::unique_ptr<SettingsDialog> dialog(openDialog(kind, main, entries));
    QCOMPARE(dialog->objectName(), name);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Einstellungen"));
    QCOMPARE(dialog->size(), size);
    QCOMPARE(dialog->minimumSize(), size);
    QCOMPARE(dialog->maximumSize(), size);
    const Qt::WindowFlags flags = dialog->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());

    const QRect screen = dialog->screen()->availableGeometry();
    const QPoint offCentre = dialog->frameGeometry().center() - screen.center();
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void TestSettingsDialogs::captionsFit_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("print") << Kind::Print;
    QTest::newRow("save") << Kind::Save;
}

void TestSettingsDialogs::captionsFit()
{
    QFETCH(Kind, kind);

    StandInPlatform stand;
    StandInWindow main;
    ListSource entries({});
    std::unique_ptr<SettingsDialog> dialog(openDialog(kind, main, entries));
    QCOMPARE(dialog->font().family(), QStringLiteral("Liberation Sans"));

    for (const char *name : {"chk_endungen", "chk_nummer", "chk_zeilen"}) {
        auto *box = child<QCheckBox>(*dialog, name);
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        const int needed = box->fontMetrics().horizontalAdvance(shownText(box->text()).trimmed());
        QVERIFY2(
            needed <= room.width(),
            qPrintable(QStringLiteral("%1: %2 px in %3 px").arg(QLatin1String(name)).arg(needed).arg(room.width())));
        QVERIFY2(box->fontMetrics().height() <= box->height(), name);
    }

    auto *label = child<QLabel>(*dialog, "Label1");
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width());

    auto *button = child<QPushButton>(*dialog, "cmd_weiter");
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    QVERIFY(button->fontMetrics().horizontalAdvance(shownText(button->text())) + 2 * margin <= button->width());

    auto *edit = child<QLineEdit>(*dialog, "txt_zeile");
    QVERIFY(edit->fontMetrics().horizontalAdvance(QStringLiteral("999")) <= edit->contentsRect().width());
}

void TestSettingsDialogs::initialValues_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("print") << Kind::Print;
    QTest::newRow("save") << Kind::Save;
}

void TestSettingsDialogs::initialValues()
{
    QFETCH(Kind, kind);

    StandInPlatform stand;
    StandInWindow main;
    ListSource entries({});
    std::unique_ptr<SettingsDialog> dialog(openDialog(kind, main, entries));
    for (const char *name : {"chk_endungen", "chk_nummer", "chk_zeilen"})
        QCOMPARE(child<QCheckBox>(*dialog, name)->checkState(), Qt::Unchecked);
    QCOMPARE(child<QLineEdit>(*dialog, "txt_zeile")->text(), QStringLiteral("0"));
    QVERIFY(child<QLineEdit>(*dialog, "txt_zeile")->isEnabled());
}

void TestSettingsDialogs::standardDialogProperties()
{
    StandInPlatform stand;
    StandInWindow main;
    ListSource entries({});
    PrintSettingsDialog print(main, entries);
    QCOMPARE(print.standardDialogs().fontName, QStringLiteral("Times New Roman"));
    QCOMPARE(print.standardDialogs().fontSize, 6.0f);
    QCOMPARE(print.standardDialogs().minFontSize, 6);
    QCOMPARE(print.standardDialogs().maxFontSize, 14);

    SaveSettingsDialog save(main, entries);
    QCOMPARE(save.standardDialogs().maxFileNameLength, 260);
    QCOMPARE(save.standardDialogs().flags, 0);
    QCOMPARE(save.standardDialogs().raiseOnCancel, false);
    QVERIFY(save.standardDialogs().fileName.isEmpty());
}

void TestSettingsDialogs::tabOrderAndFirstFocus_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("print: top down") << Kind::Print << QStringList{"chk_endungen", "chk_nummer", "chk_zeilen",
                                                                   "txt_zeile",    "cmd_weiter", "chk_endungen"};
    QTest::newRow("save: bottom up") << Kind::Save << QStringList{"cmd_weiter", "txt_zeile",    "chk_zeilen",
                                                                  "chk_nummer", "chk_endungen", "cmd_weiter"};
}

void TestSettingsDialogs::tabOrderAndFirstFocus()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, order);

    StandInPlatform stand;
    StandInWindow main;
    ListSource entries({});
    std::unique_ptr<SettingsDialog> dialog(openDialog(kind, main, entries));
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));

    QStringList visited;
    for (qsizetype i = 0; i < order.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        visited.append(focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(visited, order);
}

void TestSettingsDialogs::runSettings_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<bool>("number");
    QTest::addColumn<bool>("blank");
    QTest::addColumn<int>("spacing"); // spacingInterval after readSpacing; -1: not called

    QTest::newRow("print, nothing") << Kind::Print << QStringList{} << "7" << false << false << false << -1;
    QTest::newRow("print, endungen") << Kind::Print << QStringList{"chk_endungen"} << "0" << true << false << false
                                     << -1;
    QTest::newRow("print, nummer, zeilen 4")
        << Kind::Print << QStringList{"chk_nummer", "chk_zeilen"} << "4" << false << true << true << 4;
    QTest::newRow("save, all, 2,5") << Kind::Save << QStringList{"chk_endungen", "chk_nummer", "chk_zeilen"} << "2,5"
                                    << true << true << true << 2;
    QTest::newRow("save, zeilen, blanks around 12")
        << Kind::Save << QStringList{"chk_zeilen"} << " 12 " << false << false << true << 12;
    QTest::newRow("save, nummer only") << Kind::Save << QStringList{"chk_nummer"} << "x" << false << true << false
                                       << -1;
}

void TestSettingsDialogs::runSettings()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, checked);
    QFETCH(QString, zeile);
    QFETCH(bool, strip);
    QFETCH(bool, number);
    QFETCH(bool, blank);
    QFETCH(int, spacing);

    StandInPlatform stand;
    StandInWindow main;
    ListSource entries({});
    std::unique_ptr<SettingsDialog> dialog(openDialog(kind, main, entries));
    for (const QString &name : checked)
        QTest::mouseClick(dialog->findChild<QCheckBox *>(name), Qt::LeftButton);
    auto *edit = child<QLineEdit>(*dialog, "txt_zeile");
    edit->selectAll();
    QTest::keyClicks(edit, zeile);
    QCOMPARE(edit->text(), zeile);

    const RunSettings settings = dialog->runSettings();
    QCOMPARE(settings.stripExtensions, strip);
    QCOMPARE(settings.numberEntries, number);
    QCOMPARE(settings.blankLines, blank);
    if (spacing >= 0) {
        RunState run;
        run.spacingInterval = -99;
        QVERIFY(settings.readSpacing);
        settings.readSpacing(run);
        QCOMPARE(run.spacingInterval, spacing);
    }
}

void TestSettingsDialogs::spacingCheck_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("zeilenChecked");
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("print, letters") << Kind::Print << true << "abc" << false;
    QTest::newRow("print, empty") << Kind::Print << true << "" << false;
    QTest::newRow("print, 3") << Kind::Print << true << "3" << true;
    QTest::newRow("save, letters") << Kind::Save << true << "drei" << false;
    QTest::newRow("save, two separators") << Kind::Save << true << "1,2,3" << false;
    QTest::newRow("save, exponent") << Kind::Save << true << "1e3" << false;
    QTest::newRow("save, too large") << Kind::Save << true << "99999999999" << false;
    QTest::newRow("save, negative is no spacing") << Kind::Save << true << "-4" << true;
    QTest::newRow("save, 2,5") << Kind::Save << true << "2,5" << true;
    QTest::newRow("save, letters, unchecked") << Kind::Save << false << "abc" << true;
}

void TestSettingsDialogs::spacingCheck()
{
    QFETCH(Kind, kind);
    QFETCH(bool, zeilenChecked);
    QFETCH(QString, zeile);
    QFETCH(bool, accepted);

    StandInPlatform stand;
    StandInWindow main;
    ListSource entries({});
    std::unique_ptr<SettingsDialog> dialog(openDialog(kind, main, entries));
    if (zeilenChecked)
        QTest::mouseClick(child<QCheckBox>(*dialog, "chk_zeilen"), Qt::LeftButton);
    auto *edit = child<QLineEdit>(*dialog, "txt_zeile");
    edit->setText(zeile);

    QCOMPARE(dialog->spacingTextAccepted(), accepted);
    if (accepted) {
        QVERIFY(stand.messageBox.shown.isEmpty());
        return;
    }
    QCOMPARE(stand.messageBox.shown.size(), 1);
    QCOMPARE(stand.messageBox.shown[0].kind, QStringLiteral("critical"));
    QCOMPARE(stand.messageBox.shown[0].text, QStringLiteral("Keine gültige Zahl für die Leerzeilen !"));
    QCOMPARE(stand.messageBox.shown[0].title, QStringLiteral("Eingabefehler"));
    // The dialog stays as the user left it, the number ready to be corrected.
    QVERIFY(dialog->isVisible());
    QCOMPARE(edit->text(), zeile);
    QCOMPARE(child<QCheckBox>(*dialog, "chk_zeilen")->checkState(), Qt::Checked);
    QCOMPARE(dialog->focusWidget(), edit);
    QVERIFY(!main.visible);
}

void TestSettingsDialogs::unloadBringsMainWindowBack_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("how");
    for (const QString &how : {QStringLiteral("close box"), QStringLiteral("Escape"), QStringLiteral("unload")}) {
        QTest::addRow("print, %s", qPrintable(how)) << Kind::Print << how;
        QTest::addRow("save, %s", qPrintable(how)) << Kind::Save << how;
    }
}

void TestSettingsDialogs::unloadBringsMainWindowBack()
{
    QFETCH(Kind, kind);
    QFETCH(QString, how);

    StandInPlatform stand;
    StandInWindow main;
    ListSource entries({});
    QPointer<SettingsDialog> dialog = openDialog(kind, main, entries);
    QVERIFY(!main.visible);
    QTest::mouseClick(child<QCheckBox>(*dialog, "chk_nummer"), Qt::LeftButton);
    QCOMPARE(child<QCheckBox>(*dialog, "chk_nummer")->checkState(), Qt::Checked);

    if (how == QLatin1String("close box"))
        dialog->close(); // what the window system's close box does
    else if (how == QLatin1String("Escape"))
        QTest::keyClick(dialog, Qt::Key_Escape);
    else
        dialog->unloadWindow();

    QCOMPARE(main.showCalls, 1);
    QVERIFY(main.visible);
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(stand.messageBox.shown.isEmpty());

    // The next opening starts afresh.
    std::unique_ptr<SettingsDialog> again(openDialog(kind, main, entries));
    QCOMPARE(child<QCheckBox>(*again, "chk_nummer")->checkState(), Qt::Unchecked);
}

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settingsdialogs.moc"
