#pragma once
// Sizes for the rows of previous-format lists, which were saved without them:
// each row's font is measured again, inside its ZIP or LZH archive or on disk.
#include "fontfile/FontFormats.h"
#include "fontlist/ListFile.h"

namespace tz {

// The size of the font of one row: the font-file analysis of the file (for a
// Macintosh file, of the font data extracted from it), or of each archive
// member of that name extracted to "typozind.arc.ttx" in workFolder (the last
// one counts). "0" when nothing could be measured.
QString MeasureRowFontSize(const QString& filePath, const QString& memberName, const QString& workFolder,
    FontFormats formats = FontFormats::Designed);

// MeasureRowFontSize as the reader's measuring callback.
MeasureFontSize MeasureWithWorkFolder(const QString& workFolder, FontFormats formats = FontFormats::Designed);

} // namespace tz
