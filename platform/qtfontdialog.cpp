#include "platform/qtdialogs.h"

namespace Lirabel {

std::optional<FontChoice> QtDialogs::chooseFont(const QString &, float, int, int, int)
{
    return std::nullopt;
}

} // namespace Lirabel
