#pragma once
// What became of one path given to the adding commands: rows were added, or
// why none was. The commands list the paths that added nothing, each with its
// reason, at their end.
#include "fontfile/FontFileReader.h"

#include <QList>
#include <QString>

namespace tz {

enum class AddOutcome {
    Added,
    NotFont,
    CffOutlines,
    Damaged,
    Unreadable,
    NoFonts, // an archive or folder holding no font that could be added
    TooLarge, // an archive member refused before extraction for its size
};

// The outcome of naming a file that gave no face.
AddOutcome OutcomeOf(FaceProblem problem);

// The reason in a few words, shown beside the file's name.
QString ReasonText(AddOutcome outcome);

struct NotAddedFile {
    QString Name; // the last path component
    AddOutcome Reason = AddOutcome::NotFont;
};
using NotAddedFiles = QList<NotAddedFile>;

} // namespace tz
