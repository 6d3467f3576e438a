#include "fontfile/MacFont.h"

#include "fontfile/ByteOrder.h"
#include "fontfile/FontFileLog.h"
#include "fontfile/RegularFile.h"

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

    bool IsFontType(const BigEndianView& header)
    {
        return header.HasTag(kFileTypeOffset, "tfil") || header.HasTag(kFileTypeOffset, "FFIL");
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

    // Where the font lies in a MacBinary font file: the first resource of the
    // resource fork. None when the file is not one.
    struct MacFontPlace {
        quint64 position;
        quint32 length;
    };
    std::optional<MacFontPlace> LocateMacFont(const RegularFile& in)
    {
        unsigned char headerBytes[kHeaderSize];
        const BigEndianView header(headerBytes, sizeof headerBytes);
        if (in.ReadAt(0, headerBytes, kHeaderSize) != kHeaderSize || header.U8(0) != 0 || !IsFontType(header)
            || header.U32(kResourceForkLengthOffset) == 0)
            return std::nullopt;
        // The resource fork starts right after the data fork, its length taken
        // as it stands (not rounded up to 128 bytes).
        const quint64 resourceFork = kHeaderSize + quint64(header.U32(kDataForkLengthOffset));
        unsigned char forkHeader[16];
        if (in.ReadAt(resourceFork, forkHeader, sizeof forkHeader) != sizeof forkHeader)
            return std::nullopt;
        const quint64 firstResource = resourceFork + BigEndianView(forkHeader, sizeof forkHeader).U32(0);
        unsigned char lengthBytes[4];
        if (in.ReadAt(firstResource, lengthBytes, sizeof lengthBytes) != sizeof lengthBytes)
            return std::nullopt;
        return MacFontPlace { firstResource + 4, BigEndianView(lengthBytes, sizeof lengthBytes).U32(0) };
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
