#pragma once
// Turning paths into rows of the font list: archives are listed and each font
// member extracted into the work folder and named there; any other file is
// named where it lies. One row per chosen face.
#include "collect/AddOutcome.h"
#include "fontfile/FontFormats.h"

#include <QString>
#include <QStringList>

namespace tz {

class FontList;

// Which faces of a multi-face file become rows.
enum FaceSelection { kAllFaces = -1, kFirstFace = 0, kLastFace = 1 };

class FontAdder {
public:
    // formats: which font files and archives are read.
    FontAdder(FontList& list, QString workFolder, FontFormats formats = FontFormats::Designed);

    // Adds the rows of one path; reports nothing but the outcome. A stored
    // (upper-cased) path is resolved on disk first.
    AddOutcome AddPath(const QString& path, int faceSelection);
    // The same for a path that names the file as it lies on disk (an entry
    // the folder search listed): it is not resolved again.
    AddOutcome AddPathOnDisk(const QString& path, int faceSelection);
    // Names the file at readPath (as it lies on disk) and adds its faces,
    // recording shownPath and member in the rows.
    AddOutcome AddFontFile(const QString& shownPath, const QString& member, const QString& readPath, int faceSelection);

    // The paths that added nothing and why, for the closing summary, and
    // "ARCHIVE/MEMBER" for each archive member refused as too large.
    NotAddedFiles Failed;
    // Notes the file name of path in Failed.
    void NoteFailure(const QString& path, AddOutcome reason);
    // AddPath, noting the path in Failed when no row came of it. Returns
    // whether rows were added.
    bool AddPathNoting(const QString& path, int faceSelection);

    // The rows this adder has added so far.
    int RowsAdded() const { return rowsAdded_; }
    // The font files and archives this adder reads.
    FontFormats Formats() const { return formats_; }

    // The summary written when some paths added nothing: one line per name
    // with its reason ("name: reason", CR LF), then the closing line. Empty
    // when nothing failed.
    QString Summary(const QString& closingLine) const;

private:
    FontList& list_;
    QString workFolder_;
    FontFormats formats_;
    int rowsAdded_ = 0;
};

inline const QString kNotAddedFiles = QStringLiteral("以上のファイルが追加できませんでした．");
inline const QString kNotAddedFilesOrFolders = QStringLiteral("以上のファイル(フォルダ)が追加できませんでした．");

// True for the extensions that go to the archive code.
bool IsArchivePath(const QString& path, FontFormats formats = FontFormats::Designed);

} // namespace tz
