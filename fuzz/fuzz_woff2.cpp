// Fuzzes WOFF2 files: the directory, the collection directory and the Brotli
// stream; and the glyf transform directly, the input taken as a transformed
// glyf table.
#include "FontfileFuzzInput.h"
#include "WiderFormatFuzz.h"
#include "fontfile/Woff2Glyf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tz::fuzz::ReadWiderFormat(tz::fuzz::WriteInput(data, size), size);
    const QByteArray table = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const quint32 glyphs = size >= 8 ? (quint32(data[4]) << 8 | data[5]) : 0;
    const bool longOffsets = size >= 8 && (data[6] | data[7]);
    tz::ReconstructGlyf(table, (glyphs + 1) * (longOffsets ? 4 : 2));
    return 0;
}
