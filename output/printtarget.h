#pragma once

namespace Lirabel {

class PrintOptionen;

// "&Weiter" of the print settings dialog: font, printer, then the listing.
void printListing(PrintOptionen &dialog);

} // namespace Lirabel
