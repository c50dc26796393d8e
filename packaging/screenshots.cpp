// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Takes the pictures of the user guide from the real windows: the main window
// on a sample folder, then the print and the save settings, each grabbed as
// the user sees it. packaging/screenshots.sh runs it under Xvfb.
//
//   lirabel_screenshots SAMPLE_FOLDER OUTPUT_FOLDER

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "ui/folderlistview.h"
#include "ui/printsettingsdialog.h"
#include "ui/qtplatform.h"
#include "ui/savesettingsdialog.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {

// Lets the window come up, take the focus and paint.
void settle()
{
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget &window, const QString &path)
{
    window.activateWindow();
    settle();
    if (!window.grab().save(path, "PNG", 0)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

template<typename Dialog>
Dialog *shownDialog()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<Dialog *>(w); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SAMPLE_FOLDER OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    Lirabel::setUpApplication(app);
    const QString sample = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QDir out(QString::fromLocal8Bit(argv[2]));
    // The directory list opens a drive on the working directory when that lies on it.
    if (!QDir::setCurrent(sample)) {
        std::fprintf(stderr, "no folder %s\n", qPrintable(sample));
        return 1;
    }

    Lirabel::QtPlatform platform;
    Lirabel::MainWindow window(QFile::encodeName(sample));
    // The window reads the folder in the background.
    while (window.isLoading()) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (window.findChild<Lirabel::FolderListView *>(QStringLiteral("Dir1"))->path() != sample) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(sample));
        return 1;
    }
    window.showWindow();
    if (!save(window, out.filePath(QStringLiteral("hauptfenster.png"))))
        return 1;

    window.startPrint();
    auto *print = shownDialog<Lirabel::PrintSettingsDialog>();
    if (!print || !save(*print, out.filePath(QStringLiteral("druckeinstellungen.png"))))
        return 1;
    print->unloadWindow();
    settle();

    window.startSave();
    auto *saving = shownDialog<Lirabel::SaveSettingsDialog>();
    if (!saving || !save(*saving, out.filePath(QStringLiteral("speichereinstellungen.png"))))
        return 1;
    saving->unloadWindow();
    return 0;
}
