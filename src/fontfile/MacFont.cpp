#include "fontfile/MacFont.h"

#include "fontfile/ByteOrder.h"
#include "fontfile/FontFileLog.h"
#include "fontfile/RegularFile.h"
#include "fontfile/SfntImage.h"
#include "fontfile/SfntTables.h"

#include <QByteArray>

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

namespace {

    // Resource fork header: dataOffset, mapOffset, dataLength, mapLength.
    constexpr std::size_t kForkHeaderSize = 16;
    // The map: a copy of the header, nextMap, fileRef, attributes, then the
    // offset of the type list.
    constexpr std::size_t kTypeListOffsetField = 24;
    constexpr std::size_t kMinMapSize = 28;
    // A map holds at most 65,536 types of 8 bytes and as many references of
    // 12 bytes per type reached by 16-bit offsets: far below this.
    constexpr quint32 kMaxMapSize = 1 << 24;
    constexpr std::size_t kTypeEntrySize = 8; // type, count - 1, offset of the reference list
    constexpr std::size_t kReferenceSize = 12; // id, name offset, attributes, 24-bit data offset, handle

    // The data of the resource at `offset` of the data area, when its length
    // word and its bytes lie whole in the area.
    std::optional<ResourceSpan> ResourceData(const ByteSource& file, quint64 area, quint32 areaLength, quint32 offset)
    {
        char length[4] = {};
        if (quint64(offset) + 4 > areaLength || file.ReadAt(area + offset, length, sizeof length) != sizeof length)
            return std::nullopt;
        const quint32 bytes = BigEndianView(QByteArrayView(length, sizeof length)).U32(0);
        if (bytes > areaLength - offset - 4)
            return std::nullopt;
        return ResourceSpan { area + offset + 4, bytes };
    }

    // One standalone sfnt per resource; nothing when one is no sfnt.
    std::optional<std::vector<QByteArray>> SuitcaseFaces(const RegularFile& in)
    {
        std::vector<QByteArray> faces;
        for (const ResourceSpan& font : SuitcaseFonts(in)) {
            QByteArray bytes(qsizetype(font.length), Qt::Uninitialized);
            if (in.ReadAt(font.position, bytes.data(), font.length) != font.length)
                return std::nullopt;
            const MemoryBytes resource(bytes);
            const auto tables = ReadFaceTables(resource, 0);
            if (!tables)
                return std::nullopt;
            std::vector<SfntTableData> copies;
            for (const FaceTable& table : *tables) {
                QByteArray data = ReadFaceTable(resource, table);
                copies.push_back({ table.tag, TableChecksum(data), std::move(data) });
            }
            faces.push_back(AssembleSfnt(BigEndianView(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                             std::size_t(bytes.size()))
                                             .U32(0),
                std::move(copies)));
        }
        if (faces.empty())
            return std::nullopt;
        return faces;
    }

    bool ExtractSuitcase(const RegularFile& in, const QString& target)
    {
        const auto faces = SuitcaseFaces(in);
        if (!faces)
            return false;
        const QByteArray font = faces->size() == 1 ? faces->front() : AssembleCollection(*faces);
        RegularFile out(target, RegularFile::Mode::CreateTruncate);
        return Created(out, target) && out.Append(font.constData(), std::size_t(font.size()));
    }

} // namespace

std::vector<ResourceSpan> SuitcaseFonts(const ByteSource& file)
{
    unsigned char header[kForkHeaderSize];
    if (file.ReadAt(0, header, sizeof header) != sizeof header)
        return {};
    const BigEndianView fork(header, sizeof header);
    const quint32 area = fork.U32(0), mapOffset = fork.U32(4), areaLength = fork.U32(8), mapLength = fork.U32(12);
    const quint64 size = quint64(file.Size());
    if (area < kForkHeaderSize || area > size || size - area < areaLength || mapOffset > size
        || size - mapOffset < mapLength || mapLength < kMinMapSize || mapLength > kMaxMapSize)
        return {};
    std::vector<unsigned char> bytes(mapLength);
    if (file.ReadAt(mapOffset, bytes.data(), bytes.size()) != bytes.size())
        return {};
    const BigEndianView map(bytes.data(), bytes.size());
    const std::size_t typeList = map.U16(kTypeListOffsetField);
    // The count is stored less one; 0xFFFF stands for an empty list.
    const std::size_t types = (map.U16(typeList) + 1) & 0xFFFF;
    std::vector<ResourceSpan> fonts;
    for (std::size_t t = 0; t < types; ++t) {
        const std::size_t entry = typeList + 2 + t * kTypeEntrySize;
        if (entry + kTypeEntrySize > mapLength)
            return {};
        if (!map.HasTag(entry, "sfnt"))
            continue;
        const std::size_t references = std::size_t(map.U16(entry + 4)) + 1;
        const std::size_t list = typeList + map.U16(entry + 6);
        for (std::size_t r = 0; r < references; ++r) {
            const std::size_t reference = list + r * kReferenceSize;
            if (reference + kReferenceSize > mapLength)
                return {};
            const auto font = ResourceData(file, area, areaLength, map.U24(reference + 5));
            if (!font)
                return {};
            fonts.push_back(*font);
        }
    }
    return fonts;
}

bool ExtractMacFont(const QString& source, const QString& target, FontFormats formats)
{
    const RegularFile in(source, RegularFile::Mode::Read);
    if (!in.IsOpen())
        return false;
    const std::optional<MacFontPlace> font = LocateMacFont(in);
    if (!font && formats == FontFormats::All && ExtractSuitcase(in, target))
        return true;
    RegularFile out(target, RegularFile::Mode::CreateTruncate);
    return Created(out, target) && CopyFont(in, font, out);
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
