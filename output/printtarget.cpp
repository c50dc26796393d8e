#include "output/printtarget.h"

#include "output/printoptionen.h"

namespace Lirabel {

void printListing(PrintOptionen &)
{
}

} // namespace Lirabel
