#include "output/printoptionen.h"

namespace Lirabel {

PrintOptionen::PrintOptionen(ProgramWindow &mainWindow, const EntrySource &entries, QWidget *parent)
    : SettingsDialog(mainWindow, entries, parent)
{
    setObjectName(QStringLiteral("PrintOptionen"));
}

PrintOptionen::~PrintOptionen() = default;

} // namespace Lirabel
