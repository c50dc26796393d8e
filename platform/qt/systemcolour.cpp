#include "platform/qt/systemcolour.h"

#include <QGuiApplication>

namespace Lirabel {

QColor systemColour(quint32 value, const QPalette &palette)
{
    if ((value & SystemColourFlag) == 0)
        return QColor(int(value & 0xffu), int((value >> 8) & 0xffu), int((value >> 16) & 0xffu));

    switch (value & ~SystemColourFlag) {
    case 4:  // COLOR_MENU
    case 11: // COLOR_INACTIVEBORDER
    case 15: // COLOR_BTNFACE
        return palette.color(QPalette::Active, QPalette::Window);
    case 5: // COLOR_WINDOW
        return palette.color(QPalette::Active, QPalette::Base);
    case 7: // COLOR_MENUTEXT
    case 8: // COLOR_WINDOWTEXT
        return palette.color(QPalette::Active, QPalette::WindowText);
    case 9:  // COLOR_CAPTIONTEXT
    case 14: // COLOR_HIGHLIGHTTEXT
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case 13: // COLOR_HIGHLIGHT
        return palette.color(QPalette::Active, QPalette::Highlight);
    case 17: // COLOR_GRAYTEXT
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // COLOR_BTNTEXT
        return palette.color(QPalette::Active, QPalette::ButtonText);
    default:
        return palette.color(QPalette::Active, QPalette::Base);
    }
}

QColor systemColour(quint32 value)
{
    return systemColour(value, QGuiApplication::palette());
}

} // namespace Lirabel
