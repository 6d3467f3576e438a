#pragma once
// The hmtx table of a WOFF2 file stored with the hmtx transform: the advance
// widths kept, the left side bearings of proportional glyphs, of the
// monospaced glyphs after them, or of both left out because each equals the
// xMin of its glyph's bounding box. Rebuilt here from the glyf table.
#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace tz {

// The tables of the face the transformed hmtx belongs to, as an sfnt holds
// them (glyf and loca already rebuilt where they were transformed).
struct HmtxSources {
    QByteArray head;
    QByteArray hhea;
    QByteArray maxp;
    QByteArray glyf;
    QByteArray loca;
};

// The hmtx table from its transformed data; length is the length the
// directory gives hmtx. Nothing when the flags are not a valid transform,
// the data is short, a source table is missing or the result would not be
// `length` bytes long.
std::optional<QByteArray> ReconstructHmtx(const QByteArray& transformed, const HmtxSources& face, quint32 length);

} // namespace tz
