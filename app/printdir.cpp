#include "app/printdir.h"

namespace Lirabel {

PrintDir::PrintDir(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("PrintDir"));
    setWindowTitle(QStringLiteral("Lirabel"));
}

PrintDir::~PrintDir() = default;

void PrintDir::showWindow()
{
    show();
}

void PrintDir::hideWindow()
{
    hide();
}

void PrintDir::unloadWindow()
{
    close();
}

void PrintDir::setWindowVisible(bool visible)
{
    setVisible(visible);
}

} // namespace Lirabel
