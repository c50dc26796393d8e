#include "output/settingsdialog.h"

namespace Lirabel {

SettingsDialog::SettingsDialog(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent)
    : QDialog(parent)
    , mMainWindow(mainWindow)
    , mEntries(entries)
{
    setWindowTitle(QStringLiteral("Einstellungen"));
    setAttribute(Qt::WA_DeleteOnClose);
}

SettingsDialog::~SettingsDialog() = default;

RunSettings SettingsDialog::runSettings() const
{
    return {};
}

bool SettingsDialog::spacingTextAccepted()
{
    return true;
}

void SettingsDialog::showWindow()
{
    show();
}

void SettingsDialog::hideWindow()
{
    hide();
}

void SettingsDialog::unloadWindow()
{
    close();
}

void SettingsDialog::setWindowVisible(bool visible)
{
    setVisible(visible);
}

} // namespace Lirabel
