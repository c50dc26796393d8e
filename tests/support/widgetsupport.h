// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Helpers the widget tests share: finding the program's windows and
// controls, and answering a real Qt dialog that runs its own event loop.

#include "testsupport.h"

#include "core/entrysource.h"
#include "core/platform.h"
#include "ui/qtprinter.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace Lirabel {
class FolderListView;
class MainWindow;
} // namespace Lirabel

// True once the main window's reads have all answered, within five seconds:
// the window loads folders in the background.
[[nodiscard]] bool settled(const Lirabel::MainWindow &window);

// The control of type T called name inside window; a missing one ends the test run.
template<typename T>
T *child(const QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// The visible top-level window of type T, or nullptr.
template<typename T>
T *visibleTopLevel()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(window); found && found->isVisible())
            return found;
    }
    return nullptr;
}

// Opens a settings dialog the way the main window does: hide the main window,
// then show the dialog, which deletes itself when it is unloaded.
template<typename Dialog>
Dialog *openSettings(Lirabel::ProgramWindow &main, const Lirabel::EntrySource &entries)
{
    main.hideWindow();
    auto *dialog = new Dialog(main, entries);
    dialog->showWindow();
    return dialog;
}

// Calls act once with the modal dialog of type T as soon as one is open, so a
// test can answer a real Qt dialog that runs its own event loop. The watch
// ends with its owner.
template<typename T>
void whenModal(QObject *owner, std::function<void(T *)> act)
{
    auto *timer = new QTimer(owner);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            act(dialog);
        }
    });
    timer->start();
}

// The program's printer writing to a PDF file, installed as the platform's
// printer for its lifetime; the services installed before come back after.
class PdfPrinter : public Lirabel::QtPrinter
{
public:
    explicit PdfPrinter(const QString &pdfPath);
    ~PdfPrinter();
    PdfPrinter(const PdfPrinter &) = delete;
    PdfPrinter &operator=(const PdfPrinter &) = delete;

private:
    Lirabel::Platform mPrevious;
};

// The texts of the directory list's rows, top to bottom.
QStringList rowsOf(const Lirabel::FolderListView &list);
