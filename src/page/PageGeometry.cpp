#include "page/PageGeometry.h"

#include "page/PrintingLog.h"

#include <QtMath>

Q_LOGGING_CATEGORY(lcPrinting, "typoscan.printing")

namespace tz {

namespace {

    bool Usable(const PrinterMetrics& m)
    {
        return m.resolutionX > 0 && m.resolutionY > 0 && m.paperWidth > 0 && m.paperHeight > 0 && m.printableWidth > 0
            && m.printableHeight > 0 && m.leftOffset >= 0 && m.topOffset >= 0;
    }

    void SetFrameMetrics(DeviceFrame& frame, const PrinterMetrics& m)
    {
        frame.resolutionX = m.resolutionX;
        frame.resolutionY = m.resolutionY;
        frame.paperWidth = m.paperWidth;
        frame.paperHeight = m.paperHeight;
        frame.textWidth = m.printableWidth;
        frame.textHeight = m.printableHeight;
        frame.leftOffset = m.leftOffset;
        frame.topOffset = m.topOffset;
        frame.rightEdge = m.paperWidth - m.leftOffset - m.printableWidth;
        frame.bottomEdge = m.paperHeight - m.topOffset - m.printableHeight;
    }

    // Sheet margin in pixels from hundredths of a centimetre (÷ 254 gives inches).
    int SheetPixels(int resolution, int hundredths)
    {
        return static_cast<int>(static_cast<qint64>(resolution) * hundredths / 254);
    }

    void ApplyFrameMargins(DeviceFrame& frame, int binding, int left, int top, int right, int bottom)
    {
        const int lp = SheetPixels(frame.resolutionX, left);
        const int tp = SheetPixels(frame.resolutionY, top);
        const int rp = SheetPixels(frame.resolutionX, right);
        const int bp = SheetPixels(frame.resolutionY, bottom);
        MarginSet odd { lp - frame.leftOffset, tp - frame.topOffset, rp - frame.rightEdge, bp - frame.bottomEdge };
        MarginSet even = odd;
        if (binding == kBindTop) {
            // Even pages are the back of the sheet: the gutter is at the bottom.
            even.top = bp - frame.topOffset;
            even.bottom = tp - frame.bottomEdge;
        } else if (binding == kBindLeft) {
            even.left = rp - frame.leftOffset;
            even.right = lp - frame.rightEdge;
        }
        for (MarginSet* set : { &odd, &even }) {
            set->left = qMax(set->left, 0);
            set->top = qMax(set->top, 0);
            set->right = qMax(set->right, 0);
            set->bottom = qMax(set->bottom, 0);
        }
        frame.margins = { odd, even };
    }

} // namespace

int Scale(int value, int to, int from)
{
    if (from == 0)
        return 0;
    return static_cast<int>(static_cast<qint64>(value) * to / from);
}

int MarginSetOf(int pageNumber) { return (pageNumber + 1) % 2; }

PrinterMetrics GeometryFallback(int orientation)
{
    if (orientation == kLandscape)
        return { 300, 300, 3507, 2481, 3372, 2338, 75, 65 };
    return { 300, 300, 2481, 3507, 2338, 3372, 78, 75 };
}

void ReadPrinterMetrics(PageGeometry& geometry, const std::optional<PrinterMetrics>& printer, int appliedOrientation)
{
    if (printer && Usable(*printer)) {
        SetFrameMetrics(geometry.P, *printer);
        return;
    }
    if (printer)
        qCWarning(lcPrinting) << "the current printer reports no usable page size; using the A4 fallback";
    SetFrameMetrics(geometry.P, GeometryFallback(appliedOrientation));
}

void DerivePreviewMetrics(PageGeometry& geometry, int resolutionX, int resolutionY)
{
    const DeviceFrame& p = geometry.P;
    DeviceFrame& v = geometry.V;
    v.resolutionX = resolutionX;
    v.resolutionY = resolutionY;
    v.paperWidth = Scale(p.paperWidth, v.resolutionX, p.resolutionX);
    v.paperHeight = Scale(p.paperHeight, v.resolutionY, p.resolutionY);
    v.textWidth = Scale(p.textWidth, v.resolutionX, p.resolutionX);
    v.textHeight = Scale(p.textHeight, v.resolutionY, p.resolutionY);
    v.topOffset = Scale(p.topOffset, v.resolutionY, p.resolutionY);
    v.leftOffset = Scale(p.leftOffset, v.resolutionX, p.resolutionX);
    v.bottomEdge = v.paperHeight - v.topOffset - v.textHeight;
    v.rightEdge = v.paperWidth - v.leftOffset - v.textWidth;
}

void ApplyMargins(PageGeometry& geometry, int binding, int left, int top, int right, int bottom)
{
    ApplyFrameMargins(geometry.P, binding, left, top, right, bottom);
    ApplyFrameMargins(geometry.V, binding, left, top, right, bottom);
}

void ShrinkToTextArea(PageGeometry& geometry)
{
    for (DeviceFrame* frame : { &geometry.P, &geometry.V }) {
        const MarginSet& odd = frame->margins[0];
        frame->textWidth -= odd.left + odd.right;
        frame->textHeight -= odd.top + odd.bottom;
    }
}

} // namespace tz
