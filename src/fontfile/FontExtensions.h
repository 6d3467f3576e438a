#pragma once
// Which file names are taken for fonts, told by the extension at the end of
// the name with ASCII letters in either case. The program's own font files
// are ".TTF" and ".TTC" (the folder search also takes ".OTF"); the wider set
// adds ".OTF", ".OTC", ".WOFF", ".WOFF2" and ".DFONT".
#include "fontfile/FontFormats.h"

#include <QLatin1StringView>
#include <QStringView>

namespace tz {

// True when name ends with upperExtension (written upper-case, dot included),
// ASCII letters of the name compared without regard to case.
bool HasExtension(QStringView name, QLatin1StringView upperExtension);

// ".TTF" or ".TTC".
bool IsTrueTypeName(QStringView name);
// One of the formats only the wider set reads.
bool IsWiderFontName(QStringView name);
// A font file the installed-font search and the archive members take:
// TrueType, with the wider set also the wider formats.
bool IsFontName(QStringView name, FontFormats formats);
// A font file the folder search analyses: as IsFontName, and ".OTF" always.
bool IsSearchedFontName(QStringView name, FontFormats formats);

} // namespace tz
