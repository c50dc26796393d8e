// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The output layer. The main window hides itself and shows a settings dialog
// (PrintSettingsDialog or SaveSettingsDialog). Its "&Weiter" hands the dialog to its
// target (printtarget.h, savetarget.h), which asks for a destination through
// the dialog's CommonDialog1, runs the listing over the main window's file
// list with the dialog's runSettings(), and unloads the dialog. Unloading,
// however it happens, shows the main window again.

#include "core/commondialog.h"
#include "core/listingrun.h"
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

    // The options of a run, as the check boxes and txt_zeile stand now.
    [[nodiscard]] virtual RunSettings runSettings() const;
    // With "Leerzeile alle" checked, a txt_zeile text that is no number is
    // refused with a message; the dialog stays open with its values.
    [[nodiscard]] bool spacingTextAccepted();

    [[nodiscard]] const EntrySource &entries() const { return mEntries; }
    [[nodiscard]] ProgramWindow &mainWindow() const { return mMainWindow; }

    CommonDialog CommonDialog1;

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
        Place endungen;
        Place nummer;
        Place zeilen;
        Place zeile;
        Place label;
        Place weiter;
    };
    void layOut(const Layout &layout);

    // Runs for every unload: by the target at the end of its run, by the
    // close box, by Escape.
    void Form_Unload();

    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;
    void showEvent(QShowEvent *event) override;

    QCheckBox *const chk_endungen;
    QCheckBox *const chk_nummer;
    QCheckBox *const chk_zeilen;
    QLineEdit *const txt_zeile;
    QLabel *const Label1;
    QPushButton *const cmd_weiter;

private:
    ProgramWindow &mMainWindow;
    const EntrySource &mEntries;
};

} // namespace Lirabel
