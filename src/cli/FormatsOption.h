#pragma once
// --all-formats and --designed-formats: whether a command reads the wider set
// of font formats and archives or the program's own. Without either, the
// environment setting in the settings store decides, as in the program.
#include "fontfile/FontFormats.h"

#include <QStringList>

namespace tz::cli {

inline const QString kFormatsOptions = QStringLiteral("[--all-formats|--designed-formats]");

// Takes the options out of args (the last one given counts) and returns the
// formats chosen.
FontFormats TakeFormatsOption(QStringList& args);

} // namespace tz::cli
