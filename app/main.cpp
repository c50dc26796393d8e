#include "app/applicationsetup.h"
#include "app/printdir.h"
#include "platform/qt/qtplatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Lirabel::setUpApplication(app);
    Lirabel::QtPlatform platform;
    Lirabel::PrintDir window;
    window.showWindow();
    return Lirabel::leaveProgram(app.exec());
}
