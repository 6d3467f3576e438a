#pragma once
// The drawing of a sample page, apart from its layout. The generating thread
// lays out every face block at the printer's resolution and hands a page's
// blocks on; the page is then drawn, on any thread, onto the printer page
// bitmap and the preview page bitmap with the same text and line operations.
// A thread draws with fonts of its own: each block's face is loaded from its
// bytes where it is drawn, so no font object is shared between threads.
#include "fontfile/OwnFace.h"
#include "page/PageGeometry.h"
#include "sample/PageFont.h"
#include "settings/EnvironmentSettings.h"

#include <QImage>
#include <QList>
#include <array>
#include <map>
#include <memory>

class QPainter;

namespace tz {

// A system family the pages use, with the fonts that draw it on bitmaps.
struct SystemFamily {
    QString name;
    std::shared_ptr<const FontChain> chain;
};

// What every page of a run is drawn with, fixed when the run starts.
struct PageStyle {
    PageGeometry geometry;
    int headingX = 0; // x of the left heading text on the printer canvas
    int sampleX = 0; // x of the sample lines: a quarter inch
    std::array<bool, EnvironmentSettings::kLineCount> lineShown {};
    std::array<int, EnvironmentSettings::kLineCount> lineSize {}; // points
    std::array<QString, 3> texts; // the effective sample text of each class
    SystemFamily heading;
    int headingSize = 0;
    SystemFamily substitute;
    bool smooth = false; // a 24-bit, antialiased preview canvas
};

// One face block placed on its page, in printer pixels.
struct PlacedBlock {
    // The face's own font data (a single-face file is mapped, so only what
    // the font engine reads is loaded); none after a substitution.
    std::shared_ptr<const OwnFaceData> face;
    bool substituted = false; // drawn in the substitute font
    bool twoLine = false; // the Ascii and the Japanese text at every size
    int sampleClass = 0;
    HeadingTexts heading;
    int y = 0; // top of the heading
    int rightX = 0; // left edge of the right heading text
    int sampleY = 0; // top of the first sample line
    int ruleY = 0;
};

struct PageBlocks {
    int pageNumber = 0;
    QList<PlacedBlock> blocks;
};

// The fonts of one thread for a run's blocks: measures at the printer's
// resolution and draws a block on either canvas. On a document the system
// families are the font database's, which a document can embed; on bitmaps
// they are drawn from their chains, the same on every thread.
class BlockPainter {
public:
    enum class Canvas { Bitmap, Document };
    BlockPainter(const PageStyle& style, Canvas canvas);

    const PageFont& PrinterHeading() const { return printerHeading_; }
    // The sample lines' height on the printer canvas; 0 when the face can't
    // be measured.
    int SampleHeight(const QRawFont& face, const PlacedBlock& block) const;
    void DrawPrinter(QPainter& painter, const QRawFont& face, const PlacedBlock& block) const;
    void DrawPreview(QPainter& painter, const QRawFont& face, const PlacedBlock& block) const;

private:
    // The sample font at a canvas's point size: the block's own face, or the
    // substitute font after a substitution.
    PageFont SampleFont(const QRawFont& face, const PlacedBlock& block, int points) const;
    PageFont SystemFont(const SystemFamily& family, int pixelSize) const;
    void DrawSampleLines(
        QPainter& painter, const QRawFont& face, const PlacedBlock& block, QPoint at, int resolutionY) const;

    const PageStyle& style_;
    Canvas canvas_;
    mutable std::map<int, PageFont> substitutes_; // by pixel size
    PageFont printerHeading_;
    PageFont previewHeading_;
};

// A sample size on a canvas, in the preview's points: trunc(size × the
// canvas's vertical resolution ÷ the preview's).
int CanvasPoints(int size, int resolutionY, int previewResolutionY);

// The face of a block's font data; invalid for none.
QRawFont RawFontOf(const std::shared_ptr<const OwnFaceData>& data);

// Sets a painter up for a page bitmap: black one-pixel pen, antialiasing
// only on a smoothed canvas.
void SetUpPainter(QPainter& painter, bool smooth);

// The two bitmaps of a drawn page, white where nothing was drawn.
struct DrawnPage {
    QImage printer; // 1-bit, P's text area
    QImage preview; // V's text area: 1-bit, or 24-bit when smoothing
};
// Draws the page's blocks onto both bitmaps with the calling thread's fonts.
DrawnPage DrawPage(const PageStyle& style, const PageBlocks& page, const BlockPainter& fonts);

// The viewer's image of page n: V's whole sheet with the preview bitmap at
// the page's margin set; 1-bit, or 8-bit grey after smoothing.
QImage PageImage(const PageStyle& style, int pageNumber, const QImage& preview);

// The grey bitmap of a 24-bit page image.
QImage GreyConvert(const QImage& page);

} // namespace tz
