#include "platform/qtdialogs.h"

namespace Lirabel {

std::optional<QString> QtDialogs::saveFileName(const QString &, const QString &, int)
{
    return std::nullopt;
}

} // namespace Lirabel
