// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/widgetwindow.h"

#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <vector>

namespace Lirabel {

namespace {

std::vector<QPointer<QWidget>> &loadedWindows()
{
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

} // namespace

void windowLoaded(QWidget *window)
{
    loadedWindows().emplace_back(window);
}

void windowUnloaded(QWidget *window)
{
    std::erase_if(loadedWindows(), [window](const QPointer<QWidget> &loaded) { return !loaded || loaded == window; });
}

QWidget *windowOnTop()
{
    std::vector<QPointer<QWidget>> &windows = loadedWindows();
    std::erase_if(windows, [](const QPointer<QWidget> &loaded) { return loaded.isNull(); });
    return windows.empty() ? nullptr : windows.back().data();
}

QRect fromTwips(int left, int top, int width, int height)
{
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width), pixelsFromTwips(height)};
}

void centreOnScreen(QWidget &window)
{
    if (const QScreen *screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace Lirabel
