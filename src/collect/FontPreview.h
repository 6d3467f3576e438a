#pragma once
// What the add dialog's preview panel draws for a font file: the family name
// of its first face and a sample in that very face at 48 points, so another
// font of the same family name never stands in for it and no glyph comes
// from another font.
#include "fontfile/FontFormats.h"
#include "fontfile/InstalledFontFiles.h"

#include <QString>

class QImage;

namespace tz {

class SampleTextSet;

class FontPreview {
public:
    static constexpr int kSamplePoints = 48;
    // Space between the Japanese line and the Ascii line below it.
    static constexpr int kLineGap = 2;

    // Reads the installed-font list, once for the preview's life.
    FontPreview();

    // Fills canvas white and draws the sample of the file at path at the
    // canvas's resolution, cut at its edges. Returns the family name of the
    // file's first face; empty (and nothing drawn) for a missing file, an
    // archive, a Macintosh file or any other file that holds no sfnt face.
    // A font that is not installed is made available for the enumeration of
    // its family and withdrawn before returning.
    // The formats decide which files hold faces.
    QString Draw(QImage& canvas, const QString& path, const SampleTextSet& texts,
        FontFormats formats = FontFormats::Designed) const;

private:
    InstalledFontFiles installed_;
};

} // namespace tz
