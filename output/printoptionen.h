#pragma once

#include "output/settingsdialog.h"

namespace Lirabel {

class PrintOptionen : public SettingsDialog
{
    Q_OBJECT

public:
    PrintOptionen(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent = nullptr);
    ~PrintOptionen() override;
};

} // namespace Lirabel
