// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// What every window of the program shares: the program-window calls on a Qt
// widget, positions in the layout's twips, and centring on the screen.

#include "core/platform.h"

#include <QRect>

#include <utility>

class QWidget;

namespace Lirabel {

// The layouts are measured in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int TwipsPerPixel = 15;

[[nodiscard]] constexpr int pixelsFromTwips(int twips)
{
    return twips / TwipsPerPixel;
}

[[nodiscard]] QRect fromTwips(int left, int top, int width, int height);

// Centres the window, frame included, on the screen it is on, and never
// places it outside the screen's available area. Where it does not fit (a
// small screen, a large scale factor), its controls and their fonts shrink
// by one factor until it does; where it fits it stays as drawn.
void centreOnScreen(QWidget &window);

// The program's own windows, newest last. A dialog or message box opens over
// the newest one still loaded: the settings dialog while there is one, even
// hidden as it is behind the font and printer dialogs, otherwise the main
// window. Never the active window, which a Wayland session often does not
// name while the main window is hidden.
void windowLoaded(QWidget *window);
void windowUnloaded(QWidget *window);
[[nodiscard]] QWidget *windowOnTop();

// A program window that is a Qt widget. Unloading closes it: the window's
// close handling is its unload.
template<typename Widget>
class WidgetWindow
    : public Widget
    , public ProgramWindow
{
public:
    template<typename... Args>
    explicit WidgetWindow(Args &&...args)
        : Widget(std::forward<Args>(args)...)
    {
        windowLoaded(this);
    }

    void showWindow() override { this->show(); }
    void hideWindow() override { this->hide(); }
    void unloadWindow() override { this->close(); }
    void setWindowVisible(bool visible) override { this->setVisible(visible); }
};

} // namespace Lirabel
