#include "output/saveoptionen.h"

namespace Lirabel {

SaveOptionen::SaveOptionen(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent)
    : SettingsDialog(mainWindow, entries, parent)
{
    setObjectName(QStringLiteral("SaveOptionen"));
}

SaveOptionen::~SaveOptionen() = default;

} // namespace Lirabel
