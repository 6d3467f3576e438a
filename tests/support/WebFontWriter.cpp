#include "WebFontWriter.h"

#include "SfntWriter.h"

#include <QMap>
#include <algorithm>
#include <brotli/encode.h>
#include <zlib.h>

namespace tz::test {

namespace {

    quint32 U32At(const QByteArray& b, qsizetype at)
    {
        return (quint32(quint8(b[at])) << 24) | (quint32(quint8(b[at + 1])) << 16) | (quint32(quint8(b[at + 2])) << 8)
            | quint32(quint8(b[at + 3]));
    }

    quint16 U16At(const QByteArray& b, qsizetype at) { return quint16((quint8(b[at]) << 8) | quint8(b[at + 1])); }

    struct Table {
        QByteArray tag;
        quint32 offset = 0;
        quint32 length = 0;
    };

    QList<Table> TablesAt(const QByteArray& image, qsizetype position)
    {
        QList<Table> tables;
        for (int i = 0; i < U16At(image, position + 4); ++i) {
            const qsizetype record = position + 12 + 16 * i;
            tables.append({ image.mid(record, 4), U32At(image, record + 8), U32At(image, record + 12) });
        }
        return tables;
    }

    QByteArray Base128(quint32 value)
    {
        QByteArray bytes(1, char(value & 0x7F));
        while (value >>= 7)
            bytes.prepend(char(0x80 | (value & 0x7F)));
        return bytes;
    }

    QByteArray U16Bytes(quint16 value)
    {
        QByteArray bytes;
        bytes.append(char(value >> 8)).append(char(value));
        return bytes;
    }

    QByteArray U32Bytes(quint32 value) { return U16Bytes(quint16(value >> 16)) + U16Bytes(quint16(value)); }

    // A directory entry's flags and tag: the tag's number where the format
    // names it, else the tag itself; glyf and loca with their null transform
    // (3), hmtx with its transform (1) when transformed.
    QByteArray TagEntry(const QByteArray& tag, bool transformed)
    {
        static const QList<QByteArray> known { "cmap", "head", "hhea", "hmtx", "maxp", "name", "OS/2", "post", "cvt ",
            "fpgm", "glyf", "loca", "prep", "CFF ", "VORG", "EBDT", "EBLC", "gasp", "hdmx", "kern", "LTSH", "PCLT",
            "VDMX", "vhea", "vmtx", "BASE", "GDEF", "GPOS", "GSUB", "EBSC", "JSTF", "MATH", "CBDT", "CBLC", "COLR",
            "CPAL", "SVG ", "sbix", "acnt", "avar", "bdat", "bloc", "bsln", "cvar", "fdsc", "feat", "fmtx", "fvar",
            "gvar", "hsty", "just", "lcar", "mort", "morx", "opbd", "prop", "trak", "Zapf", "Silf", "Glat", "Gloc",
            "Feat", "Sill" };
        const qsizetype index = known.indexOf(tag);
        const char transform = (tag == "glyf" || tag == "loca") ? char(3 << 6) : transformed ? char(1 << 6) : 0;
        return index >= 0 ? QByteArray(1, char(index | transform)) : QByteArray(1, char(0x3F | transform)) + tag;
    }

    QByteArray TableAt(const QByteArray& image, qsizetype face, const QByteArray& tag)
    {
        for (const Table& table : TablesAt(image, face)) {
            if (table.tag == tag)
                return image.mid(table.offset, table.length);
        }
        return {};
    }

    // The hmtx transform leaving out every left side bearing: the advance
    // widths after the flags.
    QByteArray TransformedHmtx(const QByteArray& hmtx, const QByteArray& hhea)
    {
        QByteArray transformed(1, char(0x03));
        for (int k = 0; k < U16At(hhea, 34); ++k)
            transformed += hmtx.mid(4 * k, 2);
        return transformed;
    }

    // The file's length field at offset 8 after padding the file to a
    // multiple of four bytes, as both formats ask.
    void PadAndSetLength(SfntWriter& out)
    {
        out.bytes.append(QByteArray((4 - out.bytes.size() % 4) % 4, '\0'));
        out.PutU32(8, quint32(out.bytes.size()));
    }

} // namespace

QByteArray WoffOf(const QByteArray& sfnt)
{
    const QList<Table> tables = TablesAt(sfnt, 0);
    SfntWriter out;
    out.PutU32(0, 0x774F4646);
    out.PutU32(4, U32At(sfnt, 0));
    out.PutU16(12, quint16(tables.size()));
    // totalSfntSize: the header, the directory and every table padded.
    quint32 sfntSize = 12 + 16 * quint32(tables.size());
    for (const Table& table : tables)
        sfntSize += (table.length + 3) & ~3u;
    out.PutU32(16, sfntSize);
    out.PutU16(20, 1);
    out.bytes.resize(44 + 20 * tables.size(), '\0');
    for (qsizetype i = 0; i < tables.size(); ++i) {
        const QByteArray data = sfnt.mid(tables[i].offset, tables[i].length);
        QByteArray packed(qsizetype(compressBound(uLong(data.size()))), '\0');
        uLongf packedLength = uLongf(packed.size());
        compress2(reinterpret_cast<Bytef*>(packed.data()), &packedLength,
            reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()), 9);
        const QByteArray stored = qsizetype(packedLength) < data.size() ? packed.left(qsizetype(packedLength)) : data;
        const qsizetype record = 44 + 20 * i;
        out.PutBytes(record, tables[i].tag);
        out.PutU32(record + 4, out.Append(stored));
        out.PutU32(record + 8, quint32(stored.size()));
        out.PutU32(record + 12, quint32(data.size()));
        out.PutU32(record + 16, U32At(sfnt, 12 + 16 * i + 4)); // the table's checksum
    }
    PadAndSetLength(out);
    return out.bytes;
}

QByteArray Woff2Of(const QByteArray& image, Woff2Hmtx hmtx)
{
    const bool collection = image.startsWith("ttcf");
    QList<qsizetype> faces;
    for (quint32 k = 0; k < (collection ? U32At(image, 8) : 1); ++k)
        faces.append(collection ? U32At(image, 12 + 4 * k) : 0);
    // Every distinct table once, in the order first met.
    QList<Table> tables;
    QMap<QPair<quint32, QByteArray>, int> indexOf;
    QList<QList<int>> faceTables;
    for (const qsizetype face : faces) {
        faceTables.append(QList<int>());
        // Sorted by tag, loca right after glyf: readers of WOFF2 collections
        // ask for the two next to each other in the directory.
        QList<Table> sorted = TablesAt(image, face);
        const auto key = [](const Table& t) { return t.tag == "loca" ? QByteArray("glyf+") : t.tag; };
        std::stable_sort(sorted.begin(), sorted.end(), [&](const Table& a, const Table& b) { return key(a) < key(b); });
        for (const Table& table : sorted) {
            const auto key = qMakePair(table.offset, table.tag);
            if (!indexOf.contains(key)) {
                indexOf.insert(key, int(tables.size()));
                tables.append(table);
            }
            faceTables.last().append(indexOf.value(key));
        }
    }
    QByteArray directory, stream;
    for (const Table& table : tables) {
        const QByteArray data = image.mid(table.offset, table.length);
        if (table.tag == "hmtx" && hmtx == Woff2Hmtx::Transformed) {
            const QByteArray transformed = TransformedHmtx(data, TableAt(image, 0, "hhea"));
            directory += TagEntry(table.tag, true) + Base128(table.length) + Base128(quint32(transformed.size()));
            stream += transformed;
        } else {
            directory += TagEntry(table.tag, false) + Base128(table.length);
            stream += data;
        }
    }
    if (collection) {
        directory += U32Bytes(0x00010000) + QByteArray(1, char(faces.size()));
        for (qsizetype k = 0; k < faces.size(); ++k) {
            directory += QByteArray(1, char(faceTables[k].size())) + U32Bytes(U32At(image, faces[k]));
            for (const int index : faceTables[k])
                directory += QByteArray(1, char(index));
        }
    }
    QByteArray packed(qsizetype(BrotliEncoderMaxCompressedSize(std::size_t(stream.size()))), '\0');
    std::size_t packedLength = std::size_t(packed.size());
    BrotliEncoderCompress(BROTLI_DEFAULT_QUALITY, BROTLI_DEFAULT_WINDOW, BROTLI_MODE_FONT, std::size_t(stream.size()),
        reinterpret_cast<const uint8_t*>(stream.constData()), &packedLength, reinterpret_cast<uint8_t*>(packed.data()));
    SfntWriter out;
    out.PutU32(0, 0x774F4632);
    out.PutU32(4, collection ? 0x74746366 : U32At(image, 0));
    out.PutU16(12, quint16(tables.size()));
    out.PutU32(16, quint32(image.size()));
    out.PutU32(20, quint32(packedLength));
    out.PutU16(24, 1);
    out.PutBytes(48, directory);
    out.PutBytes(out.bytes.size(), packed.left(qsizetype(packedLength)));
    PadAndSetLength(out);
    return out.bytes;
}

QByteArray SuitcaseOf(const QList<QByteArray>& faces)
{
    constexpr quint32 kDataOffset = 256;
    SfntWriter data;
    QList<quint32> offsets;
    const QByteArray other = "not a font";
    data.PutU32(0, quint32(other.size()));
    data.PutBytes(4, other);
    for (const QByteArray& face : faces) {
        offsets.append(quint32(data.bytes.size()));
        data.PutU32(data.bytes.size(), quint32(face.size()));
        data.PutBytes(data.bytes.size(), face);
    }
    // The map: header copy, next map, file reference, attributes, type list
    // offset, name list offset; two types, the other one first.
    SfntWriter map;
    map.bytes.resize(28, '\0');
    map.PutU16(24, 28);
    map.PutU16(28, 1); // two types, less one
    const quint16 references = 2 + 2 * 8;
    map.PutBytes(30, "NFNT");
    map.PutU16(34, 0);
    map.PutU16(36, references);
    map.PutBytes(38, "sfnt");
    map.PutU16(42, quint16(faces.size() - 1));
    map.PutU16(44, references + 12);
    map.PutU16(28 + references, 128);
    map.PutU16(28 + references + 2, 0xFFFF);
    for (qsizetype k = 0; k < faces.size(); ++k) {
        const qsizetype entry = 28 + references + 12 * (k + 1);
        map.PutU16(entry, quint16(256 + k));
        map.PutU16(entry + 2, 0xFFFF);
        map.PutU32(entry + 4, offsets[k]); // attributes 0, then the 24-bit offset
        map.PutU32(entry + 8, 0); // handle
    }
    map.PutU16(26, quint16(map.bytes.size()));
    SfntWriter out;
    out.PutU32(0, kDataOffset);
    out.PutU32(4, kDataOffset + quint32(data.bytes.size()));
    out.PutU32(8, quint32(data.bytes.size()));
    out.PutU32(12, quint32(map.bytes.size()));
    out.PutBytes(kDataOffset, data.bytes);
    out.PutBytes(out.bytes.size(), map.bytes);
    return out.bytes;
}

} // namespace tz::test
