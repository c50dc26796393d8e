// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The output layer. The main window hides itself and shows a settings dialog
// (PrintSettingsDialog or SaveSettingsDialog). Its "&Weiter" hands the dialog
// to its target (printtarget.h, savetarget.h), which asks for a destination
// through the dialog's standardDialogs(), runs the listing over the main
// window's file list with the dialog's runSettings(), and unloads the dialog.
// Unloading, however it happens, shows the main window again.

#include "core/listingrun.h"
#include "core/standarddialogs.h"
#include "ui/widgetwindow.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Lirabel {

// What the two settings dialogs share. Unloading one, however it happens,
// brings the main window back.
class SettingsDialog : public WidgetWindow<QDialog>
{
    Q_OBJECT

public:
    SettingsDialog(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent = nullptr);
    ~SettingsDialog() override;

    // The options of a run, as the check boxes and the spacing box stand now.
    [[nodiscard]] virtual RunSettings runSettings() const;
    // With "Leerzeile alle" checked, a spacing text that is no number is
    // refused with a message; the dialog stays open with its values.
    [[nodiscard]] bool spacingTextAccepted();

    [[nodiscard]] const EntrySource &entries() const { return mEntries; }
    [[nodiscard]] ProgramWindow &mainWindow() const { return mMainWindow; }

    // The dialogs the target asks for its destination, set up for this output.
    [[nodiscard]] StandardDialogs &standardDialogs() { return mStandardDialogs; }
    [[nodiscard]] const StandardDialogs &standardDialogs() const { return mStandardDialogs; }

protected:
    // A control's place in twips, as the layout tables give it.
    struct Place
    {
        int left;
        int top;
        int width;
        int height;
    };
    struct Layout
    {
        int clientWidth; // twips
        int clientHeight;
        Place stripExtensions;
        Place numberEntries;
        Place blankLines;
        Place spacing;
        Place linesLabel;
        Place continueButton;
    };
    void layOut(const Layout &layout);

    // Runs for every unload: by the target at the end of its run, by the
    // close box, by Escape.
    void returnToMainWindow();

    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;
    void showEvent(QShowEvent *event) override;

    QCheckBox *const mStripExtensionsCheckBox;
    QCheckBox *const mNumberEntriesCheckBox;
    QCheckBox *const mBlankLinesCheckBox;
    QLineEdit *const mSpacingEdit;
    QLabel *const mLinesLabel;
    QPushButton *const mContinueButton;
    StandardDialogs mStandardDialogs;

private:
    ProgramWindow &mMainWindow;
    const EntrySource &mEntries;
};

} // namespace Lirabel
