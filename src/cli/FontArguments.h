#pragma once
// The fonts a command works on: list files (".tzl") are read, any other path
// is added as the program adds a dropped file or folder.
#include "fontfile/FontFormats.h"

#include <QStringList>

namespace tz {
class FontList;
class RowFaceScan;
}

namespace tz::cli {

// Appends the rows of the arguments to list, every row selected, reading the
// formats given. Returns false when some argument gave no row; its message is
// on standard error then.
bool LoadFontArguments(FontList& list, const QStringList& arguments, const QString& workFolder,
    FontFormats formats = FontFormats::Designed);

// Writes the list as a list file to output, or to standard output when it is
// empty or "-". On failure the message names the command and false returns.
bool WriteListOutput(const QString& command, const FontList& list, const QString& output);

// Names on standard error the rows a search over the faces skipped.
void ReportSkippedRows(const QString& command, const RowFaceScan& scan);

} // namespace tz::cli
