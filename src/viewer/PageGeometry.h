#pragma once
// The geometry of a sample page: the printer's sheet, printable area and
// resolution, the same figures at the preview's resolution, the margins of odd
// and even pages for the binding and the text area that remains. Layout is
// computed at the printer's resolution; the preview is derived by scaling.
// Every fractional value is truncated toward zero.
#include "viewer/PrinterAccess.h"

#include <QImage>
#include <array>
#include <optional>

namespace tz {

// Distances from the edges of the printable area to the text area, never negative.
struct MarginSet {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const MarginSet&, const MarginSet&) = default;
};

// One device's page, in that device's pixels.
struct DeviceFrame {
    int sampleX = 0; // x of the sample lines in the text area
    int blockGap = 0; // space added after each row
    int headingX = 0; // x of the left heading text
    int y = 0; // layout cursor: top of the next block in the text area
    int resolutionX = 0;
    int resolutionY = 0;
    QImage pageBitmap;
    int paperWidth = 0;
    int paperHeight = 0;
    int textWidth = 0; // printable width, after ShrinkToTextArea the text area's width
    int textHeight = 0;
    int leftOffset = 0;
    int topOffset = 0;
    int rightEdge = 0; // paper width - left offset - printable width
    int bottomEdge = 0;
    std::array<MarginSet, 2> margins; // [0] odd pages, [1] even pages
};

struct PageGeometry {
    bool previewMode = false;
    DeviceFrame P; // the printer
    DeviceFrame V; // the preview, at the screen's resolution
};

// Binding side of a page setting.
inline constexpr int kBindNone = 0;
inline constexpr int kBindTop = 1;
inline constexpr int kBindLeft = 2;

// A 300 dpi A4 sheet, used when no printer is installed.
PrinterMetrics GeometryFallback(int orientation);

// Fills P's resolution, paper, printable size, offsets and edges from the
// current printer, or from GeometryFallback for the applied orientation when
// there is none (or when the printer reports no usable figures).
void ReadPrinterMetrics(PageGeometry& geometry, const std::optional<PrinterMetrics>& printer, int appliedOrientation);

// Fills V's figures from P's, scaled to the resolution of V's page bitmap.
void DerivePreviewMetrics(PageGeometry& geometry);

// Fills both margin sets of both frames; margins in hundredths of a centimetre.
void ApplyMargins(PageGeometry& geometry, int binding, int left, int top, int right, int bottom);

// Turns both frames' printable sizes into text-area sizes.
void ShrinkToTextArea(PageGeometry& geometry);

// Pixels per inch of an image (its dots per metre, rounded).
int ImageDpiX(const QImage& image);
int ImageDpiY(const QImage& image);

} // namespace tz
