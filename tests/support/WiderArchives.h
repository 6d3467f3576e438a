#pragma once
// Archives of the wider set made for the tests: 7z and tar archives written
// by the tools that make them (7z, tar with gzip, bzip2 or xz), and RAR 4
// archives with stored members written byte by byte, as no free tool makes
// RAR archives.
#include <QByteArray>
#include <QList>
#include <QString>

namespace tz::test {

struct ArchivedFile {
    QByteArray name; // the name's bytes; "/" separates folders
    QByteArray data;
};

// Writes the files into a fresh folder and packs them with the tool chosen by
// the archive's extension: ".7z" with 7z, ".tar", ".tgz", ".tar.gz",
// ".tar.bz2" and ".tar.xz" with tar. False when the tool is missing or
// fails.
bool PackWithTool(const QString& archive, const QList<ArchivedFile>& files);
// Whether the tool for that archive is installed.
bool HasPackingTool(const QString& archive);

// A RAR 4 archive (marker, archive header, one stored file header per file,
// end block) with the header and file CRCs. Names are stored as their bytes,
// without the Unicode flag, as archivers on Japanese Windows wrote them.
QByteArray StoredRar(const QList<ArchivedFile>& files);

} // namespace tz::test
