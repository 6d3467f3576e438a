#include "fontfile/SfntTables.h"

#include "fontfile/ByteOrder.h"
#include "platform/Text.h"

#include <algorithm>

namespace tz {

bool StartsAsSfnt(const ByteSource& file)
{
    unsigned char head[4] = {};
    file.ReadAt(0, head, sizeof head);
    const quint32 version = BigEndianView(head, sizeof head).U32(0);
    return version == TableTag("ttcf") || version == kTrueTypeSfntVersion || version == kCffSfntVersion
        || version == kAppleSfntVersion;
}

bool OffsetTable::Read(const ByteSource& file, quint64 position)
{
    buffer_.fill(0);
    return file.ReadAt(position, buffer_.data(), buffer_.size()) > 0;
}

quint32 OffsetTable::SfntVersion() const { return BigEndianView(buffer_.data(), buffer_.size()).U32(0); }

int OffsetTable::TableCount() const
{
    return std::min<int>(BigEndianView(buffer_.data(), buffer_.size()).U16(4), kMaxTables);
}

std::optional<TableRecord> OffsetTable::Find(const char (&tag)[5]) const
{
    const BigEndianView view(buffer_.data(), buffer_.size());
    for (int i = 0; i < TableCount(); ++i) {
        const std::size_t record = kHeaderSize + std::size_t(i) * kRecordSize;
        // tag, checkSum, offset, length
        if (view.HasTag(record, tag))
            return TableRecord { view.U32(record + 8), view.U32(record + 12) };
    }
    return std::nullopt;
}

std::optional<std::vector<FaceTable>> ReadFaceTables(const ByteSource& file, int index)
{
    constexpr std::size_t kCollectionHeader = 12; // "ttcf", version, numFonts
    std::array<unsigned char, kCollectionHeader> header {};
    file.ReadAt(0, header.data(), header.size());
    quint64 position = 0;
    if (BigEndianView(header.data(), header.size()).HasTag(0, "ttcf")) {
        std::array<unsigned char, 4> offset {};
        if (index < 0 || quint32(index) >= BigEndianView(header.data(), header.size()).U32(8)
            || file.ReadAt(kCollectionHeader + 4 * quint64(index), offset.data(), offset.size()) != offset.size())
            return std::nullopt;
        position = BigEndianView(offset.data(), offset.size()).U32(0);
    } else if (index != 0) {
        return std::nullopt;
    }
    const quint64 size = quint64(file.Size());
    std::array<unsigned char, OffsetTable::kHeaderSize> head {};
    if (file.ReadAt(position, head.data(), head.size()) != head.size())
        return std::nullopt;
    const std::size_t count = BigEndianView(head.data(), head.size()).U16(4);
    const std::size_t length = count * OffsetTable::kRecordSize;
    std::vector<unsigned char> records(length);
    if (length > 0 && file.ReadAt(position + head.size(), records.data(), length) != length)
        return std::nullopt;
    const BigEndianView view(records.data(), records.size());
    std::vector<FaceTable> tables;
    tables.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t record = i * OffsetTable::kRecordSize; // tag, checkSum, offset, length
        const FaceTable table { view.U32(record), view.U32(record + 8), view.U32(record + 12) };
        if (table.offset > size || size - table.offset < table.length)
            return std::nullopt;
        tables.push_back(table);
    }
    return tables;
}

const FaceTable* FindFaceTable(const std::vector<FaceTable>& tables, quint32 tag)
{
    const auto found = std::find_if(tables.begin(), tables.end(), [tag](const FaceTable& t) { return t.tag == tag; });
    return found == tables.end() ? nullptr : &*found;
}

QByteArray ReadFaceTable(const ByteSource& file, const FaceTable& table)
{
    QByteArray bytes(qsizetype(table.length), Qt::Uninitialized);
    if (file.ReadAt(table.offset, bytes.data(), std::size_t(bytes.size())) != std::size_t(bytes.size()))
        return {};
    return bytes;
}

namespace {

    constexpr std::size_t kNameHeaderSize = 6; // format, count, stringOffset
    constexpr std::size_t kNameRecordSize = 12;
    constexpr int kMaxNameRecords = 64;
    constexpr quint16 kFamilyNameId = 1;
    constexpr quint16 kFaceNameId = 4;
    constexpr quint16 kWindowsPlatform = 3;
    constexpr quint16 kMacintoshPlatform = 1;
    // No real face has a name near this long; a longer one is cut here, so a
    // hostile table of 64 KB strings costs little per face.
    constexpr qsizetype kMaxNameLength = 1024;

    // The record chosen for one name; before any record qualifies, the first
    // 32 bytes of the string storage taken as raw text.
    constexpr quint16 kStorageFallbackLength = 32;

    struct Candidate {
        quint16 platformId = 0;
        quint16 encodingId = 0;
        quint16 offset = 0;
        quint16 length = kStorageFallbackLength;
        bool qualified = false; // a record was found
    };

    bool Qualifies(quint16 languageId) { return languageId == 0 || languageId == 0x0409 || languageId == 0x0411; }

    // A Windows string: UTF-16BE, an odd last byte dropped, ending at the first
    // zero unit. A string that is no valid UTF-16 gives the empty name.
    QString DecodeWindowsName(const QByteArray& raw)
    {
        qsizetype units = raw.size() / 2;
        for (qsizetype i = 0; i < units; ++i) {
            if (raw[2 * i] == 0 && raw[2 * i + 1] == 0) {
                units = i;
                break;
            }
        }
        return DecodeUtf16BE(raw.left(2 * units)).value_or(QString());
    }

    // Any other platform: the bytes up to the first zero byte. Macintosh Roman
    // and Macintosh Japanese are decoded as such; other bytes are taken as
    // UTF-8 when they are valid UTF-8, else as Mac Roman, so that a name is
    // always valid text. ASCII comes out unchanged either way.
    QString DecodeRawName(const Candidate& candidate, const QByteArray& raw)
    {
        const QByteArray bytes = raw.left(raw.indexOf('\0') < 0 ? raw.size() : raw.indexOf('\0'));
        if (candidate.platformId == kMacintoshPlatform && candidate.encodingId == 1) {
            if (auto text = DecodeCp932(bytes))
                return *text;
        } else if (candidate.platformId != kMacintoshPlatform && IsValidUtf8(bytes)) {
            return QString::fromUtf8(bytes);
        }
        return DecodeMacRoman(bytes);
    }

    // The first kMaxNameLength code units of a name, never half a surrogate pair.
    QString Bounded(QString name)
    {
        if (name.size() <= kMaxNameLength)
            return name;
        name.truncate(name.at(kMaxNameLength - 1).isHighSurrogate() ? kMaxNameLength - 1 : kMaxNameLength);
        return name;
    }

    QString ReadName(const ByteSource& file, quint64 storage, const Candidate& candidate)
    {
        QByteArray raw(candidate.length, '\0');
        file.ReadAt(storage + candidate.offset, raw.data(), std::size_t(raw.size()));
        return Bounded(candidate.platformId == kWindowsPlatform ? DecodeWindowsName(raw) : DecodeRawName(candidate, raw));
    }

    struct NameChoice {
        Candidate family;
        Candidate face;
    };

    // The family and face records naming takes: the last record of each whose
    // language qualifies, among the first count records of the view.
    NameChoice ChooseNames(const BigEndianView& view, int count)
    {
        NameChoice choice;
        for (int i = 0; i < count; ++i) {
            const std::size_t record = kNameHeaderSize + std::size_t(i) * kNameRecordSize;
            // platformID, encodingID, languageID, nameID, length, offset
            if (!Qualifies(view.U16(record + 4)))
                continue;
            const Candidate found { view.U16(record), view.U16(record + 2), view.U16(record + 10),
                view.U16(record + 8), true };
            const quint16 nameId = view.U16(record + 6);
            if (nameId == kFamilyNameId)
                choice.family = found;
            else if (nameId == kFaceNameId)
                choice.face = found;
        }
        return choice;
    }

} // namespace

std::optional<NamePair> ReadNamePair(const ByteSource& file, quint64 position, FontFormats formats)
{
    std::array<unsigned char, kNameHeaderSize + kMaxNameRecords * kNameRecordSize> buffer {};
    if (file.ReadAt(position, buffer.data(), buffer.size()) == 0)
        return std::nullopt;
    const BigEndianView view(buffer.data(), buffer.size());
    const quint16 stringOffset = view.U16(4);
    const auto [family, face] = ChooseNames(view, std::min<int>(view.U16(2), kMaxNameRecords));
    // The program's own rule takes a string at offset 0 for no name; with the
    // wider formats a record found counts, as font compilers put a name that
    // begins the other at offset 0 for both.
    if (formats == FontFormats::All ? !family.qualified && !face.qualified : family.offset == 0 && face.offset == 0)
        return std::nullopt;
    const quint64 storage = position + stringOffset;
    return NamePair { ReadName(file, storage, family), ReadName(file, storage, face) };
}

quint32 NameTableReach(QByteArrayView head)
{
    const BigEndianView view(head);
    if (!view.Fits(0, kNameHeaderSize))
        return kNameHeaderSize;
    const int count = std::min<int>(view.U16(2), kMaxNameRecords);
    const quint32 records = quint32(kNameHeaderSize + std::size_t(count) * kNameRecordSize);
    if (!view.Fits(0, records))
        return records;
    const quint32 storage = view.U16(4);
    const auto [family, face] = ChooseNames(view, count);
    return std::max({ records, storage + family.offset + family.length, storage + face.offset + face.length });
}

} // namespace tz
