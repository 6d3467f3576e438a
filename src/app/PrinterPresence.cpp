#include "app/PrinterPresence.h"

#include <QPrinterInfo>

namespace tz {

bool PrintersInstalled() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

} // namespace tz
