// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/qtplatform.h"

#include "fs/deadlinecall.h"
#include "fs/handover.h"
#include "ui/widgetwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

namespace Lirabel {

int QtMessageBox::critical(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, windowOnTop());
    box.exec();
    return ButtonOk;
}

bool QtMessageBox::question(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, windowOnTop());
    QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString QtProgram::programFolder() const
{
    // The window program, installed in a folder of its own, stands for the
    // `lirabel` that started it.
    const QString folder = QCoreApplication::applicationDirPath();
    if (QFileInfo(QCoreApplication::applicationFilePath()).fileName() != QLatin1String("lirabel-fenster")
        || QFileInfo::exists(folder + QLatin1String("/lirabel")))
        return folder;
    return QDir::cleanPath(folder + QLatin1String("/" LIRABEL_PROGRAM_FOLDER));
}

namespace {

// At once: no close events, no unload handlers, no destructors. A thread
// stuck in a call on a FUSE mount outlives the others until that mount
// answers, and with it the connection to the window system; so the windows
// are taken off the screen first.
[[noreturn]] void endAtOnce(int exitCode)
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows)
            window->hide();
        QGuiApplication::sync();
    }
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace

void QtProgram::endProgram()
{
    endAtOnce(0);
}

int leaveProgram(int exitCode)
{
    if (busyWorkers() > 0)
        endAtOnce(exitCode);
    return exitCode;
}

QtPlatform::QtPlatform()
    : mPrevious(platform())
{
    dialogs.setPrinter(&printer);
    installPlatform({&messageBox, &program, &volumes, &dialogs, &printer, &textFiles});
}

QtPlatform::~QtPlatform()
{
    installPlatform(mPrevious);
}

} // namespace Lirabel
