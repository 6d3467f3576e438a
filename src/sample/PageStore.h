#pragma once
// The store of finished preview pages: each page is encoded as a BMP file's
// bytes and compressed into a page file ("%04d.tzg", one zlib stream of the
// BMP bytes) in the work folder. The viewer and the export
// decompress a page file back into a BMP whenever they need the page.
#include <QImage>
#include <QString>

namespace tz {

// "<folder>/%04d.bmp" and "<folder>/%04d.tzg": at least four digits.
QString PageBitmapPath(const QString& folder, int pageNumber);
QString PageFilePath(const QString& folder, int pageNumber);

// Deflates source into destination at level 9 through two 8192-byte
// buffers (each call has buffers of its own, so pages are stored on several
// threads at once). False on any open, read, write or stream error. The destination is
// written beside its name and renamed over it when complete, so a failure
// leaves no partial destination and an older one as it was.
bool CompressFile(const QString& source, const QString& destination);
// The same for bytes in memory: the stream is the one CompressFile makes of
// a file with these bytes.
bool CompressBytes(const QByteArray& source, const QString& destination);
// Inflates a page file; a truncated or damaged stream fails.
bool DecompressFile(const QString& source, const QString& destination);

// The bytes of a BMP file of the image; empty when it can't be encoded.
QByteArray BitmapFileOf(const QImage& page);
// Stores page n's image as its page file "%04d.tzg" in the folder: the BMP
// file's bytes, compressed. False when it could not be written.
bool StorePageFile(const QString& folder, int pageNumber, const QImage& page);

// A page file's name: four or more digits and ".tzg".
bool IsPageFileName(const QString& name);
// Deletes what the program made directly inside the folder, read-only files
// included: the page files and the extracted fonts under their fixed names.
// Anything else (the fallback folder is the executable's own) stays;
// individual failures are ignored.
void EmptyWorkFolder(const QString& folder);

} // namespace tz
