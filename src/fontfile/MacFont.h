#pragma once
// Takes the font out of a Macintosh font file in MacBinary form: a 128-byte
// header, the data fork and the resource fork, whose first resource is the
// font.
#include <QString>
#include <QtGlobal>

namespace tz {

class RegularFile;

// Writes the font bytes of the MacBinary file `source` to `target` (created
// or truncated first, also when the extraction then fails). True when the
// target holds exactly the font. The resource map is not consulted: the
// first resource of the data area is taken, whatever its type.
bool ExtractMacFont(const QString& source, const QString& target);
// The same from a file already open, except that the target is created only
// once the source proved to be a MacBinary font file, so that naming a folder
// of other fonts creates no file for each of them.
bool ExtractMacFont(const RegularFile& source, const QString& target);

} // namespace tz
