#include "output/savetarget.h"

#include "output/saveoptionen.h"

namespace Lirabel {

void saveListing(SaveOptionen &)
{
}

} // namespace Lirabel
