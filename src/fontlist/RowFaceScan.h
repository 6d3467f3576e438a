#pragma once
// The faces behind the rows of a font list, for the searches over them. The
// rows are taken file by file (by file key, in the order the files first
// appear), so a file is read once however many rows name it. A file is read
// as the generation run reads it: an archive member is first extracted into
// the work folder, a Macintosh font taken out of its file there (its file
// itself is read when that fails); the face of a multi-face file is the one
// whose names the row holds. With the wider formats a WOFF, WOFF2 or
// data-fork suitcase face is read as the sfnt it decodes to.
#include "fontfile/FontFormats.h"
#include "fontfile/RegularFile.h"
#include "fontfile/SfntTables.h"
#include "platform/PathResolver.h"

#include <QHashFunctions>
#include <functional>
#include <optional>
#include <vector>

namespace tz {

class FontList;

// A face of a file on disk: the same for every path that leads to the file.
struct FaceIdentity {
    FileIdentity file;
    int index = 0;
    bool operator==(const FaceIdentity&) const = default;
};

inline size_t qHash(const FaceIdentity& face, size_t seed = 0)
{
    return qHashMulti(seed, face.file.device, face.file.inode, face.index);
}

// One face named by some rows, its data readable while it is visited.
struct RowFace {
    // The face's file, open, or the face decoded from it in memory (a WOFF,
    // WOFF2 or suitcase face with the wider formats); the tables lie there.
    const ByteSource& bytes;
    // A plain file on disk whose tables are read where they lie, which stays
    // after the visit and can be identified by its FileIdentity; false for a
    // copy in the work folder and for a face decoded in memory.
    bool onDisk;
    FileIdentity file;
    QString path; // the file read
    int index; // of the face in its file
    std::vector<FaceTable> tables;
    std::vector<int> rows; // ascending

    // Nothing for a copy in the work folder, which another file can replace.
    std::optional<FaceIdentity> Identity() const
    {
        return onDisk ? std::optional<FaceIdentity>(FaceIdentity { file, index }) : std::nullopt;
    }
};

class RowFaceScan {
public:
    // formats: the archives and font files read.
    RowFaceScan(const FontList& list, QString workFolder, FontFormats formats = FontFormats::Designed);

    // Before each file: files done, the number of files, the file's key.
    // False stops the scan there.
    std::function<bool(int done, int count, const QString& fileKey)> GoOn;

    // Visits every face some row names. Rows whose file can't be found or
    // read (an archive or member that is gone) are skipped and counted; a
    // face without a readable table directory is not visited.
    void Run(const std::function<void(const RowFace&)>& visit);

    int SkippedRows() const { return skippedRows_; }
    bool Stopped() const { return stopped_; }

private:
    void ScanFile(const std::vector<int>& rows, const std::function<void(const RowFace&)>& visit);

    const FontList& list_;
    QString workFolder_;
    FontFormats formats_;
    PathResolverCache paths_;
    int skippedRows_ = 0;
    bool stopped_ = false;
};

} // namespace tz
