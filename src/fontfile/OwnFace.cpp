#include "fontfile/OwnFace.h"

#include "fontfile/ByteOrder.h"
#include "fontfile/FontFileLog.h"
#include "fontfile/FontFileReader.h"
#include "fontfile/RegularFile.h"

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

    void PutU16(QByteArray& bytes, std::size_t at, quint16 value)
    {
        bytes[qsizetype(at)] = char(value >> 8);
        bytes[qsizetype(at + 1)] = char(value);
    }

    void PutU32(QByteArray& bytes, std::size_t at, quint32 value)
    {
        PutU16(bytes, at, quint16(value >> 16));
        PutU16(bytes, at + 2, quint16(value));
    }

    quint32 Checksum(const QByteArray& data)
    {
        quint32 sum = 0;
        for (std::size_t i = 0; i < std::size_t(data.size()); i += 4) {
            quint32 word = 0;
            for (std::size_t k = 0; k < 4; ++k)
                word = (word << 8) | (i + k < std::size_t(data.size()) ? quint8(data[qsizetype(i + k)]) : 0);
            sum += word;
        }
        return sum;
    }

    // A standalone sfnt of the given tables (data given per table), records
    // sorted by tag as the format asks.
    QByteArray WriteSfnt(quint32 sfntVersion, std::vector<std::pair<Table, QByteArray>> tables)
    {
        std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a.first.tag < b.first.tag; });
        const std::size_t count = tables.size();
        quint16 searchRange = 1, entrySelector = 0;
        while (searchRange * 2 <= count) {
            searchRange *= 2;
            ++entrySelector;
        }
        QByteArray out(qsizetype(kHeaderSize + count * kRecordSize), '\0');
        PutU32(out, 0, sfntVersion);
        PutU16(out, 4, quint16(count));
        PutU16(out, 6, quint16(searchRange * 16));
        PutU16(out, 8, entrySelector);
        PutU16(out, 10, quint16(count * 16 - searchRange * 16));
        for (std::size_t i = 0; i < count; ++i) {
            const auto& [table, data] = tables[i];
            const std::size_t record = kHeaderSize + i * kRecordSize;
            PutU32(out, record, table.tag);
            PutU32(out, record + 4, table.checksum);
            PutU32(out, record + 8, quint32(out.size()));
            PutU32(out, record + 12, quint32(data.size()));
            out.append(data);
            out.append(QByteArray((4 - data.size() % 4) % 4, '\0'));
        }
        return out;
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
            return i;
        if (byFace < 0)
            byFace = i;
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
    std::vector<std::pair<Table, QByteArray>> copies;
    for (const Table& table : *tables)
        copies.emplace_back(table, image.mid(qsizetype(table.offset), qsizetype(table.length)));
    return WriteSfnt(ViewOf(image).U32(*position), std::move(copies));
}

QByteArray WithNameTable(const QByteArray& face, const QByteArray& nameTable)
{
    const auto tables = ReadTables(face, 0);
    if (!tables)
        return {};
    std::vector<std::pair<Table, QByteArray>> copies;
    for (const Table& table : *tables) {
        if (table.tag != kNameTag)
            copies.emplace_back(table, face.mid(qsizetype(table.offset), qsizetype(table.length)));
    }
    copies.emplace_back(Table { kNameTag, Checksum(nameTable), 0, quint32(nameTable.size()) }, nameTable);
    return WriteSfnt(ViewOf(face).U32(0), std::move(copies));
}

OwnFaceData::OwnFaceData(const QString& path, const QString& faceName, const QString& familyName, FontFormats)
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
    if (ViewOf(image).HasTag(0, "ttcf")) {
        FontFileReader reader;
        reader.Read(path);
        index = FaceIndexOf(reader, faceName, familyName);
    }
    bytes_ = StandaloneFace(image, index);
}

QByteArray LoadOwnFace(const QString& path, const QString& faceName, const QString& familyName, FontFormats formats)
{
    const OwnFaceData data(path, faceName, familyName, formats);
    return QByteArray(data.Bytes().constData(), data.Bytes().size());
}

} // namespace tz
