#pragma once
// The PNG adapter of the export: holds one page bitmap and writes it as a PNG
// file through libpng. Bit depth and colour type come from a fixed table of
// bitmap pixel formats; monochrome bitmaps become 1-bit grey, palette bitmaps
// palette PNGs, everything else 8-bit truecolour.
#include <QImage>
#include <QString>
#include <optional>

class QIODevice;

namespace tz {

// Bits per pixel of a bitmap, as the table pairs them with PNG layouts.
enum class PixelFormat { Bits1, Bits4, Bits8, Bits15, Bits16, Bits24, Bits32, Custom };

struct PngLayout {
    int bitDepth = 8;
    int colourType = 2; // 0 grey, 2 truecolour, 3 palette
    friend bool operator==(const PngLayout&, const PngLayout&) = default;
};

// The first table row for a bitmap format; monochrome bitmaps only match grey
// rows. Nothing when no row matches.
std::optional<PngLayout> PngLayoutOf(PixelFormat format, bool monochrome);
// The reverse lookup for a PNG being read: colour types with alpha count as
// their plain type; Custom when no row matches.
PixelFormat PixelFormatOf(int bitDepth, int colourType);

// The table's pixel format of a Qt image, and whether it is monochrome.
PixelFormat PixelFormatOf(const QImage& bitmap);

class TPNGImage {
public:
    // Takes a copy of the bitmap. Formats without a layout of their own in
    // the table become 24-bit bitmaps.
    void Assign(const QImage& bitmap);
    const QImage& Bitmap() const { return bitmap_; }
    void SetInterlaced(bool interlaced) { interlaced_ = interlaced; }
    bool Interlaced() const { return interlaced_; }

    // Writes the PNG to the device; false (and nothing useful written) on
    // an empty bitmap or a write error.
    bool SaveToStream(QIODevice& device) const;
    // Writes the file atomically: on failure no file of that name is left
    // behind (an older one stays) and `error` receives the reason.
    bool SaveToFile(const QString& path, QString* error = nullptr) const;

private:
    QImage bitmap_;
    bool interlaced_ = false;
};

} // namespace tz
