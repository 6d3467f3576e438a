#include "SfntWriter.h"

#include <algorithm>

namespace tz::test {

QByteArray Utf16BE(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return bytes;
}

SfntName WindowsName(quint16 nameId, const QString& text, quint16 languageId)
{
    return { 3, 1, languageId, nameId, Utf16BE(text) };
}

SfntName MacName(quint16 nameId, const QByteArray& bytes) { return { 1, 0, 0, nameId, bytes }; }

QByteArray NameTable(const QList<SfntName>& names, const QByteArray& storagePrefix)
{
    SfntWriter table;
    const quint16 stringOffset = quint16(6 + 12 * names.size());
    table.PutU16(0, 0); // format
    table.PutU16(2, quint16(names.size()));
    table.PutU16(4, stringOffset);
    QByteArray storage = storagePrefix;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const SfntName& name = names[i];
        const qsizetype record = 6 + 12 * i;
        table.PutU16(record, name.platformId);
        table.PutU16(record + 2, name.encodingId);
        table.PutU16(record + 4, name.languageId);
        table.PutU16(record + 6, name.nameId);
        table.PutU16(record + 8, quint16(name.bytes.size()));
        table.PutU16(record + 10, quint16(storage.size()));
        storage.append(name.bytes);
    }
    table.PutBytes(stringOffset, storage);
    return table.bytes;
}

void SfntWriter::PutBytes(qsizetype position, const QByteArray& data)
{
    if (bytes.size() < position + data.size())
        bytes.resize(position + data.size(), '\0');
    bytes.replace(position, data.size(), data);
}

void SfntWriter::PutU16(qsizetype position, quint16 value)
{
    const char pair[2] = { char(value >> 8), char(value & 0xFF) };
    PutBytes(position, QByteArray(pair, 2));
}

void SfntWriter::PutU32(qsizetype position, quint32 value)
{
    PutU16(position, quint16(value >> 16));
    PutU16(position + 2, quint16(value & 0xFFFF));
}

quint32 SfntWriter::Append(const QByteArray& data)
{
    const qsizetype position = (bytes.size() + 3) & ~qsizetype(3);
    PutBytes(position, data);
    return quint32(position);
}

void SfntWriter::CollectionHeader(quint32 fontCount, const QList<quint32>& offsets)
{
    PutBytes(0, "ttcf");
    PutU32(4, 0x00010000);
    PutU32(8, fontCount);
    for (qsizetype i = 0; i < offsets.size(); ++i)
        PutU32(12 + 4 * i, offsets[i]);
}

void SfntWriter::OffsetTable(qsizetype position, const QList<SfntTableRecord>& records, quint32 sfntVersion,
    std::optional<quint16> declaredTableCount)
{
    PutU32(position, sfntVersion);
    PutU16(position + 4, declaredTableCount.value_or(quint16(records.size())));
    PutU16(position + 6, 16); // searchRange, entrySelector, rangeShift: not read
    PutU16(position + 8, 0);
    PutU16(position + 10, 0);
    for (qsizetype i = 0; i < records.size(); ++i) {
        const qsizetype record = position + 12 + 16 * i;
        PutBytes(record, records[i].tag.leftJustified(4, ' ', true));
        PutU32(record + 4, 0); // checkSum
        PutU32(record + 8, records[i].offset);
        PutU32(record + 12, records[i].length);
    }
}

QByteArray BuildFontWithNameTable(const QByteArray& nameTable, quint32 sfntVersion)
{
    SfntWriter font;
    font.bytes = QByteArray(12 + 16, '\0');
    font.OffsetTable(0, { { "name", font.Append(nameTable), quint32(nameTable.size()) } }, sfntVersion);
    return font.bytes;
}

QByteArray BuildFont(const QList<SfntName>& names, quint32 sfntVersion)
{
    return BuildFontWithNameTable(NameTable(names), sfntVersion);
}

QByteArray BuildCollection(const QList<QList<SfntName>>& faces)
{
    SfntWriter font;
    const quint32 first = quint32(12 + 4 * faces.size());
    constexpr quint32 kOffsetTableSize = 12 + 16;
    QList<quint32> offsets;
    for (qsizetype i = 0; i < faces.size(); ++i)
        offsets.append(first + kOffsetTableSize * quint32(i));
    font.CollectionHeader(quint32(faces.size()), offsets);
    font.bytes.resize(first + kOffsetTableSize * faces.size(), '\0');
    for (qsizetype i = 0; i < faces.size(); ++i) {
        const QByteArray table = NameTable(faces[i]);
        font.OffsetTable(offsets[i], { { "name", font.Append(table), quint32(table.size()) } });
    }
    return font.bytes;
}

QByteArray BuildNameBombCollection(int faceCount, int nameUnits, quint32 declaredCount)
{
    SfntWriter font;
    constexpr quint32 kFirst = 16;
    constexpr quint32 kOffsetTableSize = 12 + 16;
    font.CollectionHeader(declaredCount, { kFirst });
    font.bytes.resize(kFirst + kOffsetTableSize * faceCount, '\0');
    const QByteArray table = NameTable(
        { WindowsName(1, QString(nameUnits, u'F')), WindowsName(4, QString(nameUnits, u'N')) });
    const quint32 offset = font.Append(table);
    for (int i = 0; i < faceCount; ++i)
        font.OffsetTable(kFirst + kOffsetTableSize * i, { { "name", offset, quint32(table.size()) } });
    return font.bytes;
}

namespace {

    // Offset tables for every face at the start (after the header), tables
    // appended and shared when equal.
    QByteArray WriteFaces(const QList<QList<SfntTable>>& faces, bool collection)
    {
        SfntWriter font;
        const quint32 header = collection ? quint32(12 + 4 * faces.size()) : 0;
        QList<quint32> offsets;
        quint32 next = header;
        for (const QList<SfntTable>& tables : faces) {
            offsets.append(next);
            next += quint32(12 + 16 * tables.size());
        }
        if (collection)
            font.CollectionHeader(quint32(faces.size()), offsets);
        font.bytes.resize(next, '\0');
        QList<QPair<QByteArray, quint32>> written;
        for (qsizetype f = 0; f < faces.size(); ++f) {
            QList<SfntTableRecord> records;
            for (const SfntTable& table : faces[f]) {
                quint32 offset = 0;
                const auto same = std::find_if(written.begin(), written.end(), [&](const auto& w) { return w.first == table.data; });
                if (same != written.end()) {
                    offset = same->second;
                } else {
                    offset = font.Append(table.data);
                    written.append({ table.data, offset });
                }
                records.append({ table.tag, offset, quint32(table.data.size()) });
            }
            font.OffsetTable(offsets[f], records);
        }
        return font.bytes;
    }

    void PutU24(SfntWriter& writer, qsizetype position, char32_t value)
    {
        writer.PutU16(position, quint16(value >> 8));
        writer.PutBytes(position + 2, QByteArray(1, char(value & 0xFF)));
    }

} // namespace

QByteArray BuildFontWithTables(const QList<SfntTable>& tables) { return WriteFaces({ tables }, false); }

QByteArray BuildCollectionWithTables(const QList<QList<SfntTable>>& faces) { return WriteFaces(faces, true); }

QByteArray CmapFormat4(const QList<CmapRange>& ranges, bool glyphArray)
{
    QList<CmapRange> segments = ranges;
    segments.append({ 0xFFFF, 0xFFFF, 0 });
    const qsizetype count = segments.size();
    SfntWriter table;
    const qsizetype ends = 14, starts = ends + 2 * count + 2, deltas = starts + 2 * count, rangeOffsets = deltas + 2 * count;
    qsizetype glyphs = rangeOffsets + 2 * count;
    table.PutU16(0, 4);
    table.PutU16(6, quint16(2 * count));
    for (qsizetype i = 0; i < count; ++i) {
        const CmapRange& r = segments[i];
        table.PutU16(ends + 2 * i, quint16(r.last));
        table.PutU16(starts + 2 * i, quint16(r.first));
        const bool closing = i == count - 1;
        if (glyphArray && !closing) {
            table.PutU16(rangeOffsets + 2 * i, quint16(glyphs - (rangeOffsets + 2 * i)));
            for (char32_t c = r.first; c <= r.last; ++c, glyphs += 2)
                table.PutU16(glyphs, quint16(r.firstGlyph + (c - r.first)));
        } else {
            table.PutU16(deltas + 2 * i, closing ? 1 : quint16(r.firstGlyph - r.first));
        }
    }
    table.PutU16(glyphs, 0); // the table ends after the glyph array
    table.PutU16(2, quint16(table.bytes.size()));
    return table.bytes;
}

QByteArray CmapFormat12(const QList<CmapRange>& ranges)
{
    SfntWriter table;
    table.PutU16(0, 12);
    table.PutU32(4, quint32(16 + 12 * ranges.size()));
    table.PutU32(12, quint32(ranges.size()));
    for (qsizetype i = 0; i < ranges.size(); ++i) {
        table.PutU32(16 + 12 * i, ranges[i].first);
        table.PutU32(20 + 12 * i, ranges[i].last);
        table.PutU32(24 + 12 * i, ranges[i].firstGlyph);
    }
    return table.bytes;
}

QByteArray CmapFormat14(const QList<VariationRecord>& records)
{
    SfntWriter table;
    table.PutU16(0, 14);
    table.PutU32(6, quint32(records.size()));
    table.bytes.resize(10 + 11 * records.size(), '\0');
    for (qsizetype i = 0; i < records.size(); ++i) {
        const VariationRecord& r = records[i];
        const qsizetype record = 10 + 11 * i;
        PutU24(table, record, r.selector);
        if (!r.defaults.isEmpty()) {
            const qsizetype list = table.bytes.size();
            table.PutU32(record + 3, quint32(list));
            table.PutU32(list, quint32(r.defaults.size()));
            for (qsizetype k = 0; k < r.defaults.size(); ++k) {
                PutU24(table, list + 4 + 4 * k, r.defaults[k].first);
                table.PutBytes(list + 7 + 4 * k, QByteArray(1, char(r.defaults[k].last - r.defaults[k].first)));
            }
        }
        if (!r.mappings.isEmpty()) {
            const qsizetype list = table.bytes.size();
            table.PutU32(record + 7, quint32(list));
            table.PutU32(list, quint32(r.mappings.size()));
            for (qsizetype k = 0; k < r.mappings.size(); ++k) {
                PutU24(table, list + 4 + 5 * k, r.mappings[k].first);
                table.PutU16(list + 7 + 5 * k, r.mappings[k].second);
            }
        }
    }
    table.PutU32(2, quint32(table.bytes.size()));
    return table.bytes;
}

QByteArray CmapTable(const QList<CmapSubtable>& subtables)
{
    SfntWriter table;
    table.PutU16(2, quint16(subtables.size()));
    table.bytes.resize(4 + 8 * subtables.size(), '\0');
    for (qsizetype i = 0; i < subtables.size(); ++i) {
        table.PutU16(4 + 8 * i, subtables[i].platformId);
        table.PutU16(6 + 8 * i, subtables[i].encodingId);
        table.PutU32(8 + 8 * i, table.Append(subtables[i].data));
    }
    return table.bytes;
}

QByteArray BuildFaceWithCmap(const QString& family, const QString& face, const QByteArray& cmap, const QByteArray& version)
{
    return BuildFontWithTables({ { "cmap", cmap }, { "head", QByteArray(54, '\0').replace(4, version.size(), version) },
        { "name", NameTable({ WindowsName(1, family), WindowsName(4, face) }) } });
}

QByteArray BuildMacBinary(const MacBinarySpec& spec)
{
    // Resource fork: the 16-byte header (data offset, map offset, data
    // length, map length), the data area at offset 256 holding the one
    // resource (length, bytes), then an empty 30-byte map.
    constexpr quint32 kDataArea = 256;
    SfntWriter fork;
    const quint32 dataLength = 4 + quint32(spec.font.size());
    fork.PutU32(0, kDataArea);
    fork.PutU32(4, kDataArea + dataLength);
    fork.PutU32(8, dataLength);
    fork.PutU32(12, 30);
    fork.PutU32(kDataArea, quint32(spec.font.size()));
    fork.PutBytes(kDataArea + 4, spec.font);
    fork.PutBytes(kDataArea + dataLength, QByteArray(30, '\0'));

    SfntWriter file;
    file.PutBytes(0, QByteArray(128, '\0'));
    file.bytes[0] = char(spec.oldVersion);
    file.bytes[1] = 4;
    file.PutBytes(2, "font");
    file.PutBytes(65, spec.fileType.leftJustified(4, ' ', true));
    file.PutBytes(69, "movr"); // creator
    file.PutU32(83, quint32(spec.dataFork.size()));
    file.PutU32(87, spec.resourceForkLength.value_or(quint32(fork.bytes.size())));
    QByteArray dataFork = spec.dataFork;
    if (spec.padDataFork)
        dataFork.resize((dataFork.size() + 127) / 128 * 128, '\0');
    file.PutBytes(128, dataFork);
    file.PutBytes(128 + dataFork.size(), fork.bytes);
    return file.bytes;
}

} // namespace tz::test
