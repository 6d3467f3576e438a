#include "fontfile/CharacterMap.h"

#include "fontfile/ByteOrder.h"

#include <QList>
#include <algorithm>

namespace tz {

namespace {

    constexpr std::size_t kEncodingRecords = 4; // version, numTables
    constexpr std::size_t kEncodingRecordSize = 8; // platformID, encodingID, offset
    constexpr std::size_t kFormat4Header = 14;
    constexpr std::size_t kFormat12Header = 16;
    constexpr std::size_t kFormat12GroupSize = 12;
    constexpr std::size_t kFormat14Header = 10;
    constexpr std::size_t kSelectorRecordSize = 11;
    constexpr std::size_t kDefaultRangeSize = 4;
    constexpr std::size_t kMappingSize = 5;
    constexpr quint32 kLastGlyphId = 0xFFFF;

    enum Platform : quint16 { kUnicode = 0, kWindows = 3 };

    // How much a subtable is wanted as the face's character map; 0: not at all.
    int RankOf(quint16 platform, quint16 encoding, quint16 format)
    {
        if (format == 12)
            return platform == kWindows && encoding == 10 ? 6 : platform == kUnicode && encoding >= 4 ? 5 : 0;
        if (format != 4)
            return 0;
        if (platform == kWindows)
            return encoding == 1 ? 4 : encoding == 0 ? 1 : 0; // 0: the symbol encoding
        return platform == kUnicode && encoding <= 3 ? 3 : 0;
    }

    // The index of the first of count ascending keys that is at least c
    // (count when none); keyOf(k) reads key k.
    template <class KeyOf>
    std::size_t LowerBound(std::size_t count, char32_t c, KeyOf keyOf)
    {
        std::size_t low = 0, high = count;
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            if (keyOf(middle) < c)
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    }

    // Whether count ranges (first, last), range i read by rangeOf(i), each run
    // forwards and lie apart in ascending order.
    template <class RangeOf>
    bool RunForwardsApart(std::size_t count, RangeOf rangeOf)
    {
        for (std::size_t i = 0; i < count; ++i) {
            const auto [first, last] = rangeOf(i);
            if (first > last || (i > 0 && first <= rangeOf(i - 1).second))
                return false;
        }
        return true;
    }

} // namespace

bool IsVariationSelector(char32_t c)
{
    return (c >= 0x180B && c <= 0x180F) || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

std::vector<CharacterNeed> CharactersOf(const QString& text)
{
    std::vector<CharacterNeed> needs;
    const QList<uint> codePoints = text.toUcs4();
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        const char32_t c = codePoints[i];
        if (QChar::isSpace(c))
            continue;
        CharacterNeed need { c };
        if (!IsVariationSelector(c) && i + 1 < codePoints.size() && IsVariationSelector(codePoints[i + 1]))
            need.selector = codePoints[++i];
        if (std::find(needs.begin(), needs.end(), need) == needs.end())
            needs.push_back(need);
    }
    return needs;
}

CharacterMap::CharacterMap(QByteArray table)
    : table_(std::move(table))
{
    ChooseSubtables();
}

BigEndianView CharacterMap::View() const { return BigEndianView(table_); }

void CharacterMap::ChooseSubtables()
{
    const BigEndianView view = View();
    const std::size_t size = view.Size();
    const std::size_t declared = view.U16(2);
    const std::size_t fitting = size < kEncodingRecords ? 0 : (size - kEncodingRecords) / kEncodingRecordSize;
    int bestRank = 0;
    std::size_t best = 0;
    for (std::size_t i = 0; i < std::min(declared, fitting); ++i) {
        const std::size_t record = kEncodingRecords + i * kEncodingRecordSize;
        const quint16 platform = view.U16(record);
        const quint16 encoding = view.U16(record + 2);
        const std::size_t offset = view.U32(record + 4);
        const quint16 format = view.U16(offset);
        if (format == 14 && platform == kUnicode && encoding == 5 && sequences_ == 0)
            AcceptFormat14(offset);
        const int rank = RankOf(platform, encoding, format);
        if (rank > bestRank) {
            bestRank = rank;
            best = offset;
        }
    }
    if (bestRank == 0)
        return;
    if (view.U16(best) == 12)
        AcceptFormat12(best);
    else
        AcceptFormat4(best);
}

// Format 4: segments of 16-bit characters, sorted and apart. The declared
// length is not trusted (large subtables overflow its 16 bits); the arrays
// only have to fit the table.
bool CharacterMap::AcceptFormat4(std::size_t offset)
{
    const BigEndianView view = View();
    // The header, then four arrays of segCountX2 bytes with a pad after the first.
    if (offset > view.Size() || view.Size() - offset < kFormat4Header + 2)
        return false;
    const std::size_t segCountX2 = view.U16(offset + 6);
    if (segCountX2 == 0 || segCountX2 % 2 != 0 || (view.Size() - offset - kFormat4Header - 2) / 4 < segCountX2)
        return false;
    const std::size_t count = segCountX2 / 2;
    const std::size_t ends = offset + kFormat4Header;
    const std::size_t starts = ends + segCountX2 + 2;
    if (!RunForwardsApart(count, [&](std::size_t i) { return std::pair(view.U16(starts + 2 * i), view.U16(ends + 2 * i)); }))
        return false;
    mainFormat_ = 4;
    main_ = offset;
    segments_ = count;
    return true;
}

// Format 12: groups of characters mapped to consecutive glyphs, sorted and apart.
bool CharacterMap::AcceptFormat12(std::size_t offset)
{
    const BigEndianView view = View();
    if (offset > view.Size() || view.Size() - offset < kFormat12Header)
        return false;
    const std::size_t count = view.U32(offset + 12);
    if ((view.Size() - offset - kFormat12Header) / kFormat12GroupSize < count)
        return false;
    const std::size_t groups = offset + kFormat12Header;
    const auto group = [&](std::size_t i) {
        return std::pair(view.U32(groups + i * kFormat12GroupSize), view.U32(groups + i * kFormat12GroupSize + 4));
    };
    if (!RunForwardsApart(count, group))
        return false;
    mainFormat_ = 12;
    main_ = offset;
    segments_ = count;
    return true;
}

// Format 14: selector records sorted by selector. The tables they point to
// are searched with bounds checks only: an unsorted table can hide an entry
// but never makes a lookup leave the table.
bool CharacterMap::AcceptFormat14(std::size_t offset)
{
    const BigEndianView view = View();
    if (offset == 0 || offset > view.Size() || view.Size() - offset < kFormat14Header)
        return false;
    const std::size_t count = view.U32(offset + 6);
    if ((view.Size() - offset - kFormat14Header) / kSelectorRecordSize < count)
        return false;
    for (std::size_t i = 1; i < count; ++i) {
        const std::size_t record = offset + kFormat14Header + i * kSelectorRecordSize;
        if (view.U24(record) <= view.U24(record - kSelectorRecordSize))
            return false;
    }
    sequences_ = offset;
    selectorCount_ = count;
    return true;
}

quint32 CharacterMap::Format4Glyph(char32_t c) const
{
    if (c > 0xFFFF)
        return 0;
    const BigEndianView view = View();
    const std::size_t ends = main_ + kFormat4Header;
    const std::size_t starts = ends + 2 * segments_ + 2;
    const std::size_t deltas = starts + 2 * segments_;
    const std::size_t rangeOffsets = deltas + 2 * segments_;
    const std::size_t i = LowerBound(segments_, c, [&](std::size_t k) { return char32_t(view.U16(ends + 2 * k)); });
    if (i == segments_ || view.U16(starts + 2 * i) > c)
        return 0;
    const quint16 delta = view.U16(deltas + 2 * i);
    const std::size_t rangeOffset = view.U16(rangeOffsets + 2 * i);
    if (rangeOffset == 0)
        return quint16(c + delta);
    // The glyph array entry: idRangeOffset counts bytes from its own field.
    const quint16 glyph = view.U16(rangeOffsets + 2 * i + rangeOffset + 2 * (c - view.U16(starts + 2 * i)));
    return glyph == 0 ? 0 : quint16(glyph + delta);
}

quint32 CharacterMap::Format12Glyph(char32_t c) const
{
    const BigEndianView view = View();
    const std::size_t groups = main_ + kFormat12Header;
    const std::size_t i
        = LowerBound(segments_, c, [&](std::size_t k) { return char32_t(view.U32(groups + k * kFormat12GroupSize + 4)); });
    if (i == segments_)
        return 0;
    const std::size_t group = groups + i * kFormat12GroupSize;
    const quint32 start = view.U32(group);
    if (start > c)
        return 0;
    const quint64 glyph = quint64(view.U32(group + 8)) + (c - start);
    return glyph > kLastGlyphId ? 0 : quint32(glyph);
}

bool CharacterMap::HasGlyph(char32_t c) const
{
    switch (mainFormat_) {
    case 4:
        return Format4Glyph(c) != 0;
    case 12:
        return Format12Glyph(c) != 0;
    default:
        return false;
    }
}

std::size_t CharacterMap::SelectorRecord(char32_t selector) const
{
    if (sequences_ == 0)
        return 0;
    const BigEndianView view = View();
    const std::size_t records = sequences_ + kFormat14Header;
    const std::size_t i = LowerBound(
        selectorCount_, selector, [&](std::size_t k) { return char32_t(view.U24(records + k * kSelectorRecordSize)); });
    const std::size_t record = records + i * kSelectorRecordSize;
    return i < selectorCount_ && view.U24(record) == selector ? record : 0;
}

bool CharacterMap::HasSequence(char32_t base, char32_t selector) const
{
    const std::size_t record = SelectorRecord(selector);
    if (record == 0)
        return false;
    const BigEndianView view = View();
    // An entry count that does not fit the table makes the list unusable.
    auto entries = [&](quint32 listOffset, std::size_t entrySize) -> std::size_t {
        const std::size_t list = sequences_ + listOffset;
        if (listOffset == 0 || list > view.Size() || view.Size() - list < 4)
            return 0;
        const std::size_t count = view.U32(list);
        return (view.Size() - list - 4) / entrySize < count ? 0 : count;
    };
    const quint32 mappingsOffset = view.U32(record + 7);
    if (const std::size_t count = entries(mappingsOffset, kMappingSize)) {
        const std::size_t first = sequences_ + mappingsOffset + 4;
        const std::size_t i = LowerBound(count, base, [&](std::size_t k) { return char32_t(view.U24(first + k * kMappingSize)); });
        if (i < count && view.U24(first + i * kMappingSize) == base)
            return view.U16(first + i * kMappingSize + 3) != 0;
    }
    const quint32 rangesOffset = view.U32(record + 3);
    if (const std::size_t count = entries(rangesOffset, kDefaultRangeSize)) {
        const std::size_t first = sequences_ + rangesOffset + 4;
        // The last range starting at or before base.
        const std::size_t after = LowerBound(
            count, base + 1, [&](std::size_t k) { return char32_t(view.U24(first + k * kDefaultRangeSize)); });
        if (after > 0) {
            const std::size_t range = first + (after - 1) * kDefaultRangeSize;
            if (base <= view.U24(range) + view.U8(range + 3))
                return HasGlyph(base);
        }
    }
    return false;
}

bool CharacterMap::Covers(const CharacterNeed& need) const
{
    return need.selector == 0 ? HasGlyph(need.base) : HasSequence(need.base, need.selector);
}

bool CharacterMap::CoversAll(const std::vector<CharacterNeed>& needs) const
{
    return Usable() && std::all_of(needs.begin(), needs.end(), [this](const CharacterNeed& n) { return Covers(n); });
}

} // namespace tz
