#pragma once
// Adding the paths a user gives (typed on a command line, dropped on the
// window, chosen in the add dialog) and the installed fonts: the one way the
// window, the program's command line and tzind add them.
#include "collect/AddOutcome.h"
#include "collect/FolderSearch.h"
#include "collect/FontAdder.h"

#include <QStringList>
#include <functional>

namespace tz {

// How given paths are added.
struct AddOptions {
    // The faces of a multi-face file given itself (a folder's files follow
    // the folder search's settings).
    int FaceSelection = kFirstFace;
    // Files chosen in the add dialog are taken as they are: no shortcut is
    // followed and no folder searched. Other given paths are normalised, a
    // .LNK shortcut followed (ResolveGivenPath) and a folder searched.
    bool ChosenFiles = false;
};

// What adding some paths gave.
struct AddedPaths {
    int Rows = 0; // rows added
    // The names that added nothing, with the reasons, in the order met; they
    // are also in the adder's Failed.
    NotAddedFiles NotAdded;
    // Every given path added a row (the files of a searched folder that
    // added nothing do not count against it).
    bool AllAdded = true;
};

// Searches a folder among the given paths, adding its files through adder
// (AddPathOnDisk) and appending the files that added nothing to adder.Failed.
using FolderWalk = std::function<void(const QString& folder, FontAdder& adder)>;

// Adds every path through adder. A folder is searched with walkFolder and
// counts as added when it gave rows; a path that added nothing is noted in
// adder.Failed under its last component, one trailing '/' removed first.
AddedPaths AddGivenPaths(
    FontAdder& adder, const QStringList& paths, const AddOptions& options, const FolderWalk& walkFolder);

// Adds the installed font files the adder's formats take (IsFontName) through
// adder; the files that added nothing are noted in adder.Failed.
AddedPaths AddInstalledFonts(FontAdder& adder, const AddOptions& options);

// A folder walk without a window (tzind): the folder search with settings.
FolderWalk HeadlessFolderWalk(const FolderSearchSettings& settings);

// The folder the folder search starts from: one trailing separator removed;
// the root stays "/".
QString SearchStart(QString folder);

} // namespace tz
