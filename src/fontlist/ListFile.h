#pragma once
// The font list file (.tzl): a "[Generator]" header and a "[List099]" section
// with one tab-separated row per entry, CR LF line ends, UTF-8.
#include <QString>

namespace tz {

class FontList;

// The whole file content for the rows of list, in display order.
QByteArray FormatListFile(const FontList& list);

// Writes list to path atomically: the old file stays intact unless the new one
// was written completely. False when writing failed.
bool WriteListFile(const FontList& list, const QString& path);

} // namespace tz
