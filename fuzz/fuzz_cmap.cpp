// Fuzzes the character map reader: the input is a `cmap` table. Lookups of
// characters and sequences must stay inside the table whatever it claims.
#include "fontfile/CharacterMap.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const tz::CharacterMap map(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const char32_t probes[] = { 0, U'A', U'z', 0xFF, U'あ', U'葛', 0xFFFE, 0xFFFF, 0x10000, 0x20B9F, 0x10FFFF, 0xFFFFFFFF };
    for (char32_t c : probes) {
        map.HasGlyph(c);
        map.HasSequence(c, 0xE0100);
        map.HasSequence(c, 0xFE0F);
    }
    // A map that is not usable has no glyph for anything.
    if (!map.Usable() && map.HasGlyph(U'A'))
        std::abort();
    return 0;
}
