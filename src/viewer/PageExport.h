#pragma once
// Export of the viewer's pages: the current page as a PNG, BMP or PDF file,
// every page of the run as a numbered series of PNG or BMP files. Page files
// are decompressed from the work folder when needed.
#include <QImage>
#include <QString>

namespace tz {

class TPNGImage;

// The save dialogs' file types, numbered as the filter lists them.
inline constexpr int kTypePng = 1;
inline constexpr int kTypeBmp = 2;
inline constexpr int kTypePdf = 3;

// "Portable Network Graphics(*.png)|*.png|ビットマップ(*.bmp)|*.bmp|すべてのファイル(*.*)|*.*"
// as Qt name filters.
QStringList SaveFilters();
// The default extension of the current-page dialog for a file type.
QString DefaultSuffixOf(int fileType);

enum class SaveFormat { Png, Bmp, Pdf };
// By the name's extension: ".pdf", ".bmp", anything else (or none) PNG.
SaveFormat SaveFormatOf(const QString& fileName);

// Writes a page image as BMP or PNG under the name atomically; false with
// the toolkit's reason otherwise.
bool SaveBitmapFile(const QImage& page, const QString& fileName, SaveFormat format, TPNGImage& png, QString* error);

// The file that save-all writes for page n: for the bitmap type the chosen
// name followed by "%04d.bmp", for any other type "tzsm%04d.png" in the
// chosen name's folder.
QString SaveAllName(const QString& chosenName, int fileType, int pageNumber);

// Loads page n of the work folder (decompressed, loaded, the BMP deleted);
// a null image when the page file is missing or damaged.
QImage LoadPage(const QString& workFolder, int pageNumber);

// Writes every page 1 … pageCount; a page that can't be decompressed is
// skipped. Stops at the first file that can't be written: false with the
// reason.
bool SaveAllPages(
    const QString& workFolder, int pageCount, const QString& chosenName, int fileType, TPNGImage& png, QString* error);

} // namespace tz
