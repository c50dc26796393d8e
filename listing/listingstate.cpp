#include "listing/listingstate.h"

#include "platform/platform.h"

namespace Lirabel {

ListingStateVariables ListingState;

void ShowErrorBox(const QString &text, const QString &title)
{
    platform().messageBox->critical(text, title);
}

} // namespace Lirabel
