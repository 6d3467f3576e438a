#include "fontfile/SfntImage.h"

#include "fontfile/ByteOrder.h"

#include <algorithm>

namespace tz {

namespace {

    constexpr std::size_t kHeaderSize = 12;
    constexpr std::size_t kRecordSize = 16;

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

    void PadToFour(QByteArray& bytes) { bytes.append(QByteArray((4 - bytes.size() % 4) % 4, '\0')); }

} // namespace

quint32 TableChecksum(const QByteArray& data)
{
    const BigEndianView view(reinterpret_cast<const unsigned char*>(data.constData()), std::size_t(data.size()));
    quint32 sum = 0;
    std::size_t i = 0;
    for (; i + 4 <= std::size_t(data.size()); i += 4)
        sum += view.U32(i);
    quint32 last = 0;
    for (std::size_t k = 0; k < 4; ++k)
        last = (last << 8) | view.U8(i + k);
    return i < std::size_t(data.size()) ? sum + last : sum;
}

QByteArray AssembleSfnt(quint32 sfntVersion, std::vector<SfntTableData> tables)
{
    std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
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
        const SfntTableData& table = tables[i];
        const std::size_t record = kHeaderSize + i * kRecordSize;
        PutU32(out, record, table.tag);
        PutU32(out, record + 4, table.checksum);
        PutU32(out, record + 8, quint32(out.size()));
        PutU32(out, record + 12, quint32(table.data.size()));
        out.append(table.data);
        PadToFour(out);
    }
    return out;
}

QByteArray AssembleCollection(const std::vector<QByteArray>& faces)
{
    // As collections are laid out: the header, every face's offset table back
    // to back, then the faces' tables, each table offset moved to where that
    // face's tables now lie.
    QByteArray out(qsizetype(kHeaderSize + 4 * faces.size()), '\0');
    PutU32(out, 0, 0x74746366); // "ttcf"
    PutU32(out, 4, 0x00010000);
    PutU32(out, 8, quint32(faces.size()));
    std::vector<std::size_t> directories;
    for (std::size_t k = 0; k < faces.size(); ++k) {
        const BigEndianView view(reinterpret_cast<const unsigned char*>(faces[k].constData()), std::size_t(faces[k].size()));
        const std::size_t length = std::min<std::size_t>(kHeaderSize + view.U16(4) * kRecordSize, faces[k].size());
        directories.push_back(std::size_t(out.size()));
        PutU32(out, kHeaderSize + 4 * k, quint32(out.size()));
        out.append(faces[k].left(qsizetype(length)));
    }
    for (std::size_t k = 0; k < faces.size(); ++k) {
        PadToFour(out);
        const quint32 base = quint32(out.size());
        out.append(faces[k]);
        const BigEndianView view(reinterpret_cast<const unsigned char*>(faces[k].constData()), std::size_t(faces[k].size()));
        for (std::size_t i = 0; i < view.U16(4); ++i) {
            const std::size_t field = kHeaderSize + i * kRecordSize + 8;
            if (field + 4 > std::size_t(faces[k].size()))
                break;
            PutU32(out, directories[k] + field, view.U32(field) + base);
        }
    }
    return out;
}

} // namespace tz
