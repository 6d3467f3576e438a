#include "fontfile/OwnFace.h"

#include "fontfile/ByteOrder.h"
#include "fontfile/FontFileLog.h"
#include "fontfile/FontFileReader.h"
#include "fontfile/MacFont.h"
#include "fontfile/RegularFile.h"
#include "fontfile/SfntImage.h"
#include "fontfile/SfntTables.h"
#include "fontfile/WebFont.h"

#include <algorithm>
#include <optional>
#include <unistd.h>
#include <vector>

namespace tz {

namespace {

    constexpr std::size_t kHeaderSize = 12;
    constexpr std::size_t kRecordSize = 16;

    struct Table {
        quint32 tag;
        quint32 checksum;
        quint32 offset;
        quint32 length;
    };

    BigEndianView ViewOf(const QByteArray& bytes) { return BigEndianView(bytes); }

    // The offset table position of face index: from the collection header of
    // a "ttcf" image, 0 for face 0 of a single-face image.
    std::optional<quint32> FacePosition(const QByteArray& image, int index)
    {
        const BigEndianView view = ViewOf(image);
        if (!view.HasTag(0, "ttcf"))
            return index == 0 ? std::optional<quint32>(0) : std::nullopt;
        const quint32 count = view.U32(8);
        if (index < 0 || quint32(index) >= count || std::size_t(image.size()) - 12 < 4 * (std::size_t(index) + 1))
            return std::nullopt;
        return view.U32(12 + 4 * std::size_t(index));
    }

    // The table records of the face whose offset table lies at position, each
    // checked to lie inside the image.
    std::optional<std::vector<Table>> ReadTables(const QByteArray& image, quint32 position)
    {
        const BigEndianView view = ViewOf(image);
        const std::size_t size = std::size_t(image.size());
        if (position > size || size - position < kHeaderSize)
            return std::nullopt;
        const std::size_t count = view.U16(position + 4);
        if ((size - position - kHeaderSize) / kRecordSize < count)
            return std::nullopt;
        std::vector<Table> tables;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t record = position + kHeaderSize + i * kRecordSize;
            const Table table { view.U32(record), view.U32(record + 4), view.U32(record + 8), view.U32(record + 12) };
            if (table.offset > size || size - table.offset < table.length)
                return std::nullopt;
            tables.push_back(table);
        }
        return tables;
    }

    SfntTableData CopyOf(const QByteArray& image, const Table& table)
    {
        return { table.tag, table.checksum, image.mid(qsizetype(table.offset), qsizetype(table.length)) };
    }

    constexpr quint32 kNameTag = 0x6E616D65; // "name"

} // namespace

int FaceIndexOf(const FontFileReader& names, const QString& faceName, const QString& familyName)
{
    const QStringList& faces = names.FaceNames();
    int byFace = -1;
    for (int i = 0; i < faces.size(); ++i) {
        if (faces[i] != faceName)
            continue;
        if (names.FamilyNames().value(i) == familyName)
            return names.FaceIndices().value(i, i);
        if (byFace < 0)
            byFace = names.FaceIndices().value(i, i);
    }
    return std::max(byFace, 0);
}

QByteArray StandaloneFace(const QByteArray& image, int index)
{
    const auto position = FacePosition(image, index);
    if (!position)
        return {};
    if (*position == 0)
        return ReadTables(image, 0) ? image : QByteArray();
    const auto tables = ReadTables(image, *position);
    if (!tables)
        return {};
    std::vector<SfntTableData> copies;
    for (const Table& table : *tables)
        copies.push_back(CopyOf(image, table));
    return AssembleSfnt(ViewOf(image).U32(*position), std::move(copies));
}

std::optional<QByteArray> WiderFormatFace(const ByteSource& file, int index, std::span<const quint32> onlyTags)
{
    if (IsWebFont(file))
        return DecodeWebFace(file, index, onlyTags);
    if (StartsAsSfnt(file))
        return std::nullopt;
    const std::vector<ResourceSpan> fonts = SuitcaseFonts(file);
    if (fonts.empty())
        return std::nullopt;
    if (index < 0 || std::size_t(index) >= fonts.size())
        return QByteArray();
    const ResourceSpan& font = fonts[std::size_t(index)];
    QByteArray resource(qsizetype(font.length), Qt::Uninitialized);
    if (file.ReadAt(font.position, resource.data(), font.length) != font.length)
        return QByteArray();
    return StandaloneFace(resource, 0);
}

QByteArray WithNameTable(const QByteArray& face, const QByteArray& nameTable)
{
    const auto tables = ReadTables(face, 0);
    if (!tables)
        return {};
    std::vector<SfntTableData> copies;
    for (const Table& table : *tables) {
        if (table.tag != kNameTag)
            copies.push_back(CopyOf(face, table));
    }
    copies.push_back({ kNameTag, TableChecksum(nameTable), nameTable });
    return AssembleSfnt(ViewOf(face).U32(0), std::move(copies));
}

namespace {

    // Whether the faces of the file must be named to find the row's face: a
    // collection's, with the wider formats also a WOFF2 collection's and a
    // suitcase's. An sfnt, a WOFF and any other WOFF2 hold one face.
    bool HasSeveralFaces(const QByteArray& image, FontFormats formats)
    {
        if (ViewOf(image).HasTag(0, "ttcf"))
            return true;
        if (formats == FontFormats::Designed)
            return false;
        const MemoryBytes bytes(image);
        return IsWebFont(bytes) ? IsWebFontCollection(bytes) : !StartsAsSfnt(bytes);
    }

} // namespace

OwnFaceData::OwnFaceData(const QString& path, const QString& faceName, const QString& familyName, FontFormats formats)
{
    // No path: the caller has no file to read (a run drawing faces the font
    // database opened).
    if (path.isEmpty())
        return;
    const int fd = RegularFile::OpenForReading(path);
    if (fd < 0 || !file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        qCDebug(lcFontFile) << "can't read" << path;
        return;
    }
    const qint64 size = file_.size();
    const uchar* mapped = size > 0 ? file_.map(0, size) : nullptr;
    const QByteArray image = mapped ? QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(size))
                                    : file_.readAll();
    int index = 0;
    if (HasSeveralFaces(image, formats)) {
        FontFileReader reader;
        reader.Read(path, formats);
        index = FaceIndexOf(reader, faceName, familyName);
    }
    if (formats == FontFormats::All) {
        if (std::optional<QByteArray> face = WiderFormatFace(MemoryBytes(image), index)) {
            bytes_ = std::move(*face);
            return;
        }
    }
    bytes_ = StandaloneFace(image, index);
}

QByteArray LoadOwnFace(const QString& path, const QString& faceName, const QString& familyName, FontFormats formats)
{
    const OwnFaceData data(path, faceName, familyName, formats);
    return QByteArray(data.Bytes().constData(), data.Bytes().size());
}

} // namespace tz
