#pragma once
// Turning paths into rows of the font list: archives are listed and each font
// member extracted into the work folder and named there; any other file is
// named where it lies. One row per chosen face.
#include <QString>
#include <QStringList>

namespace tz {

class FontList;

// Which faces of a multi-face file become rows.
enum FaceSelection { kAllFaces = -1, kFirstFace = 0, kLastFace = 1 };

class FontAdder {
public:
    FontAdder(FontList& list, QString workFolder);

    // Adds the rows of one path; reports nothing (callers compare row counts).
    // A stored (upper-cased) path is resolved on disk first.
    void AddPath(const QString& path, int faceSelection);
    // The same for a path that names the file as it lies on disk (an entry
    // the folder search listed): it is not resolved again.
    void AddPathOnDisk(const QString& path, int faceSelection);
    // Names the file at readPath (as it lies on disk) and adds its faces,
    // recording shownPath and member in the rows.
    void AddFontFile(const QString& shownPath, const QString& member, const QString& readPath, int faceSelection);

    // The file names of the paths that added nothing, for the closing summary,
    // and "ARCHIVE/MEMBER" for each archive member refused as too large.
    QStringList FailedNames;
    // AddPath, noting the path's file name in FailedNames when no row came of it.
    // Returns whether rows were added.
    bool AddPathNoting(const QString& path, int faceSelection);

    // The summary shown when some paths added nothing: one name per line (CR
    // LF), then the closing line. Empty when nothing failed.
    QString Summary(const QString& closingLine) const;

private:
    FontList& list_;
    QString workFolder_;
};

inline const QString kNotAddedFiles = QStringLiteral("以上のファイルが追加できませんでした．");
inline const QString kNotAddedFilesOrFolders = QStringLiteral("以上のファイル(フォルダ)が追加できませんでした．");

// True for the extensions that go to the archive code.
bool IsArchivePath(const QString& path);

} // namespace tz
