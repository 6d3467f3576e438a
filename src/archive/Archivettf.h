#pragma once
// Archive access for the rest of the program: an archive is a folder of
// members whose font and document members can be listed and extracted one at
// a time. ZIP archives are read by the ZIP adapter of the archiver library when
// it is loaded, otherwise by the built-in reader; LZH and CAB archives only
// through their adapters. With the wider set of formats 7z, tar (also
// compressed) and RAR archives are read through their adapters too, and the
// font members include the wider font formats. Archive paths may be stored
// (upper-cased) paths.
#include "archive/ArchiveMember.h"
#include "archive/ArchiverLibrary.h"

#include <optional>

namespace tz {

// By the upper-cased extension (".ZIP", ".LZH", ".CAB", and those of the
// wider set, see ArchiveNames.h); an ".EXE" is probed for a ZIP (through the
// library only), then a CAB, then an LZH archive. None for a missing file or
// any other extension.
ArchiveKind KindOfArchive(const QString& archivePath, FontFormats formats = FontFormats::Designed);

// The ".TTF" and ".TTC" members, with the wider set also the wider formats.
MemberListing ListFontMembers(const QString& archivePath, FontFormats formats = FontFormats::Designed);
// The read-me members (".TXT", ".DIZ", ".DOC", ".RTF", ".WRI", ".HTM",
// ".HTML", ".URL", and a member named "LICENSE").
MemberListing ListDocumentMembers(const QString& archivePath, FontFormats formats = FontFormats::Designed);
// The file member whose name equals name ignoring ASCII case and "\\" or "/"
// (the form the font list stores, also as written on Windows), with its raw
// name for extraction.
std::optional<ArchiveMember> FindMember(
    const QString& archivePath, const QString& name, FontFormats formats = FontFormats::Designed);

// Deletes whatever is at destination, then writes the member's bytes there.
// On failure nothing is left at destination. A member that would grow beyond
// its bound (ExtractionBound) is refused as too large.
ExtractResult ExtractMember(const QString& archivePath, const ArchiveMember& member, const QString& destination,
    FontFormats formats = FontFormats::Designed);

// One archive read for adding: its path is resolved and its kind found once
// (a self-extracting archive is probed once), and members extracted in the
// order they were listed come out of one pass over an LZH or CAB archive (or
// a ZIP read through the library) instead of one pass each.
class OpenedArchive {
public:
    explicit OpenedArchive(const QString& archivePath, FontFormats formats = FontFormats::Designed);

    ArchiveKind Kind() const { return kind_; }
    MemberListing List(MemberFilter filter) const;
    // As ExtractMember.
    ExtractResult Extract(const ArchiveMember& member, const QString& destination);

private:
    QString path_; // resolved on disk
    ArchiveKind kind_;
    std::optional<ArchiverLibrary::Extraction> extraction_; // the pass of the library adapter
};

// Loads the archiver adapters from "libarchive.so.13", or from the file named
// by the environment variable TYPOSCAN_ARCHIVER_LIBRARY, with the adapters of
// the wider set; returns how many of the three for ZIP, LZH and CAB loaded.
// The main window calls it when it is created and
// FreeArchiverLibraries when it is destroyed.
int LoadArchiverLibraries();
void FreeArchiverLibraries();

} // namespace tz
