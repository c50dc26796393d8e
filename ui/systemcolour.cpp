// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/systemcolour.h"

#include <QGuiApplication>

namespace Lirabel {

QColor systemColour(quint32 value, const QPalette &palette, QPalette::ColorGroup group)
{
    if ((value & SystemColourFlag) == 0)
        return QColor(int(value & 0xffu), int((value >> 8) & 0xffu), int((value >> 16) & 0xffu));

    switch (value & ~SystemColourFlag) {
    case 4:  // COLOR_MENU
    case 15: // COLOR_BTNFACE
        return palette.color(group, QPalette::Window);
    case 11: // COLOR_INACTIVEBORDER: the grey of a disabled field, under the disabled text colour
        return palette.color(QPalette::Disabled, QPalette::Base);
    case 5: // COLOR_WINDOW
    case 9: // COLOR_CAPTIONTEXT: white, an ordinary field, under the normal text colour
        return palette.color(group, QPalette::Base);
    case 7: // COLOR_MENUTEXT
    case 8: // COLOR_WINDOWTEXT
        return palette.color(group, QPalette::WindowText);
    case 13: // COLOR_HIGHLIGHT
        return palette.color(group, QPalette::Highlight);
    case 14: // COLOR_HIGHLIGHTTEXT
        return palette.color(group, QPalette::HighlightedText);
    case 17: // COLOR_GRAYTEXT
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // COLOR_BTNTEXT
        return palette.color(group, QPalette::ButtonText);
    default:
        return palette.color(group, QPalette::Base);
    }
}

QColor systemColour(quint32 value, QPalette::ColorGroup group)
{
    return systemColour(value, QGuiApplication::palette(), group);
}

} // namespace Lirabel
