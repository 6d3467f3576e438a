#pragma once
// Test fonts built byte by byte: sfnt files and collections with chosen
// `name` records, and MacBinary wrappers around them.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace tz::test {

struct SfntName {
    quint16 platformId = 3;
    quint16 encodingId = 1;
    quint16 languageId = 0x0409;
    quint16 nameId = 1;
    QByteArray bytes; // the string as stored
};

QByteArray Utf16BE(const QString& text);
// A Windows Unicode record (platform 3, encoding 1).
SfntName WindowsName(quint16 nameId, const QString& text, quint16 languageId = 0x0409);
// A Macintosh Roman record (platform 1, encoding 0, language 0).
SfntName MacName(quint16 nameId, const QByteArray& bytes);

// A format-0 `name` table holding the records in the given order, each
// string stored after the previous one. The string storage starts with the
// prefix (2 zero bytes unless given), so by default no record's string lies
// at offset 0.
QByteArray NameTable(const QList<SfntName>& names, const QByteArray& storagePrefix = QByteArray(2, '\0'));

struct SfntTableRecord {
    QByteArray tag;
    quint32 offset = 0;
    quint32 length = 0;
};

// A file image written at chosen positions; writing past the end grows it
// with zero bytes.
class SfntWriter {
public:
    QByteArray bytes;

    void PutU16(qsizetype position, quint16 value);
    void PutU32(qsizetype position, quint32 value);
    void PutBytes(qsizetype position, const QByteArray& data);
    // Appends data at the next 4-byte boundary; returns its offset.
    quint32 Append(const QByteArray& data);
    // The "ttcf" header at offset 0: version 1.0, the font count, the offsets.
    void CollectionHeader(quint32 fontCount, const QList<quint32>& offsets);
    // An offset table at position; numTables is the record count unless declared.
    void OffsetTable(qsizetype position, const QList<SfntTableRecord>& records, quint32 sfntVersion = 0x00010000,
        std::optional<quint16> declaredTableCount = std::nullopt);
};

// A single-face file: offset table at 0 with one "name" record.
QByteArray BuildFont(const QList<SfntName>& names, quint32 sfntVersion = 0x00010000);
// The same around a name table given as bytes.
QByteArray BuildFontWithNameTable(const QByteArray& nameTable, quint32 sfntVersion = 0x00010000);
// A collection whose offset tables follow the header back to back.
QByteArray BuildCollection(const QList<QList<SfntName>>& faces);
// A hostile collection: faceCount offset tables back to back, every one
// pointing at the same name table, whose family and face names are each
// nameUnits UTF-16 units long; the header declares declaredCount faces.
QByteArray BuildNameBombCollection(int faceCount, int nameUnits, quint32 declaredCount);

struct SfntTable {
    QByteArray tag;
    QByteArray data;
};

// A single-face file holding the tables in the given order.
QByteArray BuildFontWithTables(const QList<SfntTable>& tables);
// A collection of faces holding the given tables; a table whose bytes equal
// one already written is shared, as collections share tables.
QByteArray BuildCollectionWithTables(const QList<QList<SfntTable>>& faces);

// Characters first to last mapped to glyphs firstGlyph, firstGlyph + 1, ...
struct CmapRange {
    char32_t first = 0;
    char32_t last = 0;
    quint16 firstGlyph = 1;
};

// Format 4 with one segment per range (16-bit characters), the closing
// 0xFFFF segment added. With glyphArray, segments take their glyphs from the
// glyph array (idRangeOffset) instead of idDelta.
QByteArray CmapFormat4(const QList<CmapRange>& ranges, bool glyphArray = false);
// Format 12 with one group per range.
QByteArray CmapFormat12(const QList<CmapRange>& ranges);

struct VariationRecord {
    char32_t selector = 0;
    QList<CmapRange> defaults; // drawn by the base's glyph (firstGlyph unused)
    QList<QPair<char32_t, quint16>> mappings; // glyphs of their own
};
QByteArray CmapFormat14(const QList<VariationRecord>& records);

struct CmapSubtable {
    quint16 platformId = 3;
    quint16 encodingId = 1;
    QByteArray data;
};
QByteArray CmapTable(const QList<CmapSubtable>& subtables);

// A face with the cmap, a `head` table whose fontRevision field holds the
// version bytes, and a name table with the family and face names.
QByteArray BuildFaceWithCmap(const QString& family, const QString& face, const QByteArray& cmap,
    const QByteArray& version = "1.0");

struct MacBinarySpec {
    QByteArray font; // the first resource
    QByteArray fileType = "FFIL";
    quint8 oldVersion = 0;
    QByteArray dataFork;
    bool padDataFork = false; // pad to 128 bytes as MacBinary writers do
    std::optional<quint32> resourceForkLength; // the real length unless given
};

QByteArray BuildMacBinary(const MacBinarySpec& spec);

} // namespace tz::test
