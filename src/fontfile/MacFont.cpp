#include "fontfile/MacFont.h"

#include "fontfile/FontFileLog.h"
#include "fontfile/RegularFile.h"

#include <cstring>
#include <optional>

namespace tz {

namespace {

    constexpr std::size_t kHeaderSize = 128;
    constexpr std::size_t kBlockSize = 4096;

    // MacBinary header fields: old version number (must be 0), file type,
    // data fork length, resource fork length.
    constexpr std::size_t kFileTypeOffset = 65;
    constexpr std::size_t kDataForkLengthOffset = 83;
    constexpr std::size_t kResourceForkLengthOffset = 87;

    bool IsFontType(const unsigned char* type)
    {
        return std::memcmp(type, "tfil", 4) == 0 || std::memcmp(type, "FFIL", 4) == 0;
    }

    // Copies `length` bytes from `position` in blocks of 4096 bytes; returns
    // the count of bytes copied. A block that can't be read whole is not
    // written, and nothing after it could be read either; a short write ends
    // the copy too.
    quint64 CopyBlocks(const RegularFile& source, quint64 position, quint32 length, RegularFile& target)
    {
        unsigned char block[kBlockSize];
        quint64 copied = 0;
        quint32 left = length;
        while (left > 0) {
            const std::size_t want = left >= kBlockSize ? kBlockSize : left;
            if (source.ReadAt(position + copied, block, want) != want)
                break;
            if (!target.Append(block, want))
                break;
            copied += want;
            left -= quint32(want);
        }
        return copied;
    }

} // namespace

quint32 ReadBigEndianU32(const unsigned char* bytes)
{
    return (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) | quint32(bytes[3]);
}

namespace {

    // Where the font lies in a MacBinary font file: the first resource of the
    // resource fork. None when the file is not one.
    struct MacFontPlace {
        quint64 position;
        quint32 length;
    };
    std::optional<MacFontPlace> LocateMacFont(const RegularFile& in)
    {
        unsigned char header[kHeaderSize];
        if (in.ReadAt(0, header, kHeaderSize) != kHeaderSize || header[0] != 0 || !IsFontType(header + kFileTypeOffset)
            || ReadBigEndianU32(header + kResourceForkLengthOffset) == 0)
            return std::nullopt;
        // The resource fork starts right after the data fork, its length taken
        // as it stands (not rounded up to 128 bytes).
        const quint64 resourceFork = kHeaderSize + quint64(ReadBigEndianU32(header + kDataForkLengthOffset));
        unsigned char forkHeader[16];
        if (in.ReadAt(resourceFork, forkHeader, sizeof forkHeader) != sizeof forkHeader)
            return std::nullopt;
        const quint64 firstResource = resourceFork + ReadBigEndianU32(forkHeader);
        unsigned char lengthBytes[4];
        if (in.ReadAt(firstResource, lengthBytes, sizeof lengthBytes) != sizeof lengthBytes)
            return std::nullopt;
        return MacFontPlace { firstResource + 4, ReadBigEndianU32(lengthBytes) };
    }

    bool Created(const RegularFile& out, const QString& target)
    {
        if (!out.IsOpen())
            qCDebug(lcFontFile) << "cannot create" << target;
        return out.IsOpen();
    }

    bool CopyFont(const RegularFile& in, const std::optional<MacFontPlace>& font, RegularFile& out)
    {
        return font && CopyBlocks(in, font->position, font->length, out) == font->length;
    }

} // namespace

bool ExtractMacFont(const QString& source, const QString& target)
{
    const RegularFile in(source, RegularFile::Mode::Read);
    if (!in.IsOpen())
        return false;
    RegularFile out(target, RegularFile::Mode::CreateTruncate);
    return Created(out, target) && CopyFont(in, LocateMacFont(in), out);
}

bool ExtractMacFont(const RegularFile& in, const QString& target)
{
    const std::optional<MacFontPlace> font = LocateMacFont(in);
    if (!font)
        return false;
    RegularFile out(target, RegularFile::Mode::CreateTruncate);
    return Created(out, target) && CopyFont(in, font, out);
}

} // namespace tz
