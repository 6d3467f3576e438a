#pragma once
// A font of a sample page at one canvas's pixel size, with the measurements
// the layout uses: the text height is the font's cell height (ascent plus
// descent, each rounded, the same for every text) and the text width its
// horizontal advance. Sample lines use the row's own face, which draws only
// that file's glyphs: a character the face lacks shows the face's own
// missing-glyph shape. Headings and the substitute font are system families:
// on page bitmaps each character is drawn by the first font of the family's
// chain that has it; on documents the font database draws them by family.
#include "fontfile/FontChain.h"

#include <QFont>
#include <QRawFont>
#include <QString>
#include <memory>

class QPainter;

namespace tz {

// Points of a canvas converted to pixels: sizes are given in points of the
// preview's resolution, as the layout scales them by the printer's
// resolution itself (a printer canvas gets size × PY ÷ VY points).
int PixelSizeOfPoints(int points, int previewResolution);

class PageFont {
public:
    PageFont() = default;
    // A system font by family for a document; it may fall back to other fonts.
    static PageFont System(const QString& family, int pixelSize);
    // A system family for a page bitmap, drawn from its chain's fonts, which
    // are loaded on the calling thread as characters need them.
    static PageFont Chained(const std::shared_ptr<const FontChain>& chain, int pixelSize);
    // The face in `face` (loaded once per row) at pixelSize.
    static PageFont Own(const QRawFont& face, int pixelSize);

    bool IsValid() const;
    int Height() const { return height_; }
    int Ascent() const { return ascent_; }
    int Width(const QString& text) const;
    // Draws text with its cell's top-left corner at (x, y); with an opaque
    // background the cell is first filled white.
    void Draw(QPainter& painter, int x, int y, const QString& text, bool opaque = false) const;

private:
    struct Run;
    class ChainFaces;
    void SetMetrics(const QRawFont& face);
    // The text laid out in the own face or the chain's fonts.
    QList<Run> Runs(const QString& text) const;

    QFont font_;
    QRawFont raw_; // valid for an own face
    std::shared_ptr<ChainFaces> chained_;
    int height_ = 0;
    int ascent_ = 0;
};

// A face loaded from its font data, slightly hinted; invalid for none.
// Loading asks fontconfig for the face's rendering settings, which Qt does
// without a lock of its own, so it waits while a FontSetChange lasts.
QRawFont RawFontOf(const QByteArray& data);

// Making a font available or withdrawing it changes fontconfig's set of
// application fonts under way. While an object of this class lives no face
// is loaded from bytes on any thread; it ends by letting Qt read the font
// set again, so no other thread does that later.
class FontSetChange {
public:
    FontSetChange();
    ~FontSetChange();
    FontSetChange(const FontSetChange&) = delete;
    FontSetChange& operator=(const FontSetChange&) = delete;
};

} // namespace tz
