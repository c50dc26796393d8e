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

    [[nodiscard]] const EntrySource &entries() const { return mEntries; }
    [[nodiscard]] ProgramWindow &mainWindow() const { return mMainWindow; }

    CommonDialog CommonDialog1;

private:
    ProgramWindow &mMainWindow;
    const EntrySource &mEntries;
};

} // namespace Lirabel
