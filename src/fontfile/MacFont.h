#pragma once
// Takes the font out of a Macintosh font file in MacBinary form: a 128-byte
// header, the data fork and the resource fork, whose first resource is the
// font; and the fonts of data-fork suitcases (".dfont": a resource fork
// stored as the data of a file), one face per `sfnt` resource.
#include "fontfile/FontFormats.h"

#include <QString>
#include <QtGlobal>
#include <vector>

namespace tz {

class ByteSource;
class RegularFile;

// Writes the font bytes of the MacBinary file `source` to `target` (created
// or truncated first, also when the extraction then fails). True when the
// target holds exactly the font. The resource map is not consulted: the
// first resource of the data area is taken, whatever its type.
// With the wider formats, a file that is no MacBinary font file but a
// data-fork suitcase gives its one face as an sfnt file, or its faces as a
// collection.
bool ExtractMacFont(const QString& source, const QString& target, FontFormats formats = FontFormats::Designed);
// The same from a file already open, except that the target is created only
// once the source proved to be a MacBinary font file, so that naming a folder
// of other fonts creates no file for each of them.
bool ExtractMacFont(const RegularFile& source, const QString& target);

// Where the data of one resource lies in a file.
struct ResourceSpan {
    quint64 position = 0;
    quint32 length = 0;
};

// The `sfnt` resources of a data-fork suitcase, in the order of its resource
// map. Empty when the file is none: its header, map, type list or reference
// lists don't lie where they say, or no `sfnt` resource's data lies whole in
// the data area.
std::vector<ResourceSpan> SuitcaseFonts(const ByteSource& file);

} // namespace tz
