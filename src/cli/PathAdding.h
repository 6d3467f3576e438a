#pragma once
// Turning command-line paths into rows, shared by the commands that take
// files, archives and folder trees.
#include "collect/FolderSearch.h"
#include "collect/FontAdder.h"

#include <QStringList>

namespace tz::cli {

// Adds the fonts of every path: folders are searched as the folder search
// does, anything else added as a dropped file. The names of paths and files
// that added nothing go to the adder's FailedNames. False when a path
// argument added no row.
bool AddPaths(FontList& list, FontAdder& adder, const QStringList& paths, const FolderSearchSettings& settings);

} // namespace tz::cli
