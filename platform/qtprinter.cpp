#include "platform/qtprinter.h"

namespace Lirabel {

void QtPrinter::printLine(const QString &) {}
void QtPrinter::printBlankLine() {}
void QtPrinter::endDoc() {}
void QtPrinter::abortDoc() {}

} // namespace Lirabel
