#pragma once
// The characters a face has glyphs for, from its `cmap` table: the Unicode
// subtable (format 12, else format 4) and the variation-sequence subtable
// (format 14). The table comes from outside and may lie: every read is
// bounded by the table, a subtable whose segments or groups overlap, run
// backwards or do not fit the table is not used (the face then covers
// nothing), and building the map costs time in proportion to the table's
// size; a lookup is a binary search.
#include <QByteArray>
#include <QString>
#include <vector>

namespace tz {

class BigEndianView;

// One character a text asks for: a code point, or a base character followed
// by a variation selector.
struct CharacterNeed {
    char32_t base = 0;
    char32_t selector = 0; // 0: none
    bool operator==(const CharacterNeed&) const = default;
};

// U+180B-U+180F, U+FE00-U+FE0F and U+E0100-U+E01EF.
bool IsVariationSelector(char32_t c);

// The characters of text, each once, in the order they first appear; white
// space and line breaks are left out. A variation selector after a character
// forms a sequence with it; one without a base is a character of its own.
std::vector<CharacterNeed> CharactersOf(const QString& text);

class CharacterMap {
public:
    // An empty map: no glyph for anything.
    CharacterMap() = default;
    explicit CharacterMap(QByteArray table);

    // Whether a Unicode (or, failing that, a symbol) subtable could be used.
    bool Usable() const { return mainFormat_ != 0; }
    // Whether the face has a glyph (other than the missing glyph) for c.
    bool HasGlyph(char32_t c) const;
    // Whether the face has a glyph for base followed by selector: a mapping of
    // the sequence to a glyph of its own, or the sequence listed as drawn by
    // the base character's default glyph (which must exist).
    bool HasSequence(char32_t base, char32_t selector) const;
    bool Covers(const CharacterNeed& need) const;
    bool CoversAll(const std::vector<CharacterNeed>& needs) const;

private:
    BigEndianView View() const;
    void ChooseSubtables();
    bool AcceptFormat4(std::size_t offset);
    bool AcceptFormat12(std::size_t offset);
    bool AcceptFormat14(std::size_t offset);
    quint32 Format4Glyph(char32_t c) const;
    quint32 Format12Glyph(char32_t c) const;
    // The offset of the selector's record in the format 14 subtable, 0 when
    // there is none.
    std::size_t SelectorRecord(char32_t selector) const;

    QByteArray table_;
    int mainFormat_ = 0; // 4 or 12; 0 when none is usable
    std::size_t main_ = 0; // offset of the subtable in the table
    std::size_t segments_ = 0; // format 4: segment count; format 12: group count
    std::size_t sequences_ = 0; // offset of the format 14 subtable, 0 when none
    std::size_t selectorCount_ = 0;
};

} // namespace tz
