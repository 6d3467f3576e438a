#pragma once
// The geometry of a sample page: the printer's sheet, printable area and
// resolution, the same figures at the preview's resolution, the margins of odd
// and even pages for the binding and the text area that remains. Layout is
// computed at the printer's resolution; the preview is derived by scaling.
// Every fractional value is truncated toward zero.
#include "page/PrinterAccess.h"

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
    int resolutionX = 0;
    int resolutionY = 0;
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

// trunc(value × to ÷ from), exact in integers; 0 for a device without resolution.
int Scale(int value, int to, int from);

// The margin set of page n: set 0 on odd pages, set 1 on even ones.
int MarginSetOf(int pageNumber);

// A 300 dpi A4 sheet, used when no printer is installed.
PrinterMetrics GeometryFallback(int orientation);

// Fills P's resolution, paper, printable size, offsets and edges from the
// current printer, or from GeometryFallback for the applied orientation when
// there is none (or when the printer reports no usable figures).
void ReadPrinterMetrics(PageGeometry& geometry, const std::optional<PrinterMetrics>& printer, int appliedOrientation);

// Fills V's figures from P's, scaled to the preview's resolution (the screen's).
void DerivePreviewMetrics(PageGeometry& geometry, int resolutionX, int resolutionY);

// Fills both margin sets of both frames; margins in hundredths of a centimetre.
void ApplyMargins(PageGeometry& geometry, int binding, int left, int top, int right, int bottom);

// Turns both frames' printable sizes into text-area sizes.
void ShrinkToTextArea(PageGeometry& geometry);

} // namespace tz
