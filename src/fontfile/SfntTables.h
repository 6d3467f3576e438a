#pragma once
// The sfnt structures the font file reader and the system font layer read:
// the offset table (table directory) of one face and the names of the face
// from its `name` table.
#include "fontfile/FontFormats.h"
#include "fontfile/RegularFile.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace tz {

struct TableRecord {
    quint32 offset = 0; // from the start of the file
    quint32 length = 0;
};

// sfntVersion values of faces with outlines: TrueType, OpenType CFF/CFF2,
// Apple TrueType.
constexpr quint32 kTrueTypeSfntVersion = 0x00010000;
constexpr quint32 kCffSfntVersion = 0x4F54544F; // "OTTO"
constexpr quint32 kAppleSfntVersion = 0x74727565; // "true"

// Whether the bytes start like an sfnt file with outlines or a collection.
bool StartsAsSfnt(const ByteSource& file);

// The offset table of one face, read into a fixed zeroed buffer of 524 bytes:
// the 12-byte header and at most 32 table records of 16 bytes.
class OffsetTable {
public:
    static constexpr quint32 kTrueTypeVersion = kTrueTypeSfntVersion;
    static constexpr quint32 kCffVersion = kCffSfntVersion;
    static constexpr int kMaxTables = 32;
    static constexpr std::size_t kHeaderSize = 12;
    static constexpr std::size_t kRecordSize = 16;

    // Reads the offset table at position; false when not a byte could be read.
    bool Read(const ByteSource& file, quint64 position);
    // sfntVersion: 0x00010000 for TrueType outlines, "OTTO", "true", ...
    quint32 SfntVersion() const;
    // numTables as declared, at most kMaxTables.
    int TableCount() const;
    // The first of the counted records with the tag (exact, case-sensitive).
    std::optional<TableRecord> Find(const char (&tag)[5]) const;

private:
    std::array<unsigned char, kHeaderSize + kMaxTables * kRecordSize> buffer_ {};
};

// A table tag as the number its four bytes spell.
constexpr quint32 TableTag(const char (&tag)[5])
{
    return (quint32(quint8(tag[0])) << 24) | (quint32(quint8(tag[1])) << 16) | (quint32(quint8(tag[2])) << 8)
        | quint32(quint8(tag[3]));
}

struct FaceTable {
    quint32 tag = 0;
    quint32 offset = 0; // from the start of the file
    quint32 length = 0;
};

// Every table record of face `index` of an open sfnt file (index 0) or
// collection, in the order of the directory. Nothing when there is no such
// face, its directory can't be read whole or a table lies outside the file.
std::optional<std::vector<FaceTable>> ReadFaceTables(const ByteSource& file, int index);
// The first record with the tag; nullptr when there is none.
const FaceTable* FindFaceTable(const std::vector<FaceTable>& tables, quint32 tag);
// The bytes of a table; empty when they can't be read whole.
QByteArray ReadFaceTable(const ByteSource& file, const FaceTable& table);

struct NamePair {
    QString family; // name ID 1
    QString face; // name ID 4
};

// The family and face names of the name table at file offset `position`:
// records with language 0, 0x0409 or 0x0411 qualify, the last qualifying one
// of each name ID wins, and a missing name falls back to the first 32 bytes of
// the string storage. Each name is cut after 1,024 UTF-16 code units.
// Nothing when the table can't be read or neither name has a string offset
// other than 0 (with the wider formats: no record qualifies).
std::optional<NamePair> ReadNamePair(
    const ByteSource& file, quint64 position, FontFormats formats = FontFormats::Designed);

// How many leading bytes of a name table ReadNamePair reads from it, as far
// as the given first bytes of the table tell: the header, then the records,
// then the strings of the family and face records naming takes (the first
// 32 bytes of the string storage for a name no record qualifies for). The
// first bytes are enough once the answer is no more than their size; a
// reader that decompresses the table can stop there.
quint32 NameTableReach(QByteArrayView head);

} // namespace tz
