#pragma once
// Archives by name: the program's own ".ZIP", ".LZH" and ".CAB"; with the
// wider set also ".7Z", ".TAR", ".TGZ", ".TAR.GZ", ".TAR.BZ2", ".TAR.XZ" and
// ".RAR". A compressed tar archive is one archive, told by its double
// extension. Self-extracting ".EXE" files are probed apart.
#include "archive/ArchiveMember.h"
#include "fontfile/FontFormats.h"

#include <QStringView>

namespace tz {

// The kind the name gives, ASCII letters in either case; None for any other
// name, ".EXE" included.
ArchiveKind ArchiveKindOfName(QStringView name, FontFormats formats);

// A self-extracting archive's name (".EXE").
bool IsExecutableName(QStringView name);

} // namespace tz
