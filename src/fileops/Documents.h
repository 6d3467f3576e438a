#pragma once
// The read-me documents that come with a font, and the folders and files the
// open commands hand to the desktop. A plain font's documents are the files
// beside it that share its base name; on this case-sensitive file system a
// document belongs to the font when its name equals the font's base name
// plus the document extension, ignoring letter case. A font inside an
// archive offers the archive's document members.
#include "archive/ArchiveMember.h"
#include "fontlist/FontEntry.h"

#include <QStringList>

namespace tz {

class FontList;

// The icon of a document by its extension: 0 text (also any other), 1 word
// processor (".DOC", ".WRI", ".RTF"), 2 web page (".HTM", ".HTML"), 3 link (".URL").
int DocumentIconIndex(const QString& name);

struct FontDocuments {
    enum class Place { Missing, Archive, Folder };
    Place Where = Place::Missing;
    QString Header; // the menu's header line
    QStringList Names; // the documents as offered: member paths, or file names
    QList<ArchiveMember> Members; // inside an archive: the members, as Names
    QString Folder; // beside a plain font: the folder as on disk
    FontFormats Formats = FontFormats::Designed; // the archives read
};

FontDocuments FindDocuments(const FontEntry& entry, FontFormats formats = FontFormats::Designed);

// The file to open for the document at index: beside a plain font, the file
// itself; inside an archive, the member extracted into workFolder under its
// last name component, where an extensionless or ".DIZ" member is opened as a
// ".TXT" copy (an earlier copy is kept and opened). Empty when the member
// can't be extracted.
QString PrepareDocument(const FontDocuments& documents, const FontEntry& entry, int index, const QString& workFolder);

// The files behind the selected rows that exist (the archive for a member),
// in list order, one per row.
QStringList SelectedFontFiles(const FontList& list);

// The folders of the selected rows as stored (upper case, ending with "/"),
// in list order, each once ignoring case.
QStringList SelectedFolders(const FontList& list);

} // namespace tz
