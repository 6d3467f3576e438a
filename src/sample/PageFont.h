#pragma once
// A font of a sample page at one canvas's pixel size, with the measurements
// the layout uses: the text height is the font's cell height (ascent plus
// descent, each rounded, the same for every text) and the text width its
// horizontal advance. Sample lines use the row's own face, which draws only
// that file's glyphs: a character the face lacks shows the face's own
// missing-glyph shape. Headings and the substitute font are system fonts by
// family and may fall back to other fonts.
#include <QFont>
#include <QRawFont>
#include <QString>

class QPainter;

namespace tz {

// Points of a canvas converted to pixels: sizes are given in points of the
// preview's resolution, as the layout scales them by the printer's
// resolution itself (a printer canvas gets size × PY ÷ VY points).
int PixelSizeOfPoints(int points, int previewResolution);

class PageFont {
public:
    PageFont() = default;
    // A system font by family; bitmap canvases without smoothing get no antialiasing.
    static PageFont System(const QString& family, int pixelSize, bool bold, bool italic, bool antialiased);
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
    QFont font_;
    QRawFont raw_; // valid for an own face
    int height_ = 0;
    int ascent_ = 0;
};

} // namespace tz
