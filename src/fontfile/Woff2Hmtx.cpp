#include "fontfile/Woff2Hmtx.h"

#include "fontfile/ByteOrder.h"

#include <vector>

namespace tz {

namespace {

    constexpr quint8 kNoProportionalBearings = 0x01;
    constexpr quint8 kNoMonospacedBearings = 0x02;

    // The xMin of every glyph's bounding box, 0 for a glyph without outline;
    // nothing when loca does not fit the glyph count or points outside glyf.
    std::optional<std::vector<qint16>> GlyphXMins(const HmtxSources& face, std::size_t glyphCount)
    {
        const BigEndianView head(face.head);
        const BigEndianView loca(face.loca);
        const BigEndianView glyf(face.glyf);
        const bool longOffsets = head.U16(50) != 0; // indexToLocFormat
        const std::size_t width = longOffsets ? 4 : 2;
        if (!head.Fits(50, 2) || !loca.Fits(0, (glyphCount + 1) * width))
            return std::nullopt;
        const auto offset = [&](std::size_t g) { return longOffsets ? loca.U32(4 * g) : 2 * quint32(loca.U16(2 * g)); };
        std::vector<qint16> xMins(glyphCount);
        for (std::size_t g = 0; g < glyphCount; ++g) {
            const quint32 start = offset(g);
            const quint32 end = offset(g + 1);
            if (end < start || !glyf.Fits(start, end - start))
                return std::nullopt;
            if (end > start) {
                if (end - start < 10) // numberOfContours and the box
                    return std::nullopt;
                xMins[g] = qint16(glyf.U16(start + 2));
            }
        }
        return xMins;
    }

    void AppendU16(QByteArray& out, quint16 value)
    {
        out.append(char(value >> 8));
        out.append(char(value));
    }

} // namespace

std::optional<QByteArray> ReconstructHmtx(const QByteArray& transformed, const HmtxSources& face, quint32 length)
{
    const BigEndianView data(transformed);
    const BigEndianView hhea(face.hhea);
    const BigEndianView maxp(face.maxp);
    const quint8 flags = data.U8(0);
    const std::size_t metrics = hhea.U16(34); // numberOfHMetrics
    const std::size_t glyphs = maxp.U16(4); // numGlyphs
    // At least one of the two bearing arrays is left out, no other flag set.
    if (!data.Fits(0, 1) || (flags & ~(kNoProportionalBearings | kNoMonospacedBearings)) || flags == 0
        || !hhea.Fits(34, 2) || !maxp.Fits(4, 2) || metrics == 0 || metrics > glyphs
        || length != 4 * metrics + 2 * (glyphs - metrics))
        return std::nullopt;
    const std::optional<std::vector<qint16>> xMins = GlyphXMins(face, glyphs);
    if (!xMins)
        return std::nullopt;
    // advanceWidth[metrics], then lsb[metrics] and leftSideBearing[the rest]
    // where they are stored.
    const std::size_t advances = 1;
    const std::size_t bearings = advances + 2 * metrics;
    const bool proportional = !(flags & kNoProportionalBearings);
    const std::size_t monospaced = bearings + (proportional ? 2 * metrics : 0);
    const bool monospacedStored = !(flags & kNoMonospacedBearings);
    if (!data.Fits(0, monospaced + (monospacedStored ? 2 * (glyphs - metrics) : 0)))
        return std::nullopt;
    QByteArray hmtx;
    hmtx.reserve(qsizetype(length));
    for (std::size_t g = 0; g < glyphs; ++g) {
        if (g < metrics) {
            AppendU16(hmtx, data.U16(advances + 2 * g));
            AppendU16(hmtx, proportional ? data.U16(bearings + 2 * g) : quint16((*xMins)[g]));
        } else {
            AppendU16(hmtx, monospacedStored ? data.U16(monospaced + 2 * (g - metrics)) : quint16((*xMins)[g]));
        }
    }
    return hmtx;
}

} // namespace tz
