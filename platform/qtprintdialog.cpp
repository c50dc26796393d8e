#include "platform/qtdialogs.h"

namespace Lirabel {

bool QtDialogs::choosePrinter(int)
{
    return false;
}

} // namespace Lirabel
