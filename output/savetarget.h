#pragma once

namespace Lirabel {

class SaveOptionen;

// "&Weiter" of the save settings dialog: asks for the file name and writes the listing.
void saveListing(SaveOptionen &dialog);

} // namespace Lirabel
