#pragma once
// The store of finished preview pages: each page is written as a BMP file,
// compressed into a page file ("%04d.tzg", one zlib stream of the BMP bytes)
// in the work folder, and the BMP deleted. The viewer and the export
// decompress a page file back into a BMP whenever they need the page.
#include <QString>

namespace tz {

// "<folder>/%04d.bmp" and "<folder>/%04d.tzg": at least four digits.
QString PageBitmapPath(const QString& folder, int pageNumber);
QString PageFilePath(const QString& folder, int pageNumber);

// Deflates source into destination at level 9 through two fixed 8192-byte
// buffers. False on any open, read, write or stream error. The destination is
// written beside its name and renamed over it when complete, so a failure
// leaves no partial destination and an older one as it was.
bool CompressFile(const QString& source, const QString& destination);
// Inflates a page file; a truncated or damaged stream fails.
bool DecompressFile(const QString& source, const QString& destination);

// A page file's name: four or more digits and ".tzg".
bool IsPageFileName(const QString& name);
// Deletes what the program made directly inside the folder, read-only files
// included: the page files and the extracted fonts under their fixed names.
// Anything else (the fallback folder is the executable's own) stays;
// individual failures are ignored.
void EmptyWorkFolder(const QString& folder);

} // namespace tz
