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
    , mStripExtensionsCheckBox(new QCheckBox(this))
    , mNumberEntriesCheckBox(new QCheckBox(QStringLiteral("Dateien nummerieren"), this))
    , mBlankLinesCheckBox(new QCheckBox(QStringLiteral("Leerzeile alle "), this))
    , mSpacingEdit(new QLineEdit(QStringLiteral("0"), this))
    , mLinesLabel(new QLabel(QStringLiteral("Zeilen"), this))
    , mContinueButton(new QPushButton(QStringLiteral("&Weiter"), this))
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

    mStripExtensionsCheckBox->setObjectName(QStringLiteral("chk_endungen"));
    mNumberEntriesCheckBox->setObjectName(QStringLiteral("chk_nummer"));
    mBlankLinesCheckBox->setObjectName(QStringLiteral("chk_zeilen"));
    mSpacingEdit->setObjectName(QStringLiteral("txt_zeile"));
    mLinesLabel->setObjectName(QStringLiteral("Label1"));
    mContinueButton->setObjectName(QStringLiteral("cmd_weiter"));
    mLinesLabel->setFocusPolicy(Qt::NoFocus);
    // A screen reader names the number box by what it counts.
    mSpacingEdit->setAccessibleName(QStringLiteral("Anzahl Zeilen"));
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::layOut(const Layout &layout)
{
    setFixedSize(pixelsFromTwips(layout.clientWidth), pixelsFromTwips(layout.clientHeight));
    const auto place = [](QWidget *control, const Place &p) {
        control->setGeometry(fromTwips(p.left, p.top, p.width, p.height));
    };
    place(mStripExtensionsCheckBox, layout.stripExtensions);
    place(mNumberEntriesCheckBox, layout.numberEntries);
    place(mBlankLinesCheckBox, layout.blankLines);
    place(mSpacingEdit, layout.spacing);
    place(mLinesLabel, layout.linesLabel);
    place(mContinueButton, layout.continueButton);
}

RunSettings SettingsDialog::runSettings() const
{
    RunSettings settings;
    settings.stripExtensions = mStripExtensionsCheckBox->checkState() == Qt::Checked;
    settings.numberEntries = mNumberEntriesCheckBox->checkState() == Qt::Checked;
    settings.blankLines = mBlankLinesCheckBox->checkState() == Qt::Checked;
    return settings;
}

bool SettingsDialog::spacingTextAccepted()
{
    if (mBlankLinesCheckBox->checkState() != Qt::Checked || spacingFromText(mSpacingEdit->text()))
        return true;
    showErrorBox(QStringLiteral("Keine gültige Zahl für die Leerzeilen !"), QStringLiteral("Eingabefehler"));
    mSpacingEdit->setFocus(Qt::OtherFocusReason);
    return false;
}

void SettingsDialog::returnToMainWindow()
{
    windowUnloaded(this);
    mMainWindow.showWindow();
}

void SettingsDialog::closeEvent(QCloseEvent *event)
{
    // QDialog would turn the close into a reject; here every close is an
    // unload that always goes ahead.
    returnToMainWindow();
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
