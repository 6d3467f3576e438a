#include "fontfile/MacFont.h"

#include "fontfile/FontFileLog.h"
#include "fontfile/RegularFile.h"

#include <cstring>

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

bool ExtractMacFont(const QString& source, const QString& target)
{
    const RegularFile in(source, RegularFile::Mode::Read);
    return in.IsOpen() && ExtractMacFont(in, target);
}

bool ExtractMacFont(const RegularFile& in, const QString& target)
{
    RegularFile out(target, RegularFile::Mode::CreateTruncate);
    if (!out.IsOpen()) {
        qCDebug(lcFontFile) << "cannot create" << target;
        return false;
    }
    unsigned char header[kHeaderSize];
    if (in.ReadAt(0, header, kHeaderSize) != kHeaderSize || header[0] != 0 || !IsFontType(header + kFileTypeOffset)
        || ReadBigEndianU32(header + kResourceForkLengthOffset) == 0)
        return false;
    // The resource fork starts right after the data fork, its length taken
    // as it stands (not rounded up to 128 bytes).
    const quint64 resourceFork = kHeaderSize + quint64(ReadBigEndianU32(header + kDataForkLengthOffset));
    unsigned char forkHeader[16];
    if (in.ReadAt(resourceFork, forkHeader, sizeof forkHeader) != sizeof forkHeader)
        return false;
    const quint64 firstResource = resourceFork + ReadBigEndianU32(forkHeader);
    unsigned char lengthBytes[4];
    if (in.ReadAt(firstResource, lengthBytes, sizeof lengthBytes) != sizeof lengthBytes)
        return false;
    const quint32 length = ReadBigEndianU32(lengthBytes);
    return CopyBlocks(in, firstResource + 4, length, out) == length;
}

} // namespace tz
