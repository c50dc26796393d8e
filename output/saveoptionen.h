#pragma once

#include "output/settingsdialog.h"

namespace Lirabel {

class SaveOptionen : public SettingsDialog
{
    Q_OBJECT

public:
    SaveOptionen(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent = nullptr);
    ~SaveOptionen() override;
};

} // namespace Lirabel
