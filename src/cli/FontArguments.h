#pragma once
// The fonts a command works on: list files (".tzl") are read, any other path
// is added as the program adds a dropped file or folder; every row selected.
#include <QStringList>

#include "collect/FolderSearch.h"

namespace tz {
class FontAdder;
class FontList;
}

namespace tz::cli {

// Sets up search to walk without a window: with settings, each file found
// added to list through adder.
void SearchWithoutWindow(FolderSearch& search, FontAdder& adder, FontList& list, const FolderSearchSettings& settings);

// Appends the rows of the arguments to list. Returns false when some argument
// gave no row; its message is on standard error then.
bool LoadFontArguments(FontList& list, const QStringList& arguments, const QString& workFolder);

} // namespace tz::cli
