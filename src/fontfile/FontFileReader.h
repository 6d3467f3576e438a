#pragma once
// Names every face of a font file: TrueType files, TrueType collections
// ("ttcf") and OpenType files with TrueType outlines (sfnt version
// 0x00010000). Only the collection header, the table directory and the
// `name` table are read.
// With the wider formats also OpenType with CFF or CFF2 outlines ("OTTO"),
// Apple TrueType ("true"), collections of such faces, WOFF and WOFF2 files
// (only their `name` tables decoded) and data-fork suitcases (one face per
// `sfnt` resource, read like the faces of a collection). The name records
// are chosen alike for every format.
#include "fontfile/FontFormats.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tz {

class ByteSource;
class RegularFile;
struct NamePair;

// Why a file yielded no face.
enum class FaceProblem {
    None, // faces were found
    Unreadable, // no regular file could be opened at the path
    NotFont, // no font data at all
    CffOutlines, // OpenType with PostScript (CFF) outlines, read only with the wider formats
    Damaged, // a font file whose tables or names can't be read
};

class FontFileReader {
public:
    // Fills FamilyNames and FaceNames from the file, emptied first. A file
    // that can't be opened, is not a regular file or holds no readable face
    // leaves both empty.
    void Read(const QString& path, FontFormats formats = FontFormats::Designed);
    // The same from a file already open; path is only recorded.
    void Read(const RegularFile& file, const QString& path, FontFormats formats = FontFormats::Designed);

    const QString& FileName() const { return fileName_; }
    // Parallel lists: entry i of each belongs to face i of the file.
    const QStringList& FamilyNames() const { return familyNames_; } // name ID 1
    const QStringList& FaceNames() const { return faceNames_; } // name ID 4
    // Where each named face lies in the file: faces without names are left
    // out of the lists, so entry i may name a later face than face i.
    const QList<int>& FaceIndices() const { return faceIndices_; }
    // Why no face was found; None when there are faces.
    FaceProblem Problem() const { return problem_; }
    // Whether the faces are the `sfnt` resources of a data-fork suitcase.
    bool Suitcase() const { return suitcase_; }

private:
    void ReadSfnt(const ByteSource& file, FontFormats formats);
    bool ReadWebFont(const ByteSource& file);
    bool ReadSuitcase(const RegularFile& file);
    // Appends the names, unless the names read so far reached their bound.
    void AddNames(const std::optional<NamePair>& names, int faceIndex);

    QString fileName_;
    FaceProblem problem_ = FaceProblem::None;
    bool suitcase_ = false;
    qsizetype nameCharacters_ = 0;
    QStringList familyNames_;
    QStringList faceNames_;
    QList<int> faceIndices_;
};

// The result of analysing one font file, with the fallback for Macintosh
// font files: the names of every face, whether they came from a Macintosh
// file, and the size of the file that was actually read.
struct FontFileAnalysis {
    QStringList FamilyNames;
    QStringList FaceNames;
    bool Macintosh = false;
    qint32 Size = 0;
    FaceProblem Problem = FaceProblem::None; // of the file, or of the font taken out of a Macintosh file
};

// Reads the file; when it yields no face, extracts a Macintosh font from it
// into "typozind.mac.ttx" in the work folder and reads that (deleting it
// afterwards). No face at all gives size 0. The faces of a data-fork
// suitcase count as a Macintosh file's, with the size of the suitcase.
FontFileAnalysis AnalyseFontFile(
    const QString& path, const QString& workFolder, FontFormats formats = FontFormats::Designed);

// The length of a regular file in bytes, 0 when there is none at the path.
// Lengths beyond the range of the count stop at its maximum.
qint32 FileSizeOf(const QString& path);

} // namespace tz
