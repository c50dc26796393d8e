// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/settingsdialog.h"

#include "core/entryformat.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Lirabel {

SettingsDialog::SettingsDialog(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent)
    : WidgetWindow(parent)
    , chk_endungen(new QCheckBox(this))
    , chk_nummer(new QCheckBox(QStringLiteral("Dateien nummerieren"), this))
    , chk_zeilen(new QCheckBox(QStringLiteral("Leerzeile alle "), this))
    , txt_zeile(new QLineEdit(QStringLiteral("0"), this))
    , Label1(new QLabel(QStringLiteral("Zeilen"), this))
    , cmd_weiter(new QPushButton(QStringLiteral("&Weiter"), this))
    , mMainWindow(mainWindow)
    , mEntries(entries)
{
    setWindowTitle(QStringLiteral("Einstellungen"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Fixed single border: a title and a close box, nothing to minimise,
    // maximise or resize.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);

    chk_endungen->setObjectName(QStringLiteral("chk_endungen"));
    chk_nummer->setObjectName(QStringLiteral("chk_nummer"));
    chk_zeilen->setObjectName(QStringLiteral("chk_zeilen"));
    txt_zeile->setObjectName(QStringLiteral("txt_zeile"));
    Label1->setObjectName(QStringLiteral("Label1"));
    cmd_weiter->setObjectName(QStringLiteral("cmd_weiter"));
    Label1->setFocusPolicy(Qt::NoFocus);
    // A screen reader names the number box by what it counts.
    txt_zeile->setAccessibleName(QStringLiteral("Anzahl Zeilen"));
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::layOut(const Layout &layout)
{
    setFixedSize(pixelsFromTwips(layout.clientWidth), pixelsFromTwips(layout.clientHeight));
    const auto place = [](QWidget *control, const Place &p) {
        control->setGeometry(fromTwips(p.left, p.top, p.width, p.height));
    };
    place(chk_endungen, layout.endungen);
    place(chk_nummer, layout.nummer);
    place(chk_zeilen, layout.zeilen);
    place(txt_zeile, layout.zeile);
    place(Label1, layout.label);
    place(cmd_weiter, layout.weiter);
}

RunSettings SettingsDialog::runSettings() const
{
    RunSettings settings;
    settings.stripExtensions = chk_endungen->checkState() == Qt::Checked;
    settings.numberEntries = chk_nummer->checkState() == Qt::Checked;
    settings.blankLines = chk_zeilen->checkState() == Qt::Checked;
    return settings;
}

bool SettingsDialog::spacingTextAccepted()
{
    if (chk_zeilen->checkState() != Qt::Checked || SpacingFromText(txt_zeile->text()))
        return true;
    showErrorBox(QStringLiteral("Keine gültige Zahl für die Leerzeilen !"), QStringLiteral("Eingabefehler"));
    txt_zeile->setFocus(Qt::OtherFocusReason);
    return false;
}

void SettingsDialog::Form_Unload()
{
    windowUnloaded(this);
    mMainWindow.showWindow();
}

void SettingsDialog::closeEvent(QCloseEvent *event)
{
    // QDialog would turn the close into a reject; here every close is an
    // unload that always goes ahead.
    Form_Unload();
    event->accept();
}

void SettingsDialog::done(int result)
{
    // Escape ends here. QDialog::done would close without a close event, so
    // the main window would stay hidden.
    setResult(result);
    close();
}

void SettingsDialog::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

} // namespace Lirabel
