#pragma once

// What every window of the program shares: the program-window calls on a Qt
// widget, positions in the layout's twips, and centring on the screen.

#include "platform/platform.h"

#include <QRect>

class QWidget;

namespace Lirabel {

// The layouts are measured in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int TwipsPerPixel = 15;

[[nodiscard]] constexpr int pixelsFromTwips(int twips)
{
    return twips / TwipsPerPixel;
}

[[nodiscard]] QRect fromTwips(int left, int top, int width, int height);

// Centres the window, frame included, on the screen it is on.
void centreOnScreen(QWidget &window);

// A program window that is a Qt widget. Unloading closes it: the window's
// close handling is its unload.
template<typename Widget>
class WidgetWindow
    : public Widget
    , public ProgramWindow
{
public:
    using Widget::Widget;

    void showWindow() override { this->show(); }
    void hideWindow() override { this->hide(); }
    void unloadWindow() override { this->close(); }
    void setWindowVisible(bool visible) override { this->setVisible(visible); }
};

} // namespace Lirabel
