#pragma once

#include "listing/listingrun.h"
#include "platform/commondialog.h"
#include "platform/platform.h"

#include <QDialog>

namespace Lirabel {

// What the two settings dialogs share. Unloading one, however it happens,
// brings the main window back.
class SettingsDialog : public QDialog, public ProgramWindow
{
    Q_OBJECT

public:
    SettingsDialog(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent = nullptr);
    ~SettingsDialog() override;

    void showWindow() override;
    void hideWindow() override;
    void unloadWindow() override;
    void setWindowVisible(bool visible) override;

    // The options of a run, as the check boxes and txt_zeile stand now.
    [[nodiscard]] virtual RunSettings runSettings() const;
    // With "Leerzeile alle" checked, a txt_zeile text that is no number is
    // refused with a message; the dialog stays open with its values.
    [[nodiscard]] bool spacingTextAccepted();

    [[nodiscard]] const EntrySource &entries() const { return mEntries; }
    [[nodiscard]] ProgramWindow &mainWindow() const { return mMainWindow; }

    CommonDialog CommonDialog1;

private:
    ProgramWindow &mMainWindow;
    const EntrySource &mEntries;
};

} // namespace Lirabel
