#include "viewer/PNGImage.h"

#include "platform/ReplacingFile.h"

#include <QCoreApplication>
#include <array>
#include <csetjmp>
#include <png.h>
#include <vector>

namespace tz {

namespace {

    struct TableRow {
        int bitDepth;
        int colourType;
        PixelFormat format;
    };

    // Searched top to bottom in both directions.
    constexpr std::array<TableRow, 10> kFormatTable { {
        { 4, PNG_COLOR_TYPE_PALETTE, PixelFormat::Bits4 },
        { 8, PNG_COLOR_TYPE_PALETTE, PixelFormat::Bits8 },
        { 8, PNG_COLOR_TYPE_RGB, PixelFormat::Bits24 },
        { 8, PNG_COLOR_TYPE_RGB, PixelFormat::Bits16 },
        { 8, PNG_COLOR_TYPE_RGB, PixelFormat::Bits15 },
        { 8, PNG_COLOR_TYPE_RGB, PixelFormat::Bits32 },
        { 1, PNG_COLOR_TYPE_GRAY, PixelFormat::Bits1 },
        { 4, PNG_COLOR_TYPE_GRAY, PixelFormat::Bits4 },
        { 8, PNG_COLOR_TYPE_GRAY, PixelFormat::Bits8 },
        { 16, PNG_COLOR_TYPE_GRAY, PixelFormat::Bits32 },
    } };

    bool IsMonochrome(const QImage& bitmap)
    {
        return bitmap.format() == QImage::Format_Mono || bitmap.format() == QImage::Format_MonoLSB;
    }

    bool HasPalette(const QImage& bitmap) { return !IsMonochrome(bitmap) && bitmap.colorCount() > 0; }

    // A page whose colour table puts white at index 0 stores ink as 1 bits,
    // the opposite of PNG grey.
    bool InkIsOne(const QImage& bitmap)
    {
        return bitmap.colorCount() >= 2 && qGray(bitmap.color(0)) > qGray(bitmap.color(1));
    }

    void WriteToDevice(png_structp png, png_bytep data, png_size_t length)
    {
        auto* device = static_cast<QIODevice*>(png_get_io_ptr(png));
        if (device->write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length))
            png_error(png, "write error");
    }

    void FlushNothing(png_structp) { }

    void StopOnError(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }

    void IgnoreWarning(png_structp, png_const_charp) { }

    // The palette entries a bitmap hands to a palette PNG of the given depth.
    std::vector<png_color> PaletteOf(const QImage& bitmap, int bitDepth)
    {
        const int count = std::min({ int(bitmap.colorCount()), 1 << bitDepth, 256 });
        std::vector<png_color> palette(std::size_t(std::max(count, 0)));
        for (int i = 0; i < count; ++i) {
            const QRgb c = bitmap.color(i);
            palette[std::size_t(i)] = png_color { png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c)) };
        }
        return palette;
    }

    // Everything the write needs, set up before the jump point so that
    // nothing with a destructor is created after it.
    struct WriteJob {
        png_structp png = nullptr;
        png_infop info = nullptr;
        std::vector<png_bytep> rows;
        std::vector<png_color> palette;
        ~WriteJob() { png_destroy_write_struct(&png, &info); }
    };

    bool RunWrite(WriteJob& job, QIODevice& device, const QImage& bitmap, PngLayout layout, bool interlaced)
    {
        if (setjmp(png_jmpbuf(job.png)))
            return false;
        png_set_write_fn(job.png, &device, WriteToDevice, FlushNothing);
        png_set_IHDR(job.png, job.info, png_uint_32(bitmap.width()), png_uint_32(bitmap.height()), layout.bitDepth,
            layout.colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
            PNG_FILTER_TYPE_DEFAULT);
        if (layout.colourType == PNG_COLOR_TYPE_PALETTE)
            png_set_PLTE(job.png, job.info, job.palette.data(), int(job.palette.size()));
        png_write_info(job.png, job.info);
        png_set_bgr(job.png);
        if (IsMonochrome(bitmap) && InkIsOne(bitmap))
            png_set_invert_mono(job.png);
        if (bitmap.format() == QImage::Format_MonoLSB)
            png_set_packswap(job.png);
        png_write_image(job.png, job.rows.data());
        png_write_end(job.png, job.info);
        return true;
    }

} // namespace

std::optional<PngLayout> PngLayoutOf(PixelFormat format, bool monochrome)
{
    for (const TableRow& row : kFormatTable) {
        if (row.format == format && (!monochrome || row.colourType == PNG_COLOR_TYPE_GRAY))
            return PngLayout { row.bitDepth, row.colourType };
    }
    return std::nullopt;
}

PixelFormat PixelFormatOf(int bitDepth, int colourType)
{
    if (colourType == PNG_COLOR_TYPE_RGB_ALPHA)
        colourType = PNG_COLOR_TYPE_RGB;
    else if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        colourType = PNG_COLOR_TYPE_GRAY;
    for (const TableRow& row : kFormatTable) {
        if (row.bitDepth == bitDepth && row.colourType == colourType)
            return row.format;
    }
    return PixelFormat::Custom;
}

PixelFormat PixelFormatOf(const QImage& bitmap)
{
    switch (bitmap.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return PixelFormat::Bits1;
    case QImage::Format_Indexed8:
        return PixelFormat::Bits8;
    case QImage::Format_BGR888:
        return PixelFormat::Bits24;
    case QImage::Format_RGB16:
        return PixelFormat::Bits16;
    case QImage::Format_RGB555:
        return PixelFormat::Bits15;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return PixelFormat::Bits32;
    default:
        return PixelFormat::Custom;
    }
}

void TPNGImage::Assign(const QImage& bitmap)
{
    const PixelFormat format = PixelFormatOf(bitmap);
    // Rows of the other formats would need converting to the PNG pixel layout.
    const bool direct = format == PixelFormat::Bits1 || format == PixelFormat::Bits8 || format == PixelFormat::Bits24;
    bitmap_ = direct || bitmap.isNull() ? bitmap.copy() : bitmap.convertToFormat(QImage::Format_BGR888);
}

bool TPNGImage::SaveToStream(QIODevice& device) const
{
    if (bitmap_.isNull())
        return false;
    PngLayout layout = PngLayoutOf(PixelFormatOf(bitmap_), IsMonochrome(bitmap_)).value_or(PngLayout {});
    if (HasPalette(bitmap_))
        layout.colourType = PNG_COLOR_TYPE_PALETTE;

    WriteJob job;
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, StopOnError, IgnoreWarning);
    if (!job.png)
        return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info)
        return false;
    if (layout.colourType == PNG_COLOR_TYPE_PALETTE)
        job.palette = PaletteOf(bitmap_, layout.bitDepth);
    job.rows.resize(std::size_t(bitmap_.height()));
    for (int y = 0; y < bitmap_.height(); ++y)
        job.rows[std::size_t(y)] = const_cast<png_bytep>(bitmap_.constScanLine(y));
    return RunWrite(job, device, bitmap_, layout, interlaced_);
}

bool TPNGImage::SaveToFile(const QString& path, QString* error) const
{
    ReplacingFile file(path);
    QString reason;
    if (!file.Open()) {
        reason = file.ErrorString();
    } else if (!SaveToStream(file.Device())) {
        reason = !file.ErrorString().isEmpty() ? file.ErrorString()
                                               : QCoreApplication::translate("QImageWriter", "Unable to write image data");
    } else if (!file.Commit()) {
        reason = file.ErrorString();
    }
    if (error)
        *error = reason;
    return reason.isEmpty();
}

} // namespace tz
