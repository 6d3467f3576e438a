#pragma once
// The glyf and loca tables of a WOFF2 file stored with the glyf transform:
// the glyphs split into streams of contour counts, point counts, point flags,
// coordinates (as triplets), composite descriptions, bounding boxes and
// instructions, and loca left out. Rebuilt here as the tables an sfnt holds.
#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace tz {

struct GlyfAndLoca {
    QByteArray glyf;
    QByteArray loca;
};

// The tables from the transformed glyf data; locaLength is the length the
// directory gives loca, which must match the glyph count and index format.
// Nothing when a stream is short or inconsistent.
std::optional<GlyfAndLoca> ReconstructGlyf(const QByteArray& transformed, quint32 locaLength);

// A 255UInt16: one byte below 253, else a code byte and one or two more.
template <typename NextByte>
quint16 Read255UInt16(NextByte next)
{
    const quint8 code = next();
    if (code == 253) {
        const quint16 high = next();
        return quint16((high << 8) | next());
    }
    if (code == 255)
        return quint16(253 + next());
    if (code == 254)
        return quint16(506 + next());
    return code;
}

} // namespace tz
